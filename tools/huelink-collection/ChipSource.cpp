#include "ChipSource.h"

#include "db/Collection.h"
#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>

#include <climits>
#include <memory>

namespace ChipSource {

namespace {

using namespace Tintor;

// The application object for one call: the toolkit finds its SQLite driver
// through it, and it is gone when the call returns.
class EngineSession {
public:
    EngineSession()
    {
        if (!QCoreApplication::instance())
            m_application = std::make_unique<QCoreApplication>(m_argc, m_argv);
    }

    // False with `error` set when no collection can be read.
    bool start(std::string &error)
    {
        // The module's own user state store, where My Palette lives.
        setHostApplicationName(moduleHostApplicationName());
        const QString folder = QDir::toNativeSeparators(databaseFolder() + QStringLiteral("/Contents/Resources"));
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
            error = "the SQLite driver of Qt 6 is not installed";
            return false;
        }
        if (DB::discoverCollections() != 1 || DB::collectionUuidsByOrder().isEmpty()) {
            error = "no Huelink collections are installed in '" + folder.toStdString() + "'";
            return false;
        }
        return true;
    }

private:
    int m_argc = 1;
    char m_name[8] = "huelink";
    char *m_argv[2] = { m_name, nullptr };
    std::unique_ptr<QCoreApplication> m_application;
};

QString collectionName(const QUuid &uuid)
{
    DB::CollectionPointer collection;
    if (DB::collectionByUuid(uuid, collection) != DB::StatusOk || !collection)
        return QString();
    return collection->name;
}

// As My Palette names a chip: the code, then the first name of the
// collection's display order when it has one.
QString displayName(const QUuid &collection, const DB::ColorEntry &chip)
{
    const QList<qint64> &order = CollectionSettings::nameOrders(collection).rowNameDisplayOrder;
    const qint64 index = order.isEmpty() ? -1 : order.first();
    const QString name = index >= 0 && index <= INT_MAX ? chip.nameAt(int(index)) : QString();
    return name.isEmpty() ? chip.code : chip.code + QStringLiteral(" - ") + name;
}

} // namespace

bool chipColor(const std::string &code, const std::string &collectionName, Rgb &color, std::string &error)
{
    EngineSession session;
    if (!session.start(error))
        return false;
    const QString wanted = QString::fromStdString(code).trimmed();
    if (wanted.isEmpty()) {
        error = "no chip code was given";
        return false;
    }
    const QString name = QString::fromStdString(collectionName).trimmed();
    QList<QUuid> collections = DB::collectionUuidsByOrder();
    if (!name.isEmpty()) {
        collections.removeIf([&](const QUuid &uuid) {
            return ChipSource::collectionName(uuid).compare(name, Qt::CaseInsensitive) != 0;
        });
        if (collections.isEmpty()) {
            error = "no installed collection is named '" + name.toStdString() + "'";
            return false;
        }
    }
    for (const QUuid &uuid : collections) {
        DB::ColorEntry chip;
        if (DB::entryByCode(uuid, wanted, chip) == DB::StatusOk) {
            color = { chip.red, chip.green, chip.blue };
            return true;
        }
    }
    error = "no chip has the code '" + wanted.toStdString() + "' in "
        + (name.isEmpty() ? std::string("the enabled collections") : "the collection '" + name.toStdString() + "'");
    return false;
}

bool myPalette(std::string &description, std::vector<NamedColor> &chips, int &missing, std::string &error)
{
    chips.clear();
    missing = 0;
    EngineSession session;
    if (!session.start(error))
        return false;
    description = UserState::myPaletteDescription().trimmed().toStdString();
    for (int row = 0; row < UserState::kPaletteRows; ++row) {
        for (int column = 0; column < UserState::kPaletteColumns; ++column) {
            const DB::ItemIndex item = UserState::myPaletteEntry(row, column);
            if (!item.namesChip())
                continue;
            DB::ColorEntry chip;
            if (DB::entryById(item.collectionUuid, item.colorId, chip) != DB::StatusOk) {
                ++missing;
                continue;
            }
            chips.push_back({ chip.code.toStdString(), displayName(item.collectionUuid, chip).toStdString(),
                              { chip.red, chip.green, chip.blue } });
        }
    }
    return true;
}

} // namespace ChipSource
