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
#include <QPainterPath>

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

inline QImage magnifyingGlass()
{
    QImage image = blankImage(16, 16);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(235, 235, 235), 2));
    painter.drawEllipse(QRectF(2, 2, 8, 8));
    painter.setPen(QPen(QColor(235, 235, 235), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(14, 14));
    return image;
}

// A triangle pointing left or right (or up or down) in `color`.
inline QImage arrow(int width, int height, Qt::ArrowType type, const QColor &color)
{
    QImage image = blankImage(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QRectF r = QRectF(image.rect()).adjusted(width / 4.0, height / 4.0, -width / 4.0, -height / 4.0);
    QPainterPath path;
    switch (type) {
    case Qt::LeftArrow:
        path.moveTo(r.right(), r.top());
        path.lineTo(r.left(), r.center().y());
        path.lineTo(r.right(), r.bottom());
        break;
    case Qt::RightArrow:
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right(), r.center().y());
        path.lineTo(r.left(), r.bottom());
        break;
    case Qt::UpArrow:
        path.moveTo(r.left(), r.bottom());
        path.lineTo(r.center().x(), r.top());
        path.lineTo(r.right(), r.bottom());
        break;
    default:
        path.moveTo(r.left(), r.top());
        path.lineTo(r.center().x(), r.bottom());
        path.lineTo(r.right(), r.top());
        break;
    }
    path.closeSubpath();
    painter.drawPath(path);
    return image;
}

inline QImage capsureImage()
{
    QImage image = blankImage(16, 16);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 90, 160), 1.5));
    painter.setBrush(QColor(60, 160, 230));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(5.5, 5.5, 5, 5));
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
    file.addLocale(collection, QStringLiteral("tab.bar.color.schemes.caption"), QStringLiteral("Colour schemes"));
    file.addLocale(collection, QStringLiteral("tab.bar.products.caption"), QStringLiteral("Products"));
    file.addLocale(collection, QStringLiteral("tab.bar.color.foresight.caption"), QStringLiteral("Colour foresight"));
    file.addLocale(collection, QStringLiteral("tab.bar.textures.caption"), QStringLiteral("Textures"));
}

inline void addList(FixtureDatabase &file, qint64 collection, const QString &key, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        file.addSetting(collection, key, values.at(i), i);
}

inline void addChip(FixtureDatabase &file, qint64 collection, qint64 pageId, int rowIndex, const QString &code,
                    const QString &name, const QColor &color)
{
    FixtureDatabase::Row row;
    row.rowIndex = rowIndex;
    row.code = code;
    row.names = QStringList{name};
    row.color = color;
    file.addRow(collection, pageId, row);
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
        file.addTheme(system, QStringLiteral("list.of.preferred.font.faces"), "DejaVu Sans,9;Nimbus Sans,9");
        file.addTheme(system, QStringLiteral("image.widget.bar.background"), FixtureDatabase::png(barBackground()));
        file.addTheme(system, QStringLiteral("image.widget.search.magnifying.glass"), FixtureDatabase::png(magnifyingGlass()));
        file.addTheme(system, QStringLiteral("image.widget.roll.backward.normal"),
                      FixtureDatabase::png(arrow(18, 22, Qt::LeftArrow, QColor(230, 230, 230))));
        file.addTheme(system, QStringLiteral("image.widget.roll.backward.down"),
                      FixtureDatabase::png(arrow(18, 22, Qt::LeftArrow, QColor(255, 200, 60))));
        file.addTheme(system, QStringLiteral("image.widget.roll.forward.normal"),
                      FixtureDatabase::png(arrow(18, 22, Qt::RightArrow, QColor(230, 230, 230))));
        file.addTheme(system, QStringLiteral("image.widget.roll.forward.down"),
                      FixtureDatabase::png(arrow(18, 22, Qt::RightArrow, QColor(255, 200, 60))));
        file.addTheme(system, QStringLiteral("image.widget.dropdown.arrow.down"),
                      FixtureDatabase::png(arrow(12, 10, Qt::DownArrow, QColor(70, 70, 70))));
        file.addTheme(system, QStringLiteral("image.widget.dropdown.arrow.up"),
                      FixtureDatabase::png(arrow(12, 10, Qt::UpArrow, QColor(200, 40, 40))));
        file.addTheme(system, QStringLiteral("image.capsure.button.normal"), FixtureDatabase::png(capsureImage()));
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
                {QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfColorForesight"),
                 QStringLiteral("PageOfProducts"), QStringLiteral("PageOfTextures")});
        addList(file, interior, QStringLiteral("row.name.search.order"), {0});
        FixtureDatabase::Page page;
        page.pageIndex = 1;
        page.segment = 1;
        const qint64 pageId = file.addPage(interior, page);
        addChip(file, interior, pageId, 1, QStringLiteral("S 1002-Y"), QStringLiteral("Abendrot"), QColor(230, 120, 90));
        addChip(file, interior, pageId, 2, QStringLiteral("S 2010-R"), QStringLiteral("Alpenglühen"),
                QColor(240, 160, 150));
        addChip(file, interior, pageId, 3, QStringLiteral("N 0500"), QStringLiteral("Kalkweiß"),
                QColor(245, 243, 236));
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
        FixtureDatabase::Page page;
        page.pageIndex = 1;
        page.segment = 1;
        const qint64 pageId = file.addPage(exterior, page);
        addChip(file, exterior, pageId, 1, QStringLiteral("EX-100"), QStringLiteral("Basalt"), QColor(70, 72, 75));

        // Textures named in the order but not offered; no chips, no texts.
        const qint64 oil = file.addCollection(kOil, QStringLiteral("OIL"), 3, true, kOilName);
        file.addSetting(oil, QStringLiteral("has.color.foresight.page"), 1);
        addList(file, oil, QStringLiteral("tab.bar.page"),
                {QStringLiteral("PageOfTextures"), QStringLiteral("PageOfColorForesight")});
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
