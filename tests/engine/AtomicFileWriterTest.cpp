#include "engine/inc/AtomicFileWriter.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::AtomicFileWriter;

class AtomicFileWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutWriteKeepsOldFileAndSaysWhy_data()
    {
        QTest::addColumn<int>("size");
        // Below the toolkit's 16 KB write buffer only the last flush meets the limit; above it the write does.
        QTest::newRow("cut at the last flush") << 4000;
        QTest::newRow("cut while writing") << 40000;
    }

    void cutWriteKeepsOldFileAndSaysWhy()
    {
        QFETCH(int, size);
        QTemporaryDir folder;
        const QString path = folder.filePath("mine.palette");
        const QByteArray old(311, 'o');
        const QByteArray replacement(size, 'n');
        QString error;
        QVERIFY(AtomicFileWriter::write(path, old, error));
        const int result = ProgramRun::forkedUnderFileSizeLimit(1024, [&] {
            QString reason;
            return AtomicFileWriter::write(path, replacement, reason) ? 1 : reason.isEmpty() ? 2 : 0;
        });
        QCOMPARE(result, 0);
        QCOMPARE(FixtureDatabase::readFile(path), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "mine.palette" });
        QVERIFY2(AtomicFileWriter::write(path, replacement, error), qPrintable(error));
        QCOMPARE(FixtureDatabase::readFile(path), replacement);
    }
};

HUELINK_TEST_MAIN(AtomicFileWriterTest)
#include "AtomicFileWriterTest.moc"
