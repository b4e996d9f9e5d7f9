#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRgb>
#include <QString>

// Reads a swatch file (version 2, big-endian words) from its byte layout alone, not with the module's writer; `error`
// says where a byte is off.
QList<QPair<QRgb, QString>> readAcoFile(const QByteArray &bytes, QString &error);
