#include "SourceTable.h"
#include "ProblemList.h"
#include "SourceFiles.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::ProblemList;
using Tintor::SourceFiles;
using Tintor::SourceRecord;
using Tintor::SourceTable;

class SourceTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Fields as "line:field|field|..."; for malformed text the error line and a part of the message.
    void parsesCsvFields()
    {
        const std::pair<const char *, QStringList> texts[]
            = { { " a , b \n", { "1:a|b" } }, { "\" a, b \",c\n", { "1: a, b |c" } },
                  { "\"say \"\"hi\"\"\",x\n", { "1:say \"hi\"|x" } }, { "a,,c,\n", { "1:a||c|" } },
                  { "a,b\r\n1,2\r\n", { "1:a|b", "2:1|2" } }, { "a,b\n1,2", { "1:a|b", "2:1|2" } },
                  { "# head\na\n\n# note\nb\n", { "2:a", "5:b" } }, { "\"x\ny\",z\nnext\n", { "1:x\ny|z", "3:next" } },
                  { "a,#b\n", { "1:a|#b" } }, { "a\n\"open,b\nc\n", { "2", "never closed" } },
                  { "a\n\"x\"y,b\n", { "2", "after a closing quote" } }, { "a\nx\"y\n", { "2", "quote inside" } } };
        for (const auto &[text, lines] : texts) {
            QString error;
            int errorLine = 0;
            const QList<SourceTable::CsvRow> rows = SourceTable::parseCsv(text, &error, &errorLine);
            QStringList actual;
            for (const SourceTable::CsvRow &row : rows)
                actual << QStringLiteral("%1:%2").arg(row.line).arg(row.fields.join(QLatin1Char('|')));
            if (lines.first().contains(QLatin1Char(':')))
                QVERIFY2(error.isEmpty() && actual == lines, qPrintable(error + actual.join(QLatin1Char(' '))));
            else
                QVERIFY2(rows.isEmpty() && error.contains(lines.at(1)) && errorLine == lines.first().toInt(), text);
        }
    }

    void jsonScalarsBecomeText()
    {
        // An empty text: refused.
        const std::pair<const char *, const char *> values[] = { { "[\"abc\"]", "abc" }, { "[true]", "1" },
            { "[24]", "24" }, { "[0.6]", "0.6" }, { "[[\"matt\", \"gloss\"]]", "matt;gloss" }, { "[[[1]]]", "" } };
        for (const auto &[json, text] : values) {
            QString out;
            QCOMPARE(SourceTable::jsonScalarText(QJsonDocument::fromJson(json).array().at(0), out), *text != 0);
            if (*text)
                QCOMPARE(out, QString::fromLatin1(text));
        }
    }

    void csvRecordsNameTheirLineAndColumn()
    {
        QTemporaryDir folder;
        QVERIFY(FixtureDatabase::writeFile(folder.filePath("t.csv"), "Page,ROW\n# skip\n3,4\n5\n"));
        ProblemList problems;
        const SourceFiles files(folder.path(), "collection.json", problems);
        const QList<SourceRecord> records = SourceTable::load(QJsonValue("t.csv"), "x", { "page", "row" }, files);
        QVERIFY(!problems.hasErrors());
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).value("page"), "3");
        QCOMPARE(records.at(0).where("row"), "t.csv:3: column \"row\"");
        QVERIFY(!records.at(1).has("row"));
        QCOMPARE(records.at(1).origin(), "t.csv:4");

        // More fields than the header names is an error.
        QVERIFY(FixtureDatabase::writeFile(folder.filePath("wide.csv"), "page\n1,2\n"));
        QVERIFY(SourceTable::load(QJsonValue("wide.csv"), "x", { "page" }, files).isEmpty());
        QCOMPARE(problems.errors(), QStringList { "wide.csv:2: 2 fields, but the header names 1 columns" });
    }

    void inlineRecordsNameTheirJsonPath()
    {
        QTemporaryDir folder;
        ProblemList problems;
        const SourceFiles files(folder.path(), "collection.json", problems);
        const QJsonValue value = QJsonDocument::fromJson("[{\"page\": 1}, {\"Page\": 2, \"colour\": 3}]").array();
        const QList<SourceRecord> records = SourceTable::load(value, "collections[0].pages", { "page" }, files);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(1).value("page"), "2");
        QCOMPARE(records.at(0).where("page"), "collection.json: collections[0].pages[0].page");
        QCOMPARE(problems.errors(), QStringList { "collection.json: collections[0].pages[1].colour: unknown field" });
    }
};

HUELINK_TEST_MAIN(SourceTableTest)
#include "SourceTableTest.moc"
