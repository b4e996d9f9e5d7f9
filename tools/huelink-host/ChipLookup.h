#pragma once

#include <QColor>
#include <QString>
#include <QUuid>

// What the host's automation needs to know about a chip, read from the same
// files the module reads: the user state store for the current collection,
// and the collection files (read-only) for the chip's row ID, its colour and
// the select button's text. The host shares the toolkit with the module but
// none of the module's code, so these few reads are done here again.
namespace ChipLookup {

struct Chip
{
    QUuid collection;
    QString code;
    qint64 rowId = -1;
    QColor color;
    // The collection's text for the select button of the add-on window.
    QString selectButtonText;
};

enum class Status {
    Found,
    CodeNotFound,      // the collection has no chip with that code
    CollectionMissing, // no current collection, or no file holds it
};

// The collection the module shows: "UuidOfLastUsedCollection" of the user
// state store. Null when none is stored.
QUuid currentCollection();

// The folder holding the collection files: Contents/Resources below the
// database folder below $PROGRAMDATA (or the installed data folder).
QString collectionFileFolder();

// Looks `code` up in `collection` (case-insensitive, as the module's search
// does). When several chips share the code, the one with the lowest row ID
// wins. `error` gets one line for any status but Found.
Status findChip(const QUuid &collection, const QString &code, Chip &chip, QString &error);

// The collection's locale text for `key`, or the key itself when it has
// none (as the module shows it).
QString collectionText(const QUuid &collection, const QString &key);

} // namespace ChipLookup
