#pragma once

// Table helpers, a card builder and two collection files for the header views (the second can be parked).

#include "db/CollectionRegistry.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QPainter>
#include <QtTest>

#include <functional>

namespace BrowseFixture {

// Table-driven tests: one row per case (a tuple), named by its first field.
template <typename Case> void addRows(const QList<Case> &cases)
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(std::get<0>(cases.at(i))) << i;
}

template <typename Case> const Case &fetchRow(const QList<Case> &cases)
{
    QFETCH(int, row);
    return cases.at(row);
}

// A card with one chip per colour, coded `prefix` + row, named "name " + code; `adjust` may change a chip.
inline qint64 addCard(FixtureDatabase &file, qint64 collection, const FixtureDatabase::Page &page,
    const QList<QColor> &colors, const QString &prefix, QHash<QString, qint64> *ids = nullptr,
    const std::function<void(FixtureDatabase::Row &)> &adjust = {})
{
    const qint64 pageId = file.addPage(collection, page);
    for (int i = 0; i < colors.size(); ++i) {
        const QString code = prefix + QString::number(i + 1);
        FixtureDatabase::Row row(i + 1, code, colors.at(i), { QStringLiteral("name ") + code });
        if (adjust)
            adjust(row);
        const qint64 id = file.addRow(collection, pageId, row);
        if (ids)
            ids->insert(row.code, id);
    }
    return pageId;
}

inline const QUuid kInterior(QStringLiteral("{3a000000-0000-0000-0000-00000000003a}"));
inline const QUuid kExterior(QStringLiteral("{3b000000-0000-0000-0000-00000000003b}"));
inline const QUuid kOil(QStringLiteral("{3c000000-0000-0000-0000-00000000003c}"));
inline const QString kInteriorName = QStringLiteral("Interior Colours");
inline const QString kExteriorName = QStringLiteral("Façades & Exteriors");
inline const QString kOilName = QStringLiteral("Ölfarben Süd");
inline const QColor kSelectorTextColor(40, 52, 64);

inline QImage gradient(const QSize &size, const QColor &top, const QColor &bottom)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(image.rect(), gradient);
    return image;
}

// As wide as the header: the selector draws it unscaled, the tab bar tiles it.
inline QImage barBackground()
{
    return gradient(QSize(800, 30), QColor(246, 246, 246), QColor(218, 218, 218));
}

// Dark, as the main widget hands it out, so that the white search text shows.
inline QImage headerBackground(const QSize &size)
{
    return gradient(size, QColor(92, 104, 116), QColor(64, 72, 82));
}

// A plain image: the views' tests look at the middle of each.
inline QImage filled(int width, int height, const QColor &color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// A collection with the tab captions, a search text, the pages it offers and their order, and a card of chips.
inline qint64 addCollection(FixtureDatabase &file, const QUuid &uuid, int order, const QString &name,
    const QString &searchText, const QStringList &pages, const QStringList &tabOrder,
    const QList<FixtureDatabase::Row> &chips)
{
    const qint64 id = file.addCollection(uuid, QStringLiteral("C%1").arg(order), order, true, name);
    const QList<QPair<const char *, const char *>> texts = { { "color.schemes", "Colour schemes" },
        { "products", "Products" }, { "color.foresight", "Colour foresight" }, { "textures", "Textures" } };
    for (const auto &[page, text] : texts)
        file.addLocale(id, QStringLiteral("tab.bar.%1.caption").arg(QLatin1String(page)), QLatin1String(text));
    if (!searchText.isEmpty())
        file.addLocale(id, QStringLiteral("color.palette.enter.search.text"), searchText);
    for (const QString &page : pages)
        file.addSetting(id, QStringLiteral("has.%1.page").arg(page), 1);
    for (int i = 0; i < tabOrder.size(); ++i)
        file.addSetting(id, QStringLiteral("tab.bar.page"), QStringLiteral("PageOf") + tabOrder.at(i), i);
    const qint64 pageId = chips.isEmpty() ? 0 : file.addPage(id, FixtureDatabase::Page(1, 1));
    for (const FixtureDatabase::Row &chip : chips)
        file.addRow(id, pageId, chip);
    return id;
}

inline QString secondFilePath()
{
    return TestEnvironment::collectionFolder() + QStringLiteral("/browse-2.db");
}

inline bool create()
{
    {
        FixtureDatabase file(TestEnvironment::collectionFolder() + QStringLiteral("/browse-1.db"));
        // The system-wide collection is ID 0 in every file; the first file's counts.
        const QColor light(230, 230, 230);
        const QColor pressed(255, 200, 60);
        const QList<QPair<const char *, QImage>> images = { { "widget.bar.background", barBackground() },
            { "widget.search.magnifying.glass", filled(16, 16, Qt::white) },
            { "widget.roll.backward.normal", filled(18, 22, light) },
            { "widget.roll.backward.down", filled(18, 22, pressed) },
            { "widget.roll.forward.normal", filled(18, 22, light) },
            { "widget.roll.forward.down", filled(18, 22, pressed) },
            { "widget.dropdown.arrow.down", filled(12, 10, QColor(70, 70, 70)) },
            { "widget.dropdown.arrow.up", filled(12, 10, QColor(200, 40, 40)) },
            { "capsure.button.normal", filled(16, 16, QColor(60, 160, 230)) } };
        for (const auto &[key, image] : images)
            file.addTheme(0, QStringLiteral("image.") + QLatin1String(key), FixtureDatabase::png(image));
        file.addTheme(0, QStringLiteral("list.of.preferred.font.faces"), "DejaVu Sans,9;Nimbus Sans,9");
        file.addTheme(0, QStringLiteral("color.widget.collectionselector.text"), "40,52,64");
        file.addSetting(0, QStringLiteral("has.textures.page"), 1);

        // Every page, in an order of its own.
        const qint64 interior = addCollection(file, kInterior, 1, kInteriorName, QStringLiteral("Code or name"),
            { "product.groups", "color.foresight", "textures" },
            { "ColorSchemes", "ColorForesight", "Products", "Textures" },
            { { 1, QStringLiteral("S 1002-Y"), QColor(230, 120, 90), { QStringLiteral("Abendrot") } },
                { 2, QStringLiteral("S 2010-R"), QColor(240, 160, 150), { QStringLiteral("Alpenglühen") } },
                { 3, QStringLiteral("N 0500"), QColor(245, 243, 236), { QStringLiteral("Kalkweiß") } } });
        file.addSetting(interior, QStringLiteral("row.name.search.order"), 0);
        if (!file.isOpen())
            return false;
    }
    FixtureDatabase file(secondFilePath());
    // Schemes and products only, no page order: the default order.
    addCollection(file, kExterior, 2, kExteriorName, QStringLiteral("Find a colour"), { "product.groups" }, {},
        { { 1, QStringLiteral("EX-100"), QColor(70, 72, 75), { QStringLiteral("Basalt") } } });
    // Textures named in the order but not offered, a page name nobody knows; no chips, no search text.
    addCollection(
        file, kOil, 3, kOilName, QString(), { "color.foresight" }, { "Textures", "Nonsense", "ColorForesight" }, {});
    return file.isOpen() && Tintor::DB::discoverCollections() == 1;
}

inline bool setSecondFileEnabled(bool enabled)
{
    const QString parked = secondFilePath() + QStringLiteral(".parked");
    const bool moved = enabled ? QFile::rename(parked, secondFilePath()) : QFile::rename(secondFilePath(), parked);
    Tintor::DB::scanCollectionFiles(Tintor::DB::collectionRegistry(), true);
    return moved;
}

} // namespace BrowseFixture
