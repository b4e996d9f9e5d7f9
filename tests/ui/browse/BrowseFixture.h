#pragma once

// Collection files for the tests of the header views: a system-wide
// collection with small drawn theme images and three collections whose tab
// pages, texts and completion words differ. The first file holds the
// system-wide collection and "Interior", the second the other two, so a
// test can take the second away to see a single collection.

#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <tuple>

#include <memory>

namespace BrowseFixture {

inline const QUuid kInterior(QStringLiteral("{3a000000-0000-0000-0000-00000000003a}"));
inline const QUuid kExterior(QStringLiteral("{3b000000-0000-0000-0000-00000000003b}"));
inline const QUuid kOil(QStringLiteral("{3c000000-0000-0000-0000-00000000003c}"));
inline const QString kInteriorName = QStringLiteral("Interior Colours");
inline const QString kExteriorName = QStringLiteral("Façades & Exteriors");
inline const QString kOilName = QStringLiteral("Ölfarben Süd");

inline QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// As wide as the header, so that the selector (which draws it unscaled)
// and the tab bar (which tiles it) are covered.
inline QImage barBackground()
{
    QImage image = blankImage(800, 30);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 30);
    gradient.setColorAt(0, QColor(246, 246, 246));
    gradient.setColorAt(1, QColor(218, 218, 218));
    painter.fillRect(image.rect(), gradient);
    return image;
}

// A triangle pointing left, right, up or down in `color`.
inline QImage arrow(int width, int height, Qt::ArrowType type, const QColor &color)
{
    QImage image = blankImage(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QRectF r = QRectF(image.rect()).adjusted(width / 4.0, height / 4.0, -width / 4.0, -height / 4.0);
    const QPointF c = r.center();
    QPolygonF triangle;
    if (type == Qt::LeftArrow)
        triangle << r.topRight() << QPointF(r.left(), c.y()) << r.bottomRight();
    else if (type == Qt::RightArrow)
        triangle << r.topLeft() << QPointF(r.right(), c.y()) << r.bottomLeft();
    else if (type == Qt::UpArrow)
        triangle << r.bottomLeft() << QPointF(c.x(), r.top()) << r.bottomRight();
    else
        triangle << r.topLeft() << QPointF(c.x(), r.bottom()) << r.topRight();
    painter.drawPolygon(triangle);
    return image;
}

inline QImage capsureImage()
{
    QImage image = blankImage(16, 16);
    image.fill(QColor(60, 160, 230));
    return image;
}

// The header's background as the main widget would hand it out: a dark
// slate band, so that the white search text shows.
inline QImage headerBackground(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(92, 104, 116));
    gradient.setColorAt(1, QColor(64, 72, 82));
    painter.fillRect(image.rect(), gradient);
    return image;
}

inline const QColor kSelectorTextColor(40, 52, 64);

inline void addTabTexts(FixtureDatabase &file, qint64 collection)
{
    const QList<QPair<const char *, const char *>> texts = { { "color.schemes", "Colour schemes" },
        { "products", "Products" }, { "color.foresight", "Colour foresight" }, { "textures", "Textures" } };
    for (const auto &[page, text] : texts)
        file.addLocale(collection, QStringLiteral("tab.bar.%1.caption").arg(QLatin1String(page)), QLatin1String(text));
}

inline void addList(FixtureDatabase &file, qint64 collection, const QString &key, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        file.addSetting(collection, key, values.at(i), i);
}

// One card with chips of code, name and colour.
inline void addCard(FixtureDatabase &file, qint64 collection, const QList<std::tuple<QString, QString, QColor>> &chips)
{
    FixtureDatabase::Page page;
    page.pageIndex = 1;
    page.segment = 1;
    const qint64 pageId = file.addPage(collection, page);
    for (int i = 0; i < chips.size(); ++i) {
        FixtureDatabase::Row row;
        row.rowIndex = i + 1;
        row.code = std::get<0>(chips.at(i));
        row.names = QStringList { std::get<1>(chips.at(i)) };
        row.color = std::get<2>(chips.at(i));
        file.addRow(collection, pageId, row);
    }
}

inline QString firstFilePath()
{
    return TestEnvironment::collectionFolder() + QStringLiteral("/browse-1.db");
}

inline QString secondFilePath()
{
    return TestEnvironment::collectionFolder() + QStringLiteral("/browse-2.db");
}

// Writes both files and registers their collections.
inline bool create()
{
    {
        FixtureDatabase file(firstFilePath());
        if (!file.isOpen())
            return false;
        // Every file is made with the system-wide collection as ID 0; the
        // first file's (this one's) is the one registered.
        const qint64 system = 0;
        const QColor light(230, 230, 230);
        const QColor pressed(255, 200, 60);
        const QList<QPair<const char *, QImage>> images = { { "widget.bar.background", barBackground() },
            { "widget.search.magnifying.glass", arrow(16, 16, Qt::UpArrow, Qt::white) },
            { "widget.roll.backward.normal", arrow(18, 22, Qt::LeftArrow, light) },
            { "widget.roll.backward.down", arrow(18, 22, Qt::LeftArrow, pressed) },
            { "widget.roll.forward.normal", arrow(18, 22, Qt::RightArrow, light) },
            { "widget.roll.forward.down", arrow(18, 22, Qt::RightArrow, pressed) },
            { "widget.dropdown.arrow.down", arrow(12, 10, Qt::DownArrow, QColor(70, 70, 70)) },
            { "widget.dropdown.arrow.up", arrow(12, 10, Qt::UpArrow, QColor(200, 40, 40)) },
            { "capsure.button.normal", capsureImage() } };
        for (const auto &[key, image] : images)
            file.addTheme(system, QStringLiteral("image.") + QLatin1String(key), FixtureDatabase::png(image));
        file.addTheme(system, QStringLiteral("list.of.preferred.font.faces"), "DejaVu Sans,9;Nimbus Sans,9");
        file.addTheme(system, QStringLiteral("color.widget.collectionselector.text"), "40,52,64");
        file.addSetting(system, QStringLiteral("has.textures.page"), 1);

        // Every page, in an order of its own.
        const qint64 interior = file.addCollection(kInterior, QStringLiteral("INT"), 1, true, kInteriorName);
        addTabTexts(file, interior);
        file.addLocale(interior, QStringLiteral("color.palette.enter.search.text"), QStringLiteral("Code or name"));
        file.addSetting(interior, QStringLiteral("has.product.groups.page"), 1);
        file.addSetting(interior, QStringLiteral("has.color.foresight.page"), 1);
        file.addSetting(interior, QStringLiteral("has.textures.page"), 1);
        addList(file, interior, QStringLiteral("tab.bar.page"),
            { QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfColorForesight"),
                QStringLiteral("PageOfProducts"), QStringLiteral("PageOfTextures") });
        addList(file, interior, QStringLiteral("row.name.search.order"), { 0 });
        addCard(file, interior,
            { { QStringLiteral("S 1002-Y"), QStringLiteral("Abendrot"), QColor(230, 120, 90) },
                { QStringLiteral("S 2010-R"), QStringLiteral("Alpenglühen"), QColor(240, 160, 150) },
                { QStringLiteral("N 0500"), QStringLiteral("Kalkweiß"), QColor(245, 243, 236) } });
    }
    {
        FixtureDatabase file(secondFilePath());
        if (!file.isOpen())
            return false;
        // Schemes and products only, no page order: the default order.
        const qint64 exterior = file.addCollection(kExterior, QStringLiteral("EXT"), 2, true, kExteriorName);
        addTabTexts(file, exterior);
        file.addLocale(exterior, QStringLiteral("color.palette.enter.search.text"), QStringLiteral("Find a colour"));
        file.addSetting(exterior, QStringLiteral("has.product.groups.page"), 1);
        addCard(file, exterior, { { QStringLiteral("EX-100"), QStringLiteral("Basalt"), QColor(70, 72, 75) } });

        // Textures named in the order but not offered; no chips, no texts.
        const qint64 oil = file.addCollection(kOil, QStringLiteral("OIL"), 3, true, kOilName);
        file.addSetting(oil, QStringLiteral("has.color.foresight.page"), 1);
        addList(file, oil, QStringLiteral("tab.bar.page"),
            { QStringLiteral("PageOfTextures"), QStringLiteral("PageOfColorForesight") });
        addTabTexts(file, oil);
    }
    return Tintor::DB::discoverCollections() == 1;
}

// Takes the second file out of (or back into) the registry.
inline bool setSecondFileEnabled(bool enabled)
{
    const QString parked = secondFilePath() + QStringLiteral(".parked");
    const bool moved = enabled ? QFile::rename(parked, secondFilePath()) : QFile::rename(secondFilePath(), parked);
    Tintor::DB::scanCollectionFiles(Tintor::DB::collectionRegistry(), true);
    return moved;
}

} // namespace BrowseFixture
