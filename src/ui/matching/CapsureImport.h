#pragma once

#include "db/ColorEntry.h"

#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

namespace Tintor {

// The import behind the collection selector's Capsure button: reads the
// measured object names, finds the chips of that name or code in the
// collections that take part in device matching and lets the user pick one
// in a CapsureSelectDialog. Every failure ends it silently; the next change
// notification of the file may try again.
class CapsureImport
{
public:
    // A measurement names a handful of objects; a file naming more distinct
    // ones than this is not a measurement, and each name costs a query.
    static constexpr int kMaximumDistinctNames = 1000;

    // Every distinct chip named, grouped by collection in priority order,
    // within a collection in the order of the names and of the lookup. Each
    // distinct name is looked up once. Chips whose collection is not the one
    // registered from the system-wide collection's file are left out: their
    // IDs belong to that file only.
    static QVector<DB::ColorEntry> findEntries(const QStringList &names);

    // Reads `fileName`, asks the user (a window-modal dialog on `parent`)
    // and returns true with the chip chosen. The file is left as it is.
    static bool run(QWidget *parent, const QString &fileName, DB::ColorEntry &chosen);
};

} // namespace Tintor
