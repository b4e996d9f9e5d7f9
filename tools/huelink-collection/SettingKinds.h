#pragma once

#include <QString>
#include <QStringList>

namespace Tintor {

// What kind of value each setting key of a collection takes, so a source
// is checked before a wrong value silently becomes a default at run time.
namespace SettingKinds {

enum class Kind {
    Unknown,
    Flag,
    Integer,
    PositiveInteger,
    NonNegativeInteger,
    Number,
    Choice,
    Size,
    NumberList,
    PageList,
    SchemeList,
    NameOrder,
    Text,
};

Kind kindOf(const QString &key);
// Whether the key is stored as several rows (VALUE_INDEX 0, 1, ...).
bool isListKind(Kind kind);

// Checks `values` for `key` and brings them into their stored form (flags
// become "1"/"0", words keep their spelling). Returns an empty text when
// they are fine, else what is wrong.
QString checkAndNormalize(const QString &key, QStringList &values);

// Scheme number 1..9 of a scheme name ("wide contrast", "widecontrast",
// "tonal neutral", ...) or of a number text; 0 when unknown.
int schemeNumber(const QString &text);
// Mood number 0..6 of a mood name or number text; -1 when unknown.
int moodNumber(const QString &text);
// "1", "true", "yes" give true; "0", "false", "no" false; others fail.
bool parseFlag(const QString &text, bool *ok);

} // namespace SettingKinds

} // namespace Tintor
