#pragma once

#include <QString>
#include <QStringList>

namespace Tintor {

// Collects what is wrong with a source, each problem with the place it was
// found ("chips.csv:14: column \"red\"", "collection.json: collections[0].uuid").
// A build goes on reading after a problem so one run reports them all.
class ProblemList {
public:
    void error(const QString &where, const QString &message);
    void warning(const QString &where, const QString &message);

    bool hasErrors() const { return !m_errors.isEmpty(); }
    int errorCount() const { return m_errors.size(); }
    const QStringList &errors() const { return m_errors; }
    const QStringList &warnings() const { return m_warnings; }

    // Writes every warning and error, one per line, to standard error.
    void print() const;

private:
    QStringList m_errors;
    QStringList m_warnings;
};

} // namespace Tintor
