#include "db/Schema.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class SchemaTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixtureFileHoldsEveryTableAndTheSeedRows()
    {
        QTemporaryDir dir;
        FixtureDatabase fixture(dir.filePath("a.db"));
        QVERIFY(fixture.isOpen());
        QSqlDatabase db = fixture.database();
        const QStringList tables = db.tables(QSql::AllTables);
        for (const QString &table : Tintor::DB::Schema::tableNames()) {
            if (table == QLatin1String("CAPSURE_COLLECTION_IDS_BY_PRIORITY"))
                QVERIFY(db.tables(QSql::Views).contains(table));
            else
                QVERIFY2(tables.contains(table), qPrintable(table));
        }
        QCOMPARE(FixtureDatabase::rows(db,
                     "SELECT (SELECT COUNT(*) FROM MOOD), (SELECT COUNT(*) FROM SCHEME), ID, "
                     "SYSTEMID FROM COLLECTION"),
            QStringList { "6|8|0|VIRTUAL" });
    }
};

HUELINK_TEST_MAIN(SchemaTest)
#include "SchemaTest.moc"
