#pragma once

#include "db/Collection.h"

#include <QByteArray>
#include <QString>
#include <QUuid>
#include <QVariant>
#include <QVariantList>

// The simple per-collection lookups: record, texts, theme items, settings.
namespace Tintor::DB {

int collectionByUuid(const QUuid &uuid, CollectionPointer &out);
int themeData(const QUuid &uuid, const QString &key, QByteArray &out);
// Longest interface text shown in a label, button or tooltip: laying out a
// longer one costs the host seconds on every paint and shows nothing more.
constexpr int kMaxInterfaceTextLength = 4096;

// The key itself when there is no text, so a missing text shows its key.
// Cut to kMaxInterfaceTextLength characters.
QString localizedString(const QUuid &uuid, const QString &key);
// The whole text, for documents (the licence, the motto page) shown in
// views that scroll.
QString localizedDocument(const QUuid &uuid, const QString &key);
QVariant settingValue(const QUuid &uuid, const QString &name, const QVariant &fallback = QVariant());
QVariantList settingValues(const QUuid &uuid, const QString &name);

} // namespace Tintor::DB
