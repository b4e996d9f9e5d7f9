#include "color/ColorScience.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kFirst("{4a000000-0000-0000-0000-00000000004a}");
const QUuid kSecond("{4b000000-0000-0000-0000-00000000004b}");
const QUuid kThird("{4c100000-0000-0000-0000-00000000004c}");

struct Chip {
    const char *code;
    const char *name;
    int pageIndex;
    int rowIndex;
    QColor color;
};

// The first collection's chips: two cards, names shown from NAME1.
const Chip kChips[] = {
    { "F-11", "Brick", 3, 1, QColor(180, 60, 40) },
    { "F-12", "Clay", 3, 2, QColor(190, 90, 60) },
    { "F-13", "Sand", 3, 3, QColor(220, 190, 140) },
    { "F-21", "Moss", 4, 1, QColor(90, 110, 60) },
    { "F-22", "Sea \"deep\"", 4, 2, QColor(20, 60, 110) },
    { "F-23", "Chalk", 4, 3, QColor(240, 238, 230) },
};

QString toolPath()
{
    return ProgramRun::builtProgram("tools/huelink-collection/huelink-collection");
}

std::pair<int, QStringList> runMatch(const QStringList &arguments, QString *errors = nullptr)
{
    const ProgramRun run = ProgramRun::run(toolPath(), QStringList { "match" } + arguments, 60000);
    if (errors)
        *errors = QString::fromUtf8(run.err);
    return { run.exitCode, QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts) };
}

// The chips ranked here by their colours, nearest first.
QList<std::pair<const Chip *, double>> expectedRanking(const ColorTriple &lab)
{
    QList<std::pair<const Chip *, double>> ranking;
    for (const Chip &chip : kChips)
        ranking.append({ &chip, deltaE2000(lab, colorToLab(chip.color)) });
    std::stable_sort(ranking.begin(), ranking.end(), [](const auto &a, const auto &b) { return a.second < b.second; });
    return ranking;
}

QJsonObject matchOf(const QString &line, int index = 0)
{
    return QJsonDocument::fromJson(line.toUtf8()).object().value("matches").toArray().at(index).toObject();
}

} // namespace

class MatchCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(toolPath()), qPrintable(toolPath()));
        m_file = m_folder.filePath("match.db");
        FixtureDatabase fixture(m_file);
        // The second collection comes first in the file but not by ORDER.
        const qint64 secondId = fixture.addCollection(kSecond, "SECOND", 2);
        const qint64 firstId = fixture.addCollection(kFirst, "FIRST", 1);
        fixture.addSetting(firstId, "row.name.display.order", 1);
        QHash<int, qint64> pages;
        for (const Chip &chip : kChips) {
            if (!pages.contains(chip.pageIndex))
                pages.insert(chip.pageIndex, fixture.addPage(firstId, { chip.pageIndex, chip.pageIndex }));
            const FixtureDatabase::Row row { chip.rowIndex, chip.code, chip.color, { "not shown", chip.name } };
            QVERIFY(fixture.addRow(firstId, pages.value(chip.pageIndex), row) > 0);
        }
        QVERIFY(fixture.addRow(secondId, fixture.addPage(secondId, { 9, 1 }),
                    FixtureDatabase::Row { 2, "S-92", QColor(180, 60, 40), { "Other brick" } })
            > 0);
    }

    void rgbInputRanksLikeTheMatcher()
    {
        for (const QString rgb : { "6E6E6E", "#f0eee6" }) {
            const auto [exitCode, lines] = runMatch({ m_file, "--rgb", rgb, "--count", "4" });
            QCOMPARE(exitCode, 0);
            const QString hex = rgb.right(6).toUpper();
            QCOMPARE(lines.size(), 5);
            QCOMPARE(lines.first(), hex);
            const auto ranking = expectedRanking(colorToLab(QColor(QStringLiteral("#") + hex)));
            for (int i = 0; i < 4; ++i) {
                const Chip &chip = *ranking.at(i).first;
                QCOMPARE(lines.at(i + 1).trimmed().split(QLatin1Char('\t')),
                    (QStringList { QString::number(i + 1), chip.code, chip.name,
                        QStringLiteral("page %1").arg(chip.pageIndex), QStringLiteral("row %1").arg(chip.rowIndex),
                        chip.color.name().mid(1).toUpper(), QString::number(ranking.at(i).second, 'f', 4) }));
            }
        }
        // Another collection by option: one chip only in it.
        const auto [exitCode, lines]
            = runMatch({ m_file, "--collection", kSecond.toString(), "--rgb", "B43C28", "--count", "3" });
        QCOMPARE(exitCode, 0);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(1).contains("S-92\tOther brick\tpage 9\trow 2"));
        const QString list = m_folder.filePath("colours.txt");
        QVERIFY(FixtureDatabase::writeFile(list, "B43C28\n\n  #143c6e  \n50, 10, -20\n"));
        const auto [jsonExitCode, jsonLines]
            = runMatch({ m_file, "--json", "--count", "2", "--lab", "97,0,2", "--csv", list });
        QCOMPARE(jsonExitCode, 0);
        const QStringList inputs { "97,0,2", "B43C28", "143C6E", "50,10,-20" };
        QCOMPARE(jsonLines.size(), inputs.size());
        for (int i = 0; i < inputs.size(); ++i) {
            const QJsonObject object = QJsonDocument::fromJson(jsonLines.at(i).toUtf8()).object();
            QCOMPARE(object.value("input").toString(), inputs.at(i));
            QCOMPARE(object.value("matches").toArray().size(), 2);
        }
        QCOMPARE(matchOf(jsonLines.at(1)).toVariantMap(),
            (QVariantMap { { "code", "F-11" }, { "name", "Brick" }, { "pageIndex", 3 }, { "rowIndex", 1 },
                { "rgb", "B43C28" }, { "deltaE", 0.0 } }));
        // A name with quotes stays valid JSON.
        QCOMPARE(matchOf(jsonLines.at(2)).value("name").toString(), "Sea \"deep\"");
        // The Lab line ranks chalk first, by the same difference.
        QCOMPARE(matchOf(jsonLines.at(0)).value("code").toString(), "F-23");
        QCOMPARE(matchOf(jsonLines.at(0)).value("deltaE").toDouble(),
            std::round(expectedRanking({ 97, 0, 2 }).first().second * 1e4) / 1e4);
    }

    void paletteMatchesAcrossFilesAndCollections()
    {
        const QString other = m_folder.filePath("other.db");
        {
            FixtureDatabase fixture(other);
            const qint64 id = fixture.addCollection(kThird, "THIRD", 3, true, "Third");
            QVERIFY(fixture.addRow(id, fixture.addPage(id, { 1, 1 }),
                        FixtureDatabase::Row { 1, "T-1", QColor(20, 200, 20), { "Leaf" } })
                > 0);
        }
        const QString palette = m_folder.filePath("client.gpl");
        QVERIFY(FixtureDatabase::writeFile(palette, "GIMP Palette\n180 60 40 Client red\n20 200 20\tClient green\n"));
        const auto [exitCode, lines] = runMatch({ m_file, other, "--palette", palette, "--count", "2", "--json" });
        QCOMPARE(exitCode, 0);
        QCOMPARE(lines.size(), 2);
        // Equal chips of two collections: the collection first by order first.
        const QJsonObject first = QJsonDocument::fromJson(lines.at(0).toUtf8()).object();
        QCOMPARE(first.value("name").toString(), "Client red");
        QCOMPARE(matchOf(lines.at(0)).value("code").toString() + matchOf(lines.at(0), 1).value("code").toString(),
            "F-11S-92");
        QCOMPARE(matchOf(lines.at(0), 1).value("deltaE").toDouble(), 0.0);
        QCOMPARE(matchOf(lines.at(0), 1).value("grade").toString(), "indistinguishable");
        // The second file's collection is searched too.
        const QJsonObject leaf = matchOf(lines.at(1));
        QCOMPARE(leaf.value("code").toString() + leaf.value("collection").toString(), "T-1Third");
        QCOMPARE(leaf.value("deltaE").toDouble(), 0.0);
        const auto [textExitCode, text] = runMatch({ m_file, other, "--palette", palette, "--count", "1" });
        QCOMPARE(textExitCode, 0);
        QCOMPARE(text.mid(0, 2).join('|'), "1\tB43C28\tClient red|  1\tF-11\tBrick\tFIRST\tpage 3\trow 1\tB43C28\t0.0000\tindistinguishable");
        // A broken palette file changes nothing and says why.
        QVERIFY(FixtureDatabase::writeFile(palette, "GIMP Palette\n1 2\n"));
        QString errors;
        QCOMPARE(runMatch({ m_file, "--palette", palette }, &errors).first, 1);
        QVERIFY2(errors.contains("line 2 is not a colour"), qPrintable(errors));
        QCOMPARE(runMatch({ m_file, "--palette", palette, "--rgb", "000000" }).first, 2);
    }

    void unusableInputsFailClearly()
    {
        const QString text = m_folder.filePath("notes.db");
        QVERIFY(FixtureDatabase::writeFile(text, "not a database\n"));
        // A file that is no collection, a missing file, an unknown collection; colours and counts it cannot take.
        const std::tuple<QString, int, const char *> cases[] = { { text + " --rgb 000000", 1, "is not a collection" },
            { m_folder.filePath("missing.db") + " --rgb 000000", 1, "no such file" },
            { m_file + " --collection {4c000000-0000-0000-0000-00000000004c} --rgb 000000", 1,
                "no enabled collection" },
            { m_file + " --rgb 12345", 2, "--rgb needs RRGGBB" }, { m_file + " --lab 1,2", 2, "--lab needs L,a,b" },
            { m_file, 2, "usage:" }, { m_file + " --count 0 --rgb 000000", 2, "--count" } };
        for (const auto &[arguments, code, message] : cases) {
            QString errors;
            const auto [exitCode, lines] = runMatch(arguments.split(QLatin1Char(' ')), &errors);
            QCOMPARE(exitCode, code);
            QVERIFY2(errors.contains(QLatin1String(message)) && lines.isEmpty(), qPrintable(errors));
        }
    }

private:
    QTemporaryDir m_folder;
    QString m_file;
};

HUELINK_TEST_MAIN(MatchCommandTest)
#include "MatchCommandTest.moc"
