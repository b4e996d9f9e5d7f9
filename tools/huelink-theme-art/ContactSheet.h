#pragma once

#include "ArtCatalog.h"

#include <QImage>
#include <QVector>

// One sheet showing every rendered piece on the backdrop it is used
// against, small pieces also enlarged, for judging the art by eye.
namespace Tintor::ThemeArt {

QImage renderPiece(const ArtPiece &piece, double scale);
QImage contactSheet(const QVector<ArtPiece> &pieces, const QVector<QImage> &images);
// The theme images put together roughly where the main widget shows them.
QImage previewComposition(const QVector<ArtPiece> &pieces, const QVector<QImage> &images);

} // namespace Tintor::ThemeArt
