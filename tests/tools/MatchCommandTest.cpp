#include "color/ColorScience.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Tintor;

namespace {

const QUuid kFirst(QStringLiteral("{4a000000-0000-0000-0000-00000000004a}"));
const QUuid kSecond(QStringLiteral("{4b000000-0000-0000-0000-00000000004b}"));

struct Chip {
    QString code;
    QString name;
    int pageIndex;
    int rowIndex;
    QColor color;
};

// The first collection's chips: two cards, names shown from NAME1.
const QList<Chip> &firstChips()
{
    static const QList<Chip> chips {
        { QStringLiteral("F-11"), QStringLiteral("Brick"), 3, 1, QColor(180, 60, 40) },
        { QStringLiteral("F-12"), QStringLiteral("Clay"), 3, 2, QColor(190, 90, 60) },
        { QStringLiteral("F-13"), QStringLiteral("Sand"), 3, 3, QColor(220, 190, 140) },
        { QStringLiteral("F-21"), QStringLiteral("Moss"), 4, 1, QColor(90, 110, 60) },
        { QStringLiteral("F-22"), QStringLiteral("Sea \"deep\""), 4, 2, QColor(20, 60, 110) },
        { QStringLiteral("F-23"), QStringLiteral("Chalk"), 4, 3, QColor(240, 238, 230) },
    };
    return chips;
}

QString toolPath()
{
    return ProgramRun::builtProgram(QStringLiteral("tools/huelink-collection/huelink-collection"));
}

struct ToolResult {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

ToolResult runMatch(const QStringList &arguments)
{
    const ProgramRun run = ProgramRun::run(toolPath(), QStringList { QStringLiteral("match") } + arguments, 60000);
    return { run.finished ? run.exitCode : -1, QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        QString::fromUtf8(run.err) };
}

// The ranking computed here from the chips' colours, nearest first.
QList<std::pair<QString, double>> expectedRanking(const ColorTriple &lab, const QList<Chip> &chips)
{
    QList<std::pair<QString, double>> ranking;
    for (const Chip &chip : chips)
        ranking.append({ chip.code, deltaE2000(lab, colorToLab(chip.color)) });
    std::stable_sort(ranking.begin(), ranking.end(), [](const auto &a, const auto &b) { return a.second < b.second; });
    return ranking;
}

const Chip &chipWithCode(const QString &code)
{
    const auto it = std::find_if(
        firstChips().cbegin(), firstChips().cend(), [&code](const Chip &chip) { return chip.code == code; });
    return *it;
}

// The first match of a JSON line.
QJsonObject firstMatch(const QString &line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8());
    return document.object().value(QStringLiteral("matches")).toArray().first().toObject();
}

} // namespace

class MatchCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(toolPath()), qPrintable(toolPath()));
        m_file = m_folder.filePath(QStringLiteral("match.db"));
        FixtureDatabase fixture(m_file);
        QVERIFY(fixture.isOpen());
        // The second collection comes first in the file but not by ORDER.
        const qint64 secondId = fixture.addCollection(kSecond, QStringLiteral("SECOND"), 2);
        const qint64 firstId = fixture.addCollection(kFirst, QStringLiteral("FIRST"), 1);
        fixture.addSetting(firstId, QStringLiteral("row.name.display.order"), 1);
        QHash<int, qint64> pages;
        for (const Chip &chip : firstChips()) {
            if (!pages.contains(chip.pageIndex))
                pages.insert(
                    chip.pageIndex, fixture.addPage(firstId, FixtureDatabase::Page { chip.pageIndex, chip.pageIndex }));
            const FixtureDatabase::Row row { chip.rowIndex, chip.code, chip.color, { "not shown", chip.name } };
            QVERIFY(fixture.addRow(firstId, pages.value(chip.pageIndex), row) > 0);
        }
        const qint64 secondPageId = fixture.addPage(secondId, FixtureDatabase::Page { 9, 1 });
        QVERIFY(fixture.addRow(
                    secondId, secondPageId, FixtureDatabase::Row { 2, "S-92", QColor(180, 60, 40), { "Other brick" } })
            > 0);
    }

    void rgbInputRanksLikeTheMatcher_data()
    {
        QTest::addColumn<QString>("rgb");
        QTest::newRow("between chips") << "6E6E6E";
        QTest::newRow("lower case with hash") << "#f0eee6";
    }

    void rgbInputRanksLikeTheMatcher()
    {
        QFETCH(QString, rgb);
        const ToolResult result
            = runMatch({ m_file, QStringLiteral("--rgb"), rgb, QStringLiteral("--count"), QStringLiteral("4") });
        QCOMPARE(result.exitCode, 0);
        const QString hex = rgb.right(6).toUpper();
        QCOMPARE(result.lines.size(), 5);
        QCOMPARE(result.lines.first(), hex);
        const auto ranking = expectedRanking(colorToLab(QColor(QStringLiteral("#") + hex)), firstChips());
        for (int i = 0; i < 4; ++i) {
            const Chip &chip = chipWithCode(ranking.at(i).first);
            QCOMPARE(result.lines.at(i + 1).trimmed().split(QLatin1Char('\t')),
                (QStringList { QString::number(i + 1), chip.code, chip.name,
                    QStringLiteral("page %1").arg(chip.pageIndex), QStringLiteral("row %1").arg(chip.rowIndex),
                    chip.color.name().mid(1).toUpper(), QString::number(ranking.at(i).second, 'f', 4) }));
        }
    }

    void jsonLinesCarryEveryField()
    {
        const QString list = m_folder.filePath(QStringLiteral("colours.txt"));
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("B43C28\n\n  #143c6e  \n50, 10, -20\n");
        file.close();
        const ToolResult result = runMatch({ m_file, QStringLiteral("--json"), QStringLiteral("--count"),
            QStringLiteral("2"), QStringLiteral("--lab"), QStringLiteral("97,0,2"), QStringLiteral("--csv"), list });
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.size(), 4);
        const QStringList inputs { QStringLiteral("97,0,2"), QStringLiteral("B43C28"), QStringLiteral("143C6E"),
            QStringLiteral("50,10,-20") };
        for (int i = 0; i < inputs.size(); ++i) {
            const QJsonObject object = QJsonDocument::fromJson(result.lines.at(i).toUtf8()).object();
            QCOMPARE(object.value(QStringLiteral("input")).toString(), inputs.at(i));
            QCOMPARE(object.value(QStringLiteral("matches")).toArray().size(), 2);
        }
        QCOMPARE(firstMatch(result.lines.at(1)).toVariantMap(),
            (QVariantMap { { "code", "F-11" }, { "name", "Brick" }, { "pageIndex", 3 }, { "rowIndex", 1 },
                { "rgb", "B43C28" }, { "deltaE", 0.0 } }));
        // A name with quotes stays valid JSON.
        QCOMPARE(
            firstMatch(result.lines.at(2)).value(QStringLiteral("name")).toString(), QStringLiteral("Sea \"deep\""));
        // The first Lab line ranks chalk first, by the same difference.
        const QJsonObject chalk = firstMatch(result.lines.at(0));
        QCOMPARE(chalk.value(QStringLiteral("code")).toString(), QStringLiteral("F-23"));
        const auto ranking = expectedRanking({ 97, 0, 2 }, firstChips());
        QCOMPARE(chalk.value(QStringLiteral("deltaE")).toDouble(), std::round(ranking.first().second * 1e4) / 1e4);
    }

    void collectionOptionSelectsTheCollection()
    {
        ToolResult result = runMatch({ m_file, QStringLiteral("--collection"), kSecond.toString(),
            QStringLiteral("--rgb"), QStringLiteral("B43C28"), QStringLiteral("--count"), QStringLiteral("3") });
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.lines.size(), 2); // one chip only in that collection
        QVERIFY(result.lines.at(1).contains(QStringLiteral("S-92\tOther brick\tpage 9\trow 2")));
    }

    void unusableInputsFailClearly_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << "@text --rgb 000000" << 1 << "is not a collection file";
        QTest::newRow("database without collections") << "@empty --rgb 000000" << 1 << "is not a collection file";
        QTest::newRow("missing file") << "@missing --rgb 000000" << 1 << "no such file";
        QTest::newRow("unknown collection") << "@file --collection {4c000000-0000-0000-0000-00000000004c} --rgb 000000"
                                            << 1 << "holds no enabled collection";
        QTest::newRow("bad colour") << "@file --rgb 12345" << 2 << "--rgb needs RRGGBB";
        QTest::newRow("bad Lab") << "@file --lab 1,2" << 2 << "--lab needs L,a,b";
        QTest::newRow("no colour") << "@file" << 2 << "usage:";
        QTest::newRow("zero count") << "@file --count 0 --rgb 000000" << 2 << "--count";
    }

    void unusableInputsFailClearly()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString text = m_folder.filePath(QStringLiteral("notes.db"));
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a database\n");
        notes.close();
        const QString empty = m_folder.filePath(QStringLiteral("empty.db"));
        {
            FixtureDatabase database(empty);
            QVERIFY(database.exec(QStringLiteral("DROP TABLE COLLECTION")));
        }
        arguments.replace(QStringLiteral("@text"), text)
            .replace(QStringLiteral("@empty"), empty)
            .replace(QStringLiteral("@missing"), m_folder.filePath(QStringLiteral("missing.db")))
            .replace(QStringLiteral("@file"), m_file);
        const ToolResult result = runMatch(arguments.split(QLatin1Char(' ')));
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.errors.contains(message), qPrintable(result.errors));
        QVERIFY(result.lines.isEmpty());
    }

private:
    QTemporaryDir m_folder;
    QString m_file;
};

HUELINK_TEST_MAIN(MatchCommandTest)
#include "MatchCommandTest.moc"
