#include "ui/look/Theme.h"

#include "db/CollectionLookups.h"
#include "db/Schema.h"
#include "db/Status.h"
#include "db/ThemeImageCache.h"
#include "platform/Platform.h"

#include <QPainter>
#include <QStringList>

#include <array>

namespace Tintor {

namespace {

constexpr std::array<const char *, kThemeItemCount - 1> kThemeKeys = {
    "image.widget.main.background",
    "image.widget.bar.background",
    "image.widget.dropdown.arrow.up",
    "image.widget.dropdown.arrow.down",
    "color.widget.collectionselector.text",
    "image.widget.color.wheel.background",
    "image.mood.calm.normal",
    "image.mood.calm.selected",
    "image.mood.fresh.normal",
    "image.mood.fresh.selected",
    "image.mood.neutral.normal",
    "image.mood.neutral.selected",
    "image.mood.offwhite.normal",
    "image.mood.offwhite.selected",
    "image.mood.rich.normal",
    "image.mood.rich.selected",
    "image.mood.warm.normal",
    "image.mood.warm.selected",
    "image.tick.normal",
    "image.mood.all.moods",
    "image.mood.external.colors.only",
    "image.mood.disabled",
    "image.widget.search.magnifying.glass",
    "image.widget.roll.backward.normal",
    "image.widget.roll.backward.down",
    "image.widget.roll.forward.normal",
    "image.widget.roll.forward.down",
    "image.scheme.contrasting.normal",
    "image.scheme.contrasting.selected",
    "image.scheme.dramatic.normal",
    "image.scheme.dramatic.selected",
    "image.scheme.dynamic.normal",
    "image.scheme.dynamic.selected",
    "image.scheme.harmonising.normal",
    "image.scheme.harmonising.selected",
    "image.scheme.tonal.neutral.normal",
    "image.scheme.tonal.neutral.selected",
    "image.scheme.wide.contrast.normal",
    "image.scheme.wide.contrast.selected",
    "image.mypalette.eraser",
    "image.mypalette.grid.off",
    "image.mypalette.trash",
    "image.mypalette.zoom",
    "image.mypalette.clear.question.icon",
    "image.mypalettefull.back",
    "image.mypalettefull.slider.background",
    "image.mypalettefull.slider.background.mask",
    "image.mypalettefull.slider.thumb",
    "image.color.foresight.group.open",
    "image.color.foresight.group.closed",
    "image.vertical.scrollbar.thumb",
    "image.complementary.neutral.marker.normal",
    "image.complementary.neutral.marker.selected",
    "image.banner",
    "image.window.icon",
    "image.capsure.button.normal",
    "list.of.preferred.font.faces",
    "image.about.logo",
    "image.mto",
};

} // namespace

QString themeItemKey(ThemeItem item)
{
    if (item == ThemeItem::PlatformSuffix)
        return Platform::themeKeySuffix();
    const auto index = std::size_t(item);
    return index < kThemeKeys.size() ? QString::fromLatin1(kThemeKeys[index]) : QString();
}

QImage placeholderImage(const QSize &size)
{
    if (size.width() < 1 || size.height() < 1)
        return QImage();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    // The frame's pixels run from (1, 1) to (width - 2, height - 2); a
    // stroked rectangle covers one pixel more than its size.
    const QRect frame(1, 1, size.width() - 3, size.height() - 3);
    if (frame.width() >= 0 && frame.height() >= 0) {
        QPainter painter(&image);
        QPen pen(QColor(255, 0, 0));
        pen.setWidth(0);
        painter.setPen(pen);
        if (frame.width() == 0 || frame.height() == 0)
            painter.drawLine(frame.topLeft(), frame.topLeft() + QPoint(frame.width(), frame.height()));
        else
            painter.drawRect(frame);
    }
    return image;
}

QImage themeImage(const QUuid &collection, const QString &key, const QSize &wantedSize)
{
    const QImage image = DB::ThemeImageCache::image(collection, key);
    return image.isNull() ? placeholderImage(wantedSize) : image;
}

QImage themeImage(const QUuid &collection, ThemeItem item, const QSize &wantedSize)
{
    return themeImage(collection, themeItemKey(item), wantedSize);
}

QImage themeImage(const QString &key, const QSize &wantedSize)
{
    return themeImage(DB::Schema::systemWideCollectionUuid(), key, wantedSize);
}

QImage themeImage(ThemeItem item, const QSize &wantedSize)
{
    return themeImage(DB::Schema::systemWideCollectionUuid(), themeItemKey(item), wantedSize);
}

QColor parseThemeColor(const QByteArray &data, const QColor &defaultColor)
{
    const QStringList parts = QString::fromUtf8(data).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() != 3 && parts.size() != 4)
        return defaultColor;
    int values[4] = {0, 0, 0, 255};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts.at(i).toInt(&ok, 10);
        // A negative channel is as unusable as one above 255.
        if (!ok || values[i] < 0 || values[i] > 255)
            return defaultColor;
    }
    return QColor(values[0], values[1], values[2], values[3]);
}

QColor themeColor(const QString &key, const QColor &defaultColor)
{
    QByteArray data;
    if (DB::themeData(DB::Schema::systemWideCollectionUuid(), key, data) != DB::StatusOk)
        return defaultColor;
    return parseThemeColor(data, defaultColor);
}

QColor themeColor(ThemeItem item, const QColor &defaultColor)
{
    return themeColor(themeItemKey(item), defaultColor);
}

} // namespace Tintor
