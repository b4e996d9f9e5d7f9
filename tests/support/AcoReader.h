#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRgb>
#include <QString>

// Reads a swatch file (version 2, big-endian) by its byte layout, not the module's writer; `error` says where.
QList<QPair<QRgb, QString>> readAcoFile(const QByteArray &bytes, QString &error);
