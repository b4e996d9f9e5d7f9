#include "db/Schema.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

class SchemaTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixtureFileHoldsEveryTableAndTheSeedRows()
    {
        QTemporaryDir dir;
        FixtureDatabase fixture(dir.filePath(QStringLiteral("a.db")));
        QVERIFY(fixture.isOpen());
        QSqlDatabase db = fixture.database();
        const QStringList tables = db.tables(QSql::AllTables);
        for (const QString &table : Tintor::DB::Schema::tableNames()) {
            if (table == QLatin1String("CAPSURE_COLLECTION_IDS_BY_PRIORITY"))
                QVERIFY(db.tables(QSql::Views).contains(table));
            else
                QVERIFY2(tables.contains(table), qPrintable(table));
        }
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM MOOD")) && query.next());
        QCOMPARE(query.value(0).toInt(), 6);
        QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM SCHEME")) && query.next());
        QCOMPARE(query.value(0).toInt(), 8);
        QVERIFY(query.exec(QStringLiteral("SELECT ID, SYSTEMID, \"ORDER\" FROM COLLECTION")) && query.next());
        QCOMPARE(query.value(0).toInt(), 0);
        QCOMPARE(query.value(1).toString(), QStringLiteral("VIRTUAL"));
    }
};

HUELINK_TEST_MAIN(SchemaTest)
#include "SchemaTest.moc"
