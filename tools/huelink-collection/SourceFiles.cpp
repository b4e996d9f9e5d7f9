#include "SourceFiles.h"

#include "ProblemList.h"

#include <QFile>
#include <QFileInfo>

namespace Tintor {

SourceFiles::SourceFiles(const QString &folder, const QString &manifestName, ProblemList &problems)
    : m_folder(folder)
    , m_canonicalFolder(QFileInfo(folder).canonicalFilePath())
    , m_manifestName(manifestName)
    , m_problems(problems)
{
}

bool SourceFiles::read(const QString &relativePath, const QString &where, QByteArray &out) const
{
    out.clear();
    if (relativePath.trimmed().isEmpty()) {
        m_problems.error(where, QStringLiteral("empty file name"));
        return false;
    }
    if (QDir::isAbsolutePath(relativePath)) {
        m_problems.error(where, QStringLiteral("\"%1\" must be relative to the source folder").arg(relativePath));
        return false;
    }
    const QString cleaned = QDir::cleanPath(m_folder.absoluteFilePath(relativePath));
    if (!cleaned.startsWith(QDir::cleanPath(m_folder.absolutePath()) + QLatin1Char('/'))) {
        m_problems.error(where, QStringLiteral("file \"%1\" lies outside the source folder").arg(relativePath));
        return false;
    }
    const QFileInfo info(cleaned);
    if (!info.exists() || !info.isFile()) {
        m_problems.error(where, QStringLiteral("file \"%1\" not found").arg(relativePath));
        return false;
    }
    // Symbolic links and ".." must not lead out of the source.
    const QString canonical = info.canonicalFilePath();
    if (!canonical.startsWith(m_canonicalFolder + QLatin1Char('/'))) {
        m_problems.error(where, QStringLiteral("file \"%1\" lies outside the source folder").arg(relativePath));
        return false;
    }
    QFile file(canonical);
    if (!file.open(QIODevice::ReadOnly)) {
        m_problems.error(where, QStringLiteral("cannot read \"%1\": %2").arg(relativePath, file.errorString()));
        return false;
    }
    out = file.readAll();
    return true;
}

} // namespace Tintor
