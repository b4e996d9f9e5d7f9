#include "ManifestContext.h"

#include "ProblemList.h"
#include "SourceFiles.h"

#include <QBuffer>
#include <QImageReader>

namespace Tintor {

ManifestContext::ManifestContext(ProblemList &problems, SourceFiles &files, FieldReader &fields)
    : m_problems(problems)
    , m_files(files)
    , m_fields(fields)
{
}

QString ManifestContext::at(const QString &path) const
{
    return m_files.manifestName() + QStringLiteral(": ") + path;
}

void ManifestContext::checkKeys(const QJsonObject &object, const QString &path, const QStringList &known) const
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!known.contains(it.key()))
            m_problems.error(at(member(path, it.key())),
                             QStringLiteral("unknown key (known: %1)").arg(known.join(QStringLiteral(", "))));
    }
}

QString ManifestContext::member(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString ManifestContext::element(const QString &path, int index)
{
    return path + QStringLiteral("[%1]").arg(index);
}

bool ManifestContext::imageDecodes(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return !reader.read().isNull();
}

} // namespace Tintor
