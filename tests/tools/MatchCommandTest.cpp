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
    return { run.finished ? run.exitCode : -1,
             QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts), QString::fromUtf8(run.err) };
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

} // namespace

class MatchCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(toolPath()), qPrintable(toolPath()));
        QVERIFY(m_folder.isValid());
        m_file = m_folder.filePath(QStringLiteral("match.db"));
        FixtureDatabase fixture(m_file);
        QVERIFY(fixture.isOpen());
        // The second collection comes first in the file but not by ORDER.
        const qint64 secondId = fixture.addCollection(kSecond, QStringLiteral("SECOND"), 2);
        const qint64 firstId = fixture.addCollection(kFirst, QStringLiteral("FIRST"), 1);
        fixture.addSetting(firstId, QStringLiteral("row.name.display.order"), 1);
        QHash<int, qint64> pages;
        for (const Chip &chip : firstChips()) {
            if (!pages.contains(chip.pageIndex)) {
                FixtureDatabase::Page page;
                page.pageIndex = chip.pageIndex;
                page.segment = chip.pageIndex;
                pages.insert(chip.pageIndex, fixture.addPage(firstId, page));
            }
            FixtureDatabase::Row row;
            row.rowIndex = chip.rowIndex;
            row.code = chip.code;
            row.color = chip.color;
            row.names = QStringList { QStringLiteral("not shown"), chip.name };
            QVERIFY(fixture.addRow(firstId, pages.value(chip.pageIndex), row) > 0);
        }
        FixtureDatabase::Page secondPage;
        secondPage.pageIndex = 9;
        secondPage.segment = 1;
        const qint64 secondPageId = fixture.addPage(secondId, secondPage);
        FixtureDatabase::Row other;
        other.rowIndex = 2;
        other.code = QStringLiteral("S-92");
        other.color = QColor(180, 60, 40);
        other.names = QStringList { QStringLiteral("Other brick") };
        QVERIFY(fixture.addRow(secondId, secondPageId, other) > 0);
    }

    void rgbInputRanksLikeTheMatcher_data()
    {
        QTest::addColumn<QString>("rgb");
        QTest::newRow("a chip's own colour") << "BE5A3C";
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
            const QStringList fields = result.lines.at(i + 1).trimmed().split(QLatin1Char('\t'));
            QCOMPARE(fields.size(), 7);
            const Chip &chip = chipWithCode(ranking.at(i).first);
            QCOMPARE(fields.at(0), QString::number(i + 1));
            QCOMPARE(fields.at(1), chip.code);
            QCOMPARE(fields.at(2), chip.name);
            QCOMPARE(fields.at(3), QStringLiteral("page %1").arg(chip.pageIndex));
            QCOMPARE(fields.at(4), QStringLiteral("row %1").arg(chip.rowIndex));
            QCOMPARE(fields.at(5), chip.color.name().mid(1).toUpper());
            QCOMPARE(fields.at(6), QString::number(ranking.at(i).second, 'f', 4));
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
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(result.lines.at(i).toUtf8(), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(object.value(QStringLiteral("input")).toString(), inputs.at(i));
            QCOMPARE(object.value(QStringLiteral("matches")).toArray().size(), 2);
        }
        const QJsonObject brick = QJsonDocument::fromJson(result.lines.at(1).toUtf8())
                                      .object()
                                      .value(QStringLiteral("matches"))
                                      .toArray()
                                      .first()
                                      .toObject();
        QCOMPARE(brick.value(QStringLiteral("code")).toString(), QStringLiteral("F-11"));
        QCOMPARE(brick.value(QStringLiteral("name")).toString(), QStringLiteral("Brick"));
        QCOMPARE(brick.value(QStringLiteral("pageIndex")).toInt(), 3);
        QCOMPARE(brick.value(QStringLiteral("rowIndex")).toInt(), 1);
        QCOMPARE(brick.value(QStringLiteral("rgb")).toString(), QStringLiteral("B43C28"));
        QCOMPARE(brick.value(QStringLiteral("deltaE")).toDouble(), 0.0);
        // A name with quotes stays valid JSON.
        const QJsonObject sea = QJsonDocument::fromJson(result.lines.at(2).toUtf8())
                                    .object()
                                    .value(QStringLiteral("matches"))
                                    .toArray()
                                    .first()
                                    .toObject();
        QCOMPARE(sea.value(QStringLiteral("name")).toString(), QStringLiteral("Sea \"deep\""));
        // The first Lab line ranks chalk first, by the same difference.
        const QJsonObject chalk = QJsonDocument::fromJson(result.lines.at(0).toUtf8())
                                      .object()
                                      .value(QStringLiteral("matches"))
                                      .toArray()
                                      .first()
                                      .toObject();
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
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QString rgb = QStringLiteral("--rgb");
        QTest::newRow("text file") << QStringList { QStringLiteral("@text"), rgb, QStringLiteral("000000") } << 1
                                   << "is not a collection file";
        QTest::newRow("database without collections") << QStringList { QStringLiteral("@empty"), rgb,
            QStringLiteral("000000") } << 1 << "is not a collection file";
        QTest::newRow("missing file") << QStringList { QStringLiteral("@missing"), rgb, QStringLiteral("000000") } << 1
                                      << "no such file";
        QTest::newRow("unknown collection") << QStringList { QStringLiteral("@file"), QStringLiteral("--collection"),
            QStringLiteral("{4c000000-0000-0000-0000-00000000004c}"), rgb, QStringLiteral("000000") }
                                            << 1 << "holds no enabled collection";
        QTest::newRow("bad colour") << QStringList { QStringLiteral("@file"), rgb, QStringLiteral("12345") } << 2
                                    << "--rgb needs RRGGBB";
        QTest::newRow("bad Lab") << QStringList { QStringLiteral("@file"), QStringLiteral("--lab"),
            QStringLiteral("1,2") }
                                 << 2 << "--lab needs L,a,b";
        QTest::newRow("no colour") << QStringList { QStringLiteral("@file") } << 2 << "usage:";
        QTest::newRow("zero count") << QStringList { QStringLiteral("@file"), QStringLiteral("--count"),
            QStringLiteral("0"), rgb, QStringLiteral("000000") }
                                    << 2 << "--count";
    }

    void unusableInputsFailClearly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString text = m_folder.filePath(QStringLiteral("notes.db"));
        QFile notes(text);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a database\n");
        notes.close();
        const QString empty = m_folder.filePath(QStringLiteral("empty.db"));
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
            database.setDatabaseName(empty);
            QVERIFY(database.open());
            QSqlQuery(database).exec(QStringLiteral("CREATE TABLE OTHER (ID integer)"));
            database.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("empty"));
        for (QString &argument : arguments) {
            if (argument == QLatin1String("@text"))
                argument = text;
            else if (argument == QLatin1String("@empty"))
                argument = empty;
            else if (argument == QLatin1String("@missing"))
                argument = m_folder.filePath(QStringLiteral("missing.db"));
            else if (argument == QLatin1String("@file"))
                argument = m_file;
        }
        const ToolResult result = runMatch(arguments);
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
