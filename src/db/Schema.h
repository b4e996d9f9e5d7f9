#pragma once

#include <QString>
#include <QStringList>
#include <QUuid>

namespace Tintor::DB {

// The collection file format as statements. The reading side never executes
// them; the collection builder and the test fixtures do.
namespace Schema {

// The all-ones UUID of the system-wide collection.
QUuid systemWideCollectionUuid();

// Declared tables, indexes and the view, in order.
QStringList declaredStatements();
// The seed rows every file carries (moods, schemes, system-wide collection).
QStringList seedStatements();
// Table names as the format lists them, in order.
QStringList tableNames();
// Tables, columns and indexes the reading queries rely on beyond the
// declared statements (name and extra columns, the collection page map,
// scheme maps, made-to-order flag, product codes) plus indexes that keep
// the queries fast. Run after declaredStatements().
QStringList readerStatements();
// Mood and scheme names by number (1-based).
QStringList moodNames();
QStringList schemeNames();

} // namespace Schema

} // namespace Tintor::DB
