#include "PaletteMatch.h"

#include "MatchCommand.h"

#include "db/Collection.h"
#include "db/CollectionMatcher.h"
#include "db/CollectionLookups.h"
#include "db/ColorPage.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "formats/ColorGrade.h"
#include "formats/SwatchFile.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace Tintor {

namespace {

constexpr int kExitFailure = 1;

void printError(const QString &message)
{
    std::fprintf(stderr, "huelink-collection match: %s\n", qPrintable(message));
}

QString hexOf(QRgb rgb)
{
    return QStringLiteral("%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

class Matcher {
public:
    explicit Matcher(const QList<QUuid> &collections)
        : m_collections(collections)
    {
    }

    // Every chip with a usable Lab of every collection; false when one
    // collection cannot be read at all.
    bool load(QString &error)
    {
        if (!m_matcher.load(m_collections, &error))
            return false;
        for (const QUuid &uuid : std::as_const(m_collections)) {
            DB::CollectionPointer collection;
            m_names.insert(uuid, DB::collectionByUuid(uuid, collection) == DB::StatusOk && collection
                    ? collection->name
                    : uuid.toString());
        }
        if (m_matcher.isEmpty()) {
            error = QStringLiteral("the collections hold no chip with a usable Lab");
            return false;
        }
        return true;
    }

    QJsonArray matches(const SwatchColor &color, int count)
    {
        QJsonArray result;
        for (const DB::CollectionMatcher::Match &match : m_matcher.nearest(color.lab, count)) {
            const QUuid &uuid = match.collection;
            DB::ColorEntry entry;
            if (DB::entryById(uuid, match.rowId, entry) != DB::StatusOk)
                continue;
            result.append(QJsonObject {
                { QStringLiteral("code"), entry.code },
                { QStringLiteral("name"), chipDisplayName(uuid, entry) },
                { QStringLiteral("collection"), m_names.value(uuid) },
                { QStringLiteral("collectionUuid"), uuid.toString(QUuid::WithoutBraces) },
                { QStringLiteral("pageIndex"), pageIndexOf(uuid, entry.pageId) },
                { QStringLiteral("rowIndex"), entry.rowIndex },
                { QStringLiteral("rgb"), hexOf(qRgb(entry.red, entry.green, entry.blue)) },
                { QStringLiteral("deltaE"), QString::number(match.deltaE, 'f', 4).toDouble() },
                { QStringLiteral("grade"), ColorGrade::text(ColorGrade::of(match.deltaE)) },
            });
        }
        return result;
    }

private:
    int pageIndexOf(const QUuid &uuid, qint64 pageId)
    {
        const QString key = uuid.toString() + QString::number(pageId);
        auto found = m_pageIndexes.constFind(key);
        if (found == m_pageIndexes.cend()) {
            DB::ColorPage card;
            found = m_pageIndexes.insert(
                key, DB::pageById(uuid, pageId, false, card) == DB::StatusOk ? card.pageIndex : -1);
        }
        return *found;
    }

    QList<QUuid> m_collections;
    QHash<QUuid, QString> m_names;
    DB::CollectionMatcher m_matcher;
    QHash<QString, int> m_pageIndexes;
};

void printText(QTextStream &out, int index, const SwatchColor &color, const QJsonArray &matches)
{
    out << index << '\t' << hexOf(color.rgb) << '\t' << color.name << (color.approximate ? "\t(approximate)" : "")
        << '\n';
    int rank = 0;
    for (const QJsonValue &value : matches) {
        const QJsonObject match = value.toObject();
        out << "  " << ++rank << '\t' << match.value("code").toString() << '\t' << match.value("name").toString()
            << '\t' << match.value("collection").toString() << "\tpage " << match.value("pageIndex").toInt()
            << "\trow " << match.value("rowIndex").toInt() << '\t' << match.value("rgb").toString() << '\t'
            << QString::number(match.value("deltaE").toDouble(), 'f', 4) << '\t' << match.value("grade").toString()
            << '\n';
    }
}

} // namespace

int runPaletteMatch(const QString &swatchPath, const QList<QUuid> &collections, int count, bool json)
{
    const SwatchReadResult swatches = SwatchFile::read(swatchPath);
    if (!swatches.ok()) {
        printError(QStringLiteral("%1: %2").arg(swatchPath, swatches.error));
        return kExitFailure;
    }
    Matcher matcher(collections);
    QString error;
    if (!matcher.load(error)) {
        printError(error);
        return kExitFailure;
    }
    QTextStream out(stdout);
    int index = 0;
    for (const SwatchColor &color : swatches.colors) {
        ++index;
        const QJsonArray matches = matcher.matches(color, count);
        if (!json) {
            printText(out, index, color, matches);
            continue;
        }
        const QJsonObject line {
            { QStringLiteral("index"), index },
            { QStringLiteral("name"), color.name },
            { QStringLiteral("rgb"), hexOf(color.rgb) },
            { QStringLiteral("approximate"), color.approximate },
            { QStringLiteral("matches"), matches },
        };
        out << QJsonDocument(line).toJson(QJsonDocument::Compact) << '\n';
    }
    out.flush();
    return 0;
}

} // namespace Tintor
