#include "CollectionSource.h"

#include "db/Schema.h"

namespace Tintor {

QString SourceCollection::settingText(const QString &name, const QString &fallback) const
{
    for (const SourceSetting &setting : settings) {
        if (setting.name.compare(name, Qt::CaseInsensitive) == 0 && !setting.values.isEmpty())
            return setting.values.first();
    }
    return fallback;
}

CollectionSource::CollectionSource()
{
    SourceCollection systemWide;
    systemWide.isSystemWide = true;
    systemWide.uuid = DB::Schema::systemWideCollectionUuid();
    systemWide.systemId = QStringLiteral("VIRTUAL");
    systemWide.name = QStringLiteral("SystemWide Collection");
    systemWide.order = 0;
    collections << systemWide;
}

int CollectionSource::collectionIndex(const QString &systemId) const
{
    for (int i = 0; i < collections.size(); ++i) {
        if (collections.at(i).systemId.compare(systemId, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList tenEmptyTexts()
{
    QStringList texts;
    texts.reserve(10);
    for (int i = 0; i < 10; ++i)
        texts << QString();
    return texts;
}

} // namespace Tintor
