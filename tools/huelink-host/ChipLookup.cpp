#include "ChipLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#ifndef HUELINK_INSTALL_DATADIR
#define HUELINK_INSTALL_DATADIR "/usr/local/share"
#endif

namespace ChipLookup {

namespace {

// Not one of the module's connection names: both share the toolkit's
// process-wide list of connections.
const QString kConnectionName = QStringLiteral("huelink-host-chip-lookup");

// The collection's number inside `database`, or -1 when the file does not
// hold it.
qint64 collectionIdIn(QSqlDatabase &database, const QUuid &collection)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT C.ID FROM COLLECTION C WHERE C.UUID = ? COLLATE NOCASE"));
    query.addBindValue(collection.toString(QUuid::WithBraces));
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

QString localeText(QSqlDatabase &database, qint64 collectionId, const QString &key)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = ? AND L.\"KEY\" = ? "
                                 "COLLATE NOCASE"));
    query.addBindValue(collectionId);
    query.addBindValue(key);
    if (query.exec() && query.next() && query.value(0).typeId() == QMetaType::QString)
        return query.value(0).toString();
    // The module shows the key itself when a collection has no text for it.
    return key;
}

bool readChip(QSqlDatabase &database, const QUuid &collection, const QString &code, Chip &chip)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral(
        "SELECT R.ID, R.RED, R.GREEN, R.BLUE, R.CODE FROM \"ROW\" R "
        "JOIN COLLECTION_PAGE_MAP CMAP ON CMAP.PAGE_ID = R.PAGE_ID "
        "JOIN COLLECTION C ON C.ID = CMAP.COLLECTION_ID "
        "WHERE C.UUID = ? COLLATE NOCASE AND R.CODE = ? COLLATE NOCASE ORDER BY R.ID LIMIT 1"));
    query.addBindValue(collection.toString(QUuid::WithBraces));
    query.addBindValue(code);
    if (!query.exec() || !query.next())
        return false;
    chip.rowId = query.value(0).toLongLong();
    chip.color = QColor(query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt());
    chip.code = query.value(4).toString();
    return true;
}

} // namespace

QUuid currentCollection()
{
    // The same store the module writes: organisation "Vestrel", the
    // module's settings application name for this host. Read as text, not
    // through a settings object: the toolkit shares one cache per file in
    // the process, and opening it would write the module's pending changes
    // (kept after a failed write) with the toolkit's own writer.
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Vestrel/Huelink.Photoshop.ini"));
    if (!file.open(QIODevice::ReadOnly))
        return QUuid();
    bool topLevel = true;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('['))
            topLevel = line.compare("[General]", Qt::CaseInsensitive) == 0;
        else if (const qsizetype equals = line.indexOf('=');
                 topLevel && equals > 0 && line.left(equals).trimmed() == "UuidOfLastUsedCollection")
            return QUuid::fromString(QString::fromLatin1(line.mid(equals + 1).trimmed()));
    }
    return QUuid();
}

QString collectionFileFolder()
{
    QString programData = qEnvironmentVariable("PROGRAMDATA");
    if (programData.isEmpty())
        programData = QStringLiteral(HUELINK_INSTALL_DATADIR);
    return QDir(programData).filePath(QStringLiteral("Vestrel/Huelink/SQLite/Contents/Resources"));
}

Status findChip(const QUuid &collection, const QString &code, Chip &chip, QString &error)
{
    chip = Chip();
    chip.collection = collection;
    chip.code = code;
    if (collection.isNull()) {
        error = QStringLiteral("the user state names no current collection");
        return Status::CollectionMissing;
    }
    // By name, as the module scans them: the first file that holds a UUID
    // supplies it.
    const QFileInfoList files = QDir(collectionFileFolder())
                                    .entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
    Status status = Status::CollectionMissing;
    for (const QFileInfo &file : files) {
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
            database.setDatabaseName(file.absoluteFilePath());
            database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (database.open()) {
                const qint64 collectionId = collectionIdIn(database, collection);
                if (collectionId >= 0) {
                    status = readChip(database, collection, code, chip) ? Status::Found : Status::CodeNotFound;
                    chip.selectButtonText =
                        localeText(database, collectionId, QStringLiteral("photoshop.selectcolor.button"));
                }
                database.close();
            }
        }
        QSqlDatabase::removeDatabase(kConnectionName);
        if (status != Status::CollectionMissing)
            break;
    }
    const QString uuidText = collection.toString(QUuid::WithBraces);
    if (status == Status::CodeNotFound)
        error = QStringLiteral("colour code '%1' is not in the current collection %2").arg(code, uuidText);
    else if (status == Status::CollectionMissing)
        error = QStringLiteral("no collection file in '%1' holds the current collection %2")
                    .arg(QDir::toNativeSeparators(collectionFileFolder()), uuidText);
    return status;
}

QString collectionText(const QUuid &collection, const QString &key)
{
    QString text = key;
    const QFileInfoList files
        = QDir(collectionFileFolder()).entryInfoList({ QStringLiteral("*.db") }, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        bool found = false;
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
            database.setDatabaseName(file.absoluteFilePath());
            database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (database.open()) {
                const qint64 collectionId = collectionIdIn(database, collection);
                found = collectionId >= 0;
                if (found)
                    text = localeText(database, collectionId, key);
                database.close();
            }
        }
        QSqlDatabase::removeDatabase(kConnectionName);
        if (found)
            break;
    }
    return text;
}

} // namespace ChipLookup
