#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QtTest>

namespace UserState = Tintor::UserState;
using Tintor::DB::ItemIndex;

namespace {

const QUuid kDeck = QUuid::fromString("{5c1f0a52-3e4b-4d8a-9b7e-1f2a3b4c5d6e}");
const QUuid kOtherDeck = QUuid::fromString("{a0b1c2d3-e4f5-4a6b-8c7d-9e0f1a2b3c4d}");

// The store as other readers see it: names spelled out here, so a reader and writer agreeing on a wrong one fail.
std::unique_ptr<QSettings> rawStore()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Vestrel", "Huelink.Photoshop");
}

using DeckReader = std::function<int(const QUuid &)>;

const QHash<QString, DeckReader> &deckReaders()
{
    static const QHash<QString, DeckReader> readers {
        { "SegmentIndex", UserState::segmentIndex },
        { "MoodFilter", UserState::moodFilter },
        { "PageIndex", UserState::pageIndex },
        { "RowIndex", UserState::rowIndex },
        { "TabPageIndex", UserState::tabPageIndex },
        { "SchemeKind", UserState::schemeKind },
        { "SchemeNeutralSubKind", UserState::schemeNeutralSubKind },
        { "ExteriorColors", [](const QUuid &u) { return int(UserState::exteriorColors(u)); } },
        { "ShowMto", [](const QUuid &u) { return int(UserState::showMto(u)); } },
    };
    return readers;
}

} // namespace

class UserStateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { TestEnvironment::resetUserState(); }

    void freshUserGetsTheDefaults()
    {
        QVERIFY(UserState::lastUsedCollection().isNull());
        QCOMPARE(UserState::hostApplicationPid(), 0);
        const QList<std::pair<const char *, int>> defaults { { "SegmentIndex", 1 }, { "PageIndex", 1 },
            { "RowIndex", 1 }, { "MoodFilter", 7 }, { "ExteriorColors", 0 }, { "ShowMto", 0 }, { "TabPageIndex", 0 },
            { "SchemeKind", 0 }, { "SchemeNeutralSubKind", 7 } };
        for (const auto &[key, value] : defaults)
            QVERIFY2(deckReaders().value(QString::fromLatin1(key))(kDeck) == value, key);
        QCOMPARE(UserState::colorForesightGroupOpenState(kDeck, 4, true), true);
        QCOMPARE(UserState::colorForesightGroupOpenState(kDeck, 4, false), false);
        QVERIFY(UserState::myPaletteEntry(0, 0) == ItemIndex());
        QCOMPARE(UserState::myPaletteCellSelected(3, 5), false);
        QCOMPARE(UserState::myPaletteGridVisible(), true);
        QCOMPARE(UserState::myPaletteSaveFileFormat(), false);
        QCOMPARE(UserState::myPaletteLastSavePath(), QString());
        QCOMPARE(UserState::myPaletteFullBackgroundColor(), 176);
        // Reading never writes.
        QVERIFY(rawStore()->allKeys().isEmpty());
    }

    void storedValuesAreValidatedOnRead()
    {
        // Keys without a range take any integer, only an integer; unknown positions read as the default (no overflow).
        const QList<std::tuple<const char *, QVariant, int>> values { { "MoodFilter", 0, 7 }, { "MoodFilter", 8, 7 },
            { "MoodFilter", 1, 1 }, { "MoodFilter", "warm", 7 }, { "TabPageIndex", 1, 1 }, { "TabPageIndex", 2, 2 },
            { "TabPageIndex", 4, 4 }, { "TabPageIndex", 8, 8 }, { "SchemeKind", 10, 0 }, { "SchemeKind", 1, 1 },
            { "SchemeKind", 9, 9 }, { "SchemeNeutralSubKind", 6, 7 }, { "SchemeNeutralSubKind", 10, 7 },
            { "SchemeNeutralSubKind", 9, 9 }, { "SegmentIndex", 17, 17 }, { "SegmentIndex", "2.5", 1 },
            { "PageIndex", 40, 40 }, { "PageIndex", QString(), 1 }, { "ExteriorColors", true, 1 },
            { "ExteriorColors", "1", 1 }, { "ExteriorColors", "maybe", 0 }, { "ShowMto", "0", 0 },
            { "SegmentIndex", "-2147483648", 1 }, { "SegmentIndex", "99999999999", 1 },
            { "PageIndex", "2147483647", 1 }, { "RowIndex", -1000001, 1 }, { "RowIndex", 1000000, 1000000 } };
        for (const auto &[name, stored, expected] : values) {
            const QString key = QString::fromLatin1(name);
            rawStore()->setValue(kDeck.toString() + QLatin1Char('/') + key, stored);
            QVERIFY2(
                deckReaders().value(key)(kDeck) == expected, qPrintable(key + QLatin1Char('=') + stored.toString()));
            // The other collection still reads its default.
            const int fallback = deckReaders().value(key)(kOtherDeck);
            rawStore()->setValue(kOtherDeck.toString() + QLatin1Char('/') + key, "not a value");
            QCOMPARE(deckReaders().value(key)(kOtherDeck), fallback);
        }
    }

    void writersStoreUnderTheirKeys()
    {
        const QString deck = kDeck.toString() + QLatin1Char('/');
        const QList<std::tuple<QString, QVariant, std::function<void()>>> writes {
            { deck + "SegmentIndex", 5, [] { UserState::setSegmentIndex(kDeck, 5); } },
            { deck + "MoodFilter", 3, [] { UserState::setMoodFilter(kDeck, 3); } },
            { deck + "ExteriorColors", true, [] { UserState::setExteriorColors(kDeck, true); } },
            { deck + "ShowMto", true, [] { UserState::setShowMto(kDeck, true); } },
            { deck + "PageIndex", 14, [] { UserState::setPageIndex(kDeck, 14); } },
            { deck + "RowIndex", 6, [] { UserState::setRowIndex(kDeck, 6); } },
            { deck + "TabPageIndex", 4, [] { UserState::setTabPageIndex(kDeck, 4); } },
            { deck + "SchemeKind", 9, [] { UserState::setSchemeKind(kDeck, 9); } },
            { deck + "SchemeNeutralSubKind", 8, [] { UserState::setSchemeNeutralSubKind(kDeck, 8); } },
            { deck + "ColorForesightGroup_12_OpenState", false,
                [] { UserState::setColorForesightGroupOpenState(kDeck, 12, false); } },
            { "HostApplicationPID", qint64(5000000123), [] { UserState::setHostApplicationPid(qint64(5000000123)); } },
            { "MyPalette/MyPaletteGridVisible", false, [] { UserState::setMyPaletteGridVisible(false); } },
            { "MyPalette/MyPaletteSaveFileFormat", 1, [] { UserState::setMyPaletteSaveFileFormat(1); } },
            { "MyPalette/MyPaletteLastSavePath", "/home/user/deck.palette",
                [] { UserState::setMyPaletteLastSavePath("/home/user/deck.palette"); } },
            { "MyPalette/MyPaletteSwatchFormat", "gpl", [] { UserState::setMyPaletteSwatchFormat("gpl"); } },
            { "MyPalette/MyPaletteDescription", "Kitchen", [] { UserState::setMyPaletteDescription("Kitchen"); } },
            { "MyPalette/MyPaletteFullBackgroundColor", 90, [] { UserState::setMyPaletteFullBackgroundColor(90); } }
        };
        for (const auto &[key, value, write] : writes) {
            write();
            QVERIFY2(rawStore()->value(key).toString() == value.toString(), qPrintable(key));
        }

        // And those without a reading row above read back through their readers.
        QCOMPARE(UserState::colorForesightGroupOpenState(kDeck, 12, true), false);
        QCOMPARE(UserState::colorForesightGroupOpenState(kDeck, 13, true), true);
        QCOMPARE(UserState::hostApplicationPid(), qint64(5000000123));
        QCOMPARE(UserState::myPaletteGridVisible(), false);
        QCOMPARE(UserState::myPaletteSaveFileFormat(), true);
        QCOMPARE(UserState::myPaletteLastSavePath(), "/home/user/deck.palette");
        QCOMPARE(UserState::myPaletteSwatchFormat(), "gpl");
        QCOMPARE(UserState::myPaletteFullBackgroundColor(), 90);
        // Every write reaches the file before it returns.
        UserState::setPageIndex(kDeck, 23);
        const QString fileName = rawStore()->fileName();
        QVERIFY(fileName.endsWith(QLatin1String("Vestrel/Huelink.Photoshop.ini")));
        const QByteArray text = FixtureDatabase::readFile(fileName);
        QVERIFY2(text.contains("PageIndex=23"), text.constData());
        // The INI format escapes the braces of the group name.
        QVERIFY(text.contains(kDeck.toString(QUuid::WithoutBraces).toLatin1()));
    }

    void paletteCellEntryIsStoredAsItsText()
    {
        const ItemIndex chip { kDeck, 3, 7 };
        UserState::setMyPaletteEntry(2, 5, chip);
        QCOMPARE(rawStore()->value("MyPalette/(2,5).Entry").toString(), chip.toText());
        QVERIFY(!rawStore()->contains("MyPalette/(5,2).Entry"));
        QVERIFY(UserState::myPaletteEntry(2, 5) == chip);
        QVERIFY(UserState::myPaletteEntry(5, 2) == ItemIndex());
        // Default index or row ID 0 clears the cell.
        for (const qint64 colorId : { qint64(-1), qint64(0) }) {
            UserState::setMyPaletteEntry(1, 4, ItemIndex { kDeck, 3, 7 });
            UserState::setMyPaletteEntry(0, 0, ItemIndex { kDeck, 3, 8 });
            UserState::setMyPaletteEntry(1, 4, ItemIndex { kDeck, 3, colorId });
            QVERIFY(!rawStore()->contains("MyPalette/(1,4).Entry"));
            QVERIFY(rawStore()->contains("MyPalette/(0,0).Entry"));
            QVERIFY(UserState::myPaletteEntry(1, 4) == ItemIndex());
        }
        UserState::setMyPaletteCellSelected(3, 1, true);
        UserState::setMyPaletteCellSelected(0, 2, true);
        QCOMPARE(rawStore()->value("MyPalette/(3,1).Selected").toBool(), true);
        QCOMPARE(UserState::myPaletteCellSelected(3, 1), true);
        QCOMPARE(UserState::myPaletteCellSelected(1, 3), false);

        UserState::setMyPaletteCellSelected(3, 1, false);
        QVERIFY(!rawStore()->contains("MyPalette/(3,1).Selected"));
        QCOMPARE(UserState::myPaletteCellSelected(3, 1), false);
        QCOMPARE(UserState::myPaletteCellSelected(0, 2), true);
        // Deselecting a cell that was never selected writes nothing.
        UserState::setMyPaletteCellSelected(2, 2, false);
        QVERIFY(!rawStore()->contains("MyPalette/(2,2).Selected"));
    }

    void saveFileFormatIsTrueOnlyForOne()
    {
        for (const int stored : { 0, 1, 2 }) {
            rawStore()->setValue("MyPalette/MyPaletteSaveFileFormat", stored);
            QCOMPARE(UserState::myPaletteSaveFileFormat(), stored == 1);
            UserState::setMyPaletteSaveFileFormat(stored);
            QCOMPARE(UserState::myPaletteSaveFileFormat(), stored == 1);
        }
        rawStore()->setValue("MyPalette/MyPaletteFullBackgroundColor", "grey");
        QCOMPARE(UserState::myPaletteFullBackgroundColor(), 176);
        rawStore()->setValue("MyPalette/MyPaletteGridVisible", "false");
        QCOMPARE(UserState::myPaletteGridVisible(), false);
        rawStore()->setValue("HostApplicationPID", "host");
        QCOMPARE(UserState::hostApplicationPid(), 0);
    }

    void lastUsedCollectionIsCachedAfterAWrite()
    {
        UserState::setLastUsedCollection(kDeck);
        QCOMPARE(rawStore()->value("UuidOfLastUsedCollection").toString(), kDeck.toString());
        // The cache answers; the store is not read again.
        rawStore()->setValue("UuidOfLastUsedCollection", kOtherDeck.toString());
        QCOMPARE(UserState::lastUsedCollection(), kDeck);
        UserState::forgetCachedLastUsedCollection();
        QCOMPARE(UserState::lastUsedCollection(), kOtherDeck);
        // The first successful read fills the cache.
        rawStore()->setValue("UuidOfLastUsedCollection", kDeck.toString());
        QCOMPARE(UserState::lastUsedCollection(), kOtherDeck);
        // An unreadable value is tried again.
        TestEnvironment::resetUserState();
        QVERIFY(UserState::lastUsedCollection().isNull());
        rawStore()->setValue("UuidOfLastUsedCollection", "not a uuid");
        QVERIFY(UserState::lastUsedCollection().isNull());
        rawStore()->setValue("UuidOfLastUsedCollection", kOtherDeck.toString().toUpper());
        QCOMPARE(UserState::lastUsedCollection(), kOtherDeck);
    }

    // Reads answer from memory between changes of the file, yet see another writer's change of the same size.
    void readsSeeAnotherWritersChange()
    {
        UserState::setPageIndex(kDeck, 5);
        QCOMPARE(UserState::pageIndex(kDeck), 5);
        const QString path = rawStore()->fileName();
        QByteArray text = FixtureDatabase::readFile(path);
        text.replace("PageIndex=5", "PageIndex=7");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush());
        // Within one clock tick of the last write the file time would not move
        // (flushed first: a later flush would set it to now again).
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(UserState::pageIndex(kDeck), 7);
    }

    // Deferred writes are read back at once and reach the file together, removals included.
    void deferredWritesReachTheFileTogether()
    {
        UserState::setMyPaletteCellSelected(1, 2, true);
        const QString path = rawStore()->fileName();
        const QByteArray before = FixtureDatabase::readFile(path);
        UserState::deferWrites();
        UserState::setPageIndex(kDeck, 4);
        UserState::setMyPaletteCellSelected(1, 2, false);
        QCOMPARE(UserState::pageIndex(kDeck), 4);
        QCOMPARE(UserState::myPaletteCellSelected(1, 2), false);
        QCOMPARE(FixtureDatabase::readFile(path), before);
        UserState::writeDeferred();
        const QByteArray after = FixtureDatabase::readFile(path);
        QVERIFY(after.contains("PageIndex=4"));
        QVERIFY(!after.contains("Selected"));
        // Later writes go straight to the file again.
        UserState::setPageIndex(kDeck, 6);
        QVERIFY(FixtureDatabase::readFile(path).contains("PageIndex=6"));
    }

    // A write the disk cuts short (here a file-size limit) keeps the whole previous store and says so.
    void cutStoreWriteKeepsThePreviousFile()
    {
        UserState::setMyPaletteDescription(QString(6000, 'n'));
        UserState::setPageIndex(kDeck, 5);
        const QString path = rawStore()->fileName();
        const QByteArray before = FixtureDatabase::readFile(path);
        const int result = ProgramRun::forkedUnderFileSizeLimit(2048, [] {
            static bool reported = false;
            QLoggingCategory::setFilterRules("huelink.debug=true");
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
                reported = reported || message.contains("User state not written");
            });
            UserState::setPageIndex(kDeck, 9);
            return reported ? 0 : 1;
        });
        QCOMPARE(result, 0);
        QCOMPARE(FixtureDatabase::readFile(path), before);
        QCOMPARE(UserState::pageIndex(kDeck), 5);
    }
};

HUELINK_TEST_MAIN(UserStateTest)
#include "UserStateTest.moc"
