#include "db/CollectionRegistry.h"
#include "db/StatementPool.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using Tintor::DB::StatementPool;

namespace {

const QUuid kDeck("{5d000000-0000-0000-0000-00000000005d}");
const QString kSql = QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.NAME = ?");

} // namespace

class StatementPoolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A reused statement answers each key it is run with; a run nested in the reading of the same statement gets
    // a statement of its own and leaves the outer row as it was.
    void reusedStatementsAnswerEachKey()
    {
        FixtureDatabase file(TestEnvironment::collectionFolder() + "/pool.db");
        const qint64 deck = file.addCollection(kDeck, "DECK", 1);
        file.addSetting(deck, "first", "1");
        file.addSetting(deck, "second", "2");
        QCOMPARE(Tintor::DB::discoverCollections(), 1);
        QSqlDatabase database = Tintor::DB::collectionDatabase(kDeck);

        const StatementPool pool;
        QStringList read;
        const auto readValue = [&read](QSqlQuery &query) {
            if (query.next())
                read << query.value(0).toString();
        };
        QVERIFY(StatementPool::run(database, kSql, { "first" }, [&](QSqlQuery &outer) {
            QVERIFY(outer.next());
            StatementPool::run(database, kSql, { "second" }, readValue);
            read << outer.value(0).toString();
        }));
        for (const char *name : { "second", "first", "third" })
            QVERIFY(StatementPool::run(database, kSql, { QString::fromLatin1(name) }, readValue));
        QCOMPARE(read, (QStringList { "2", "1", "2", "1" }));
        QVERIFY(!StatementPool::run(database, "SELECT NOTHING FROM NOWHERE", {}, [](QSqlQuery &) { QFAIL("read"); }));
    }
};

HUELINK_TEST_MAIN(StatementPoolTest)
#include "StatementPoolTest.moc"
