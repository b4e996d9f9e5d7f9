#pragma once

#include "CollectionSource.h"

namespace Tintor {

class ProblemList;
class SourceRecord;

// Typed reading of the fields of a source record. Every failed conversion
// or range check is reported at the field's place; the out value then keeps
// what it had, so reading can go on and find further problems.
class FieldReader {
public:
    explicit FieldReader(ProblemList &problems);

    // False (and reported) when the field is required but not given, or
    // given but not an integer in [minimum, maximum].
    bool integer(const SourceRecord &record, const QString &column, int minimum, int maximum, bool required, int &out);
    bool number(const SourceRecord &record, const QString &column, double minimum, double maximum, bool required,
                double &out);
    bool flag(const SourceRecord &record, const QString &column, bool &out);
    bool mood(const SourceRecord &record, const QString &column, int &out);
    // Scheme 1..8 (the numbers the file's SCHEME rows define), by number or name.
    bool scheme(const SourceRecord &record, const QString &column, int &out);
    // red/green/blue or hex; `given` tells whether any colour field was there.
    bool color(const SourceRecord &record, bool required, int &red, int &green, int &blue, bool *given);
    // "name0".."name9" (or another prefix) into a ten-element list.
    QStringList tenTexts(const SourceRecord &record, const QString &prefix);
    // "a;b;c" split, trimmed, empty parts dropped.
    QStringList keyList(const SourceRecord &record, const QString &column);

    // A chip named by `<prefix>page` + `<prefix>row` or `<prefix>code`, and
    // `collection` when `withCollection`. An absent reference is not given.
    ChipReference chipReference(const SourceRecord &record, const QString &prefix, bool withCollection);
    PageReference pageReference(const SourceRecord &record, const QString &column, bool withCollection);

private:
    ProblemList &m_problems;
};

} // namespace Tintor
