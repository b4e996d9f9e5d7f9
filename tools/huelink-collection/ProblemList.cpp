#include "ProblemList.h"

#include <cstdio>

namespace Tintor {

namespace {

QString line(const QString &where, const QString &message)
{
    return where.isEmpty() ? message : where + QStringLiteral(": ") + message;
}

} // namespace

void ProblemList::error(const QString &where, const QString &message)
{
    m_errors << line(where, message);
}

void ProblemList::warning(const QString &where, const QString &message)
{
    m_warnings << line(where, QStringLiteral("warning: ") + message);
}

void ProblemList::print() const
{
    for (const QString &text : m_warnings)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    for (const QString &text : m_errors)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace Tintor
