#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRgb>
#include <QString>

// Reads a host swatch file from its byte layout alone, not with the
// module's writer: a version-2 section of big-endian 16-bit words, RGB
// records, each name a 32-bit count (terminator included) of UTF-16 units.
// Returns (colour, name) per record, or sets `error` when a byte is off.
QList<QPair<QRgb, QString>> readAcoFile(const QByteArray &bytes, QString &error);
