#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

namespace Tintor {

class ProblemList;

// The folder of a source and its manifest: resolves the relative paths the
// manifest names, refusing paths that leave the folder, and reads files.
class SourceFiles {
public:
    SourceFiles(const QString &folder, const QString &manifestName, ProblemList &problems);

    QString manifestName() const { return m_manifestName; }
    ProblemList &problems() const { return m_problems; }

    // Reads a file named by the manifest; reports a problem at `where` and
    // returns false when it is missing, unreadable or outside the folder.
    bool read(const QString &relativePath, const QString &where, QByteArray &out) const;

private:
    QDir m_folder;
    QString m_canonicalFolder;
    QString m_manifestName;
    ProblemList &m_problems;
};

} // namespace Tintor
