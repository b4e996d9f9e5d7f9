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
// The key itself when there is no text, so a missing text shows its key.
QString localizedString(const QUuid &uuid, const QString &key);
QVariant settingValue(const QUuid &uuid, const QString &name, const QVariant &fallback = QVariant());
QVariantList settingValues(const QUuid &uuid, const QString &name);

} // namespace Tintor::DB
