#include "SourceTable.h"
#include "ProblemList.h"
#include "SourceFiles.h"
#include "support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using Tintor::ProblemList;
using Tintor::SourceFiles;
using Tintor::SourceRecord;
using Tintor::SourceTable;

class SourceTableTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsesCsvFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines"); // "line:field|field|..."

        QTest::newRow("trimmed unquoted") << " a , b \n" << QStringList { "1:a|b" };
        QTest::newRow("quoted keeps spaces and commas") << "\" a, b \",c\n" << QStringList { "1: a, b |c" };
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x\n" << QStringList { "1:say \"hi\"|x" };
        QTest::newRow("empty fields") << "a,,c,\n" << QStringList { "1:a||c|" };
        QTest::newRow("crlf") << "a,b\r\n1,2\r\n" << QStringList { "1:a|b", "2:1|2" };
        QTest::newRow("no final newline") << "a,b\n1,2" << QStringList { "1:a|b", "2:1|2" };
        QTest::newRow("comments and blank lines keep line numbers") << "# head\na\n\n# note\nb\n"
                                                                    << QStringList { "2:a", "5:b" };
        QTest::newRow("multi-line quoted field") << "\"x\ny\",z\nnext\n" << QStringList { "1:x\ny|z", "3:next" };
        QTest::newRow("hash inside a row is text") << "a,#b\n" << QStringList { "1:a|#b" };
    }

    void parsesCsvFields()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QString error;
        int errorLine = 0;
        const QList<SourceTable::CsvRow> rows = SourceTable::parseCsv(text, &error, &errorLine);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QStringList actual;
        for (const SourceTable::CsvRow &row : rows)
            actual << QStringLiteral("%1:%2").arg(row.line).arg(row.fields.join(QLatin1Char('|')));
        QCOMPARE(actual, lines);
    }

    void reportsMalformedCsv_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");

        QTest::newRow("unclosed quote") << "a\n\"open,b\nc\n" << 2 << "never closed";
        QTest::newRow("text after closing quote") << "a\n\"x\"y,b\n" << 2 << "after a closing quote";
        QTest::newRow("quote inside unquoted field") << "a\nx\"y\n" << 2 << "quote inside";
    }

    void reportsMalformedCsv()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        QString error;
        int errorLine = 0;
        QVERIFY(SourceTable::parseCsv(text, &error, &errorLine).isEmpty());
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(errorLine, line);
    }

    void jsonScalarsBecomeText_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");

        QTest::newRow("string") << "[\"abc\"]" << true << "abc";
        QTest::newRow("true") << "[true]" << true << "1";
        QTest::newRow("integer") << "[24]" << true << "24";
        QTest::newRow("fraction") << "[0.6]" << true << "0.6";
        QTest::newRow("array of keys") << "[[\"matt\", \"gloss\"]]" << true << "matt;gloss";
        QTest::newRow("nested array") << "[[[1]]]" << false << "";
    }

    void jsonScalarsBecomeText()
    {
        QFETCH(QString, json);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        const QJsonValue value = QJsonDocument::fromJson(json.toUtf8()).array().at(0);
        QString out;
        QCOMPARE(SourceTable::jsonScalarText(value, out), ok);
        if (ok)
            QCOMPARE(out, text);
    }

    void csvRecordsNameTheirLineAndColumn()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("t.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Page,ROW\n# skip\n3,4\n5\n");
        file.close();
        ProblemList problems;
        const SourceFiles files(folder.path(), QStringLiteral("collection.json"), problems);
        const QList<SourceRecord> records = SourceTable::load(QJsonValue(QStringLiteral("t.csv")), QStringLiteral("x"),
            { QStringLiteral("page"), QStringLiteral("row") }, files);
        QVERIFY(!problems.hasErrors());
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).value(QStringLiteral("page")), QStringLiteral("3"));
        QCOMPARE(records.at(0).where(QStringLiteral("row")), QStringLiteral("t.csv:3: column \"row\""));
        QVERIFY(!records.at(1).has(QStringLiteral("row")));
        QCOMPARE(records.at(1).origin(), QStringLiteral("t.csv:4"));

        // More fields than the header names is an error.
        QFile wide(folder.filePath(QStringLiteral("wide.csv")));
        QVERIFY(wide.open(QIODevice::WriteOnly));
        wide.write("page\n1,2\n");
        wide.close();
        QVERIFY(SourceTable::load(
            QJsonValue(QStringLiteral("wide.csv")), QStringLiteral("x"), { QStringLiteral("page") }, files)
                    .isEmpty());
        QCOMPARE(
            problems.errors(), QStringList { QStringLiteral("wide.csv:2: 2 fields, but the header names 1 columns") });
    }

    void inlineRecordsNameTheirJsonPath()
    {
        QTemporaryDir folder;
        ProblemList problems;
        const SourceFiles files(folder.path(), QStringLiteral("collection.json"), problems);
        const QJsonValue value = QJsonDocument::fromJson("[{\"page\": 1}, {\"Page\": 2, \"colour\": 3}]").array();
        const QList<SourceRecord> records
            = SourceTable::load(value, QStringLiteral("collections[0].pages"), { QStringLiteral("page") }, files);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(1).value(QStringLiteral("page")), QStringLiteral("2"));
        QCOMPARE(records.at(0).where(QStringLiteral("page")),
            QStringLiteral("collection.json: collections[0].pages[0].page"));
        QCOMPARE(problems.errors(),
            QStringList { QStringLiteral("collection.json: collections[0].pages[1].colour: unknown field") });
    }
};

HUELINK_TEST_MAIN(SourceTableTest)
#include "SourceTableTest.moc"
