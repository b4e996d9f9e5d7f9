#include "db/ThemeImageCache.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/ImageDecoding.h"
#include "db/QuerySupport.h"
#include "db/Status.h"

#include <QHash>
#include <QPair>

namespace Tintor::DB {

namespace {

struct FileImages
{
    QuerySupport::ContentStamp stamp;
    DecodeBudget budget;
    // Keyed by collection and lower-case key: the lookup ignores case.
    QHash<QPair<QUuid, QString>, QImage> images;
};

QHash<QString, FileImages> &cache()
{
    static QHash<QString, FileImages> files;
    return files;
}

int &decodes()
{
    static int count = 0;
    return count;
}

} // namespace

QImage ThemeImageCache::image(const QUuid &collection, const QString &key)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(collection, &status);
    if (status != StatusOk)
        return QImage();
    FileImages &file = cache()[database.databaseName()];
    if (!QuerySupport::refreshStamp(database, file.stamp)) {
        file.images.clear();
        file.budget = DecodeBudget();
    }
    const QPair<QUuid, QString> itemKey(collection, key.toLower());
    const auto found = file.images.constFind(itemKey);
    if (found != file.images.cend())
        return *found;

    QByteArray data;
    QImage decoded;
    if (themeData(collection, key, data) == StatusOk) {
        ++decodes();
        decoded = decodeImage(data, &file.budget, kMaxThemeImagePixels);
    }
    // Without a stamp a change could not be seen: nothing is kept.
    if (file.stamp.isValid())
        file.images.insert(itemKey, decoded);
    return decoded;
}

int ThemeImageCache::decodeCount()
{
    return decodes();
}

} // namespace Tintor::DB
