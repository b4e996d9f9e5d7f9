#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace Tintor {

class FieldReader;
class ProblemList;
class SourceFiles;

// What the readers of a manifest share: its files, the problem list, typed
// field reading, and the naming of places inside the manifest.
class ManifestContext {
public:
    ManifestContext(ProblemList &problems, SourceFiles &files, FieldReader &fields);

    ProblemList &problems() const { return m_problems; }
    SourceFiles &files() const { return m_files; }
    FieldReader &fields() const { return m_fields; }

    // "collection.json: <path>"
    QString at(const QString &path) const;
    // Reports keys of `object` not in `known` (usually typos).
    void checkKeys(const QJsonObject &object, const QString &path, const QStringList &known) const;

    static QString member(const QString &path, const QString &key);
    static QString element(const QString &path, int index);
    static bool imageDecodes(const QByteArray &data);

private:
    ProblemList &m_problems;
    SourceFiles &m_files;
    FieldReader &m_fields;
};

} // namespace Tintor
