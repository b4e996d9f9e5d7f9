#pragma once

#include <QSizeF>

class QPainter;

// The small controls of the theme: buttons, markers and glyphs. Each
// function draws one image into the logical rectangle (0, 0, size).
namespace Tintor::ThemeArt {

enum class MoodArt { Fresh, Warm, Calm, Rich, Offwhite, Neutral };
enum class SchemeArt { Harmonising, Contrasting, WideContrast, Dynamic, Dramatic, TonalNeutral };
enum class BarIcon { Zoom, Eraser, Trash, Grid, Back };

void paintDropDownArrow(QPainter &painter, const QSizeF &size, bool up);
void paintMoodButton(QPainter &painter, const QSizeF &size, MoodArt mood, bool selected);
void paintAllMoods(QPainter &painter, const QSizeF &size);
void paintExteriorOnly(QPainter &painter, const QSizeF &size);
void paintTick(QPainter &painter, const QSizeF &size);
void paintMoodDisabled(QPainter &painter, const QSizeF &size);
void paintMagnifyingGlass(QPainter &painter, const QSizeF &size);
void paintRollButton(QPainter &painter, const QSizeF &size, bool forward, bool pressed);
void paintSchemeButton(QPainter &painter, const QSizeF &size, SchemeArt scheme, bool selected);
void paintBarIcon(QPainter &painter, const QSizeF &size, BarIcon icon);
void paintQuestionIcon(QPainter &painter, const QSizeF &size);
void paintSliderGroove(QPainter &painter, const QSizeF &size);
void paintSliderGrooveMask(QPainter &painter, const QSizeF &size);
void paintSliderThumb(QPainter &painter, const QSizeF &size);
void paintDisclosure(QPainter &painter, const QSizeF &size, bool open);
void paintScrollBarThumb(QPainter &painter, const QSizeF &size);
void paintNeutralMarker(QPainter &painter, const QSizeF &size, bool selected);
void paintCapsureButton(QPainter &painter, const QSizeF &size);

} // namespace Tintor::ThemeArt
