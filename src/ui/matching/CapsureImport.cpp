#include "ui/matching/CapsureImport.h"

#include "db/CollectionRegistry.h"
#include "db/SearchQueries.h"
#include "db/Status.h"
#include "ui/matching/CapsureMeasurement.h"
#include "ui/matching/CapsureSelectDialog.h"

#include <QHash>
#include <QPointer>
#include <QSet>

namespace Tintor {

QVector<DB::ColorEntry> CapsureImport::findEntries(const QStringList &names)
{
    QVector<DB::ColorEntry> result;
    if (names.isEmpty())
        return result;
    QVector<qint64> ids;
    if (DB::capsureCollectionIds(ids) != DB::StatusOk || ids.isEmpty())
        return result;

    QHash<qint64, QVector<DB::ColorEntry>> chipsByCollection;
    QHash<qint64, QSet<qint64>> chipIdsByCollection;
    QHash<qint64, bool> resolvable;
    QSet<QString> lookedUp;
    for (const QString &name : names) {
        if (lookedUp.contains(name))
            continue;
        if (lookedUp.size() >= kMaximumDistinctNames)
            break;
        lookedUp.insert(name);
        QVector<DB::ColorEntry> found;
        // A failed lookup skips this name only.
        if (DB::findCapsureEntries(name, found) != DB::StatusOk)
            continue;
        for (const DB::ColorEntry &chip : std::as_const(found)) {
            auto known = resolvable.constFind(chip.collectionId);
            if (known == resolvable.cend())
                known = resolvable.insert(chip.collectionId,
                                          !DB::collectionUuidInSystemWideFile(chip.collectionId).isNull());
            if (!*known)
                continue;
            QSet<qint64> &chipIds = chipIdsByCollection[chip.collectionId];
            if (chipIds.contains(chip.id))
                continue;
            chipIds.insert(chip.id);
            chipsByCollection[chip.collectionId].append(chip);
        }
    }
    for (const qint64 id : std::as_const(ids)) {
        // A collection listed twice by the priority view is joined once.
        result += chipsByCollection.take(id);
    }
    return result;
}

bool CapsureImport::run(QWidget *parent, const QString &fileName, DB::ColorEntry &chosen)
{
    chosen = DB::ColorEntry();
    QByteArray bytes;
    if (!CapsureMeasurement::readFile(fileName, bytes))
        return false;
    const QVector<DB::ColorEntry> entries = findEntries(CapsureMeasurement::objectNames(bytes));
    if (entries.isEmpty())
        return false;
    // Owned through a guard: the window may go (and take its children along)
    // while the dialog's event loop runs.
    QPointer<CapsureSelectDialog> dialog = new CapsureSelectDialog(entries, parent);
    dialog->setWindowModality(Qt::WindowModal);
    const int result = dialog->exec();
    if (!dialog)
        return false;
    const DB::ColorEntry selected = dialog->selectedEntry();
    delete dialog.data();
    if (result != QDialog::Accepted || selected.id < 0)
        return false;
    chosen = selected;
    return true;
}

} // namespace Tintor
