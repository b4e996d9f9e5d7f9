#include "ui/browse/CardRollerWidget.h"
#include "color/ColorScience.h"
#include "db/SearchQueries.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/MainWidgetAccess.h"

#include <QDrag>
#include <QSqlQuery>
#include <QToolTip>

using namespace Tintor;
using BrowseFixture::addRows;
using BrowseFixture::fetchRow;

namespace {

const QUuid kDeck(QStringLiteral("{3c000000-0000-0000-0000-000000000001}"));
const QUuid kOther(QStringLiteral("{3c000000-0000-0000-0000-000000000002}"));
const QUuid kPelvon(QStringLiteral("{3c000000-0000-0000-0000-000000000003}"));
const QUuid kSingle(QStringLiteral("{3c000000-0000-0000-0000-000000000004}"));
const QUuid kTwo(QStringLiteral("{3c000000-0000-0000-0000-000000000005}"));
const QUuid kEmptyCard(QStringLiteral("{3c000000-0000-0000-0000-000000000006}"));
const QUuid kNear(QStringLiteral("{3c000000-0000-0000-0000-000000000007}"));
const QUuid kEdge(QStringLiteral("{3c000000-0000-0000-0000-000000000008}"));
const QUuid kNoThreshold(QStringLiteral("{3c000000-0000-0000-0000-000000000009}"));
const QUuid kUnknown(QStringLiteral("{3c000000-0000-0000-0000-0000000000ff}"));
const QColor kDropped(124, 62, 33);

struct StandInMainWidget : MainWidgetAccess {
    std::vector<LabCandidate> candidates;
    explicit StandInMainWidget(const QUuid &collection)
    {
        DB::matchCandidates(collection, candidates);
        setCurrent(this);
    }
    ~StandInMainWidget() override { setCurrent(nullptr); }
    const std::vector<LabCandidate> &colorCandidates() const override { return candidates; }
};

void use(const QUuid &collection, int pageIndex = 1, int rowIndex = 1)
{
    UserState::setLastUsedCollection(collection);
    UserState::setPageIndex(collection, pageIndex);
    UserState::setRowIndex(collection, rowIndex);
}

// A roller at its size in the main widget, painted once so that the chips are laid out.
std::unique_ptr<CardRollerWidget> paintedRoller()
{
    auto roller = std::make_unique<CardRollerWidget>();
    roller->resize(300, 320);
    roller->show();
    roller->grab();
    return roller;
}

// Logs every signal and, as the main widget does, stores page, row and (if accepted) collection.
void wire(CardRollerWidget &roller, QStringList &log, bool acceptCollections = true)
{
    QObject::connect(&roller, &CardRollerWidget::roll, [&log](Direction direction) {
        log << (direction == Forward ? QStringLiteral("roll:forward") : QStringLiteral("roll:backward"));
    });
    QObject::connect(&roller, &CardRollerWidget::pageChangedInteractively, [&log](int page) {
        log << QStringLiteral("page:%1").arg(page);
        UserState::setPageIndex(UserState::lastUsedCollection(), page);
    });
    QObject::connect(&roller, &CardRollerWidget::rowChangedInteractively, [&log](int row) {
        log << QStringLiteral("row:%1").arg(row);
        UserState::setRowIndex(UserState::lastUsedCollection(), row);
    });
    QObject::connect(&roller, &CardRollerWidget::collectionSelectedInteractively, [&, acceptCollections](QUuid uuid) {
        log << QStringLiteral("collection:%1").arg(uuid.toString());
        if (acceptCollections)
            UserState::setLastUsedCollection(uuid);
    });
}

// Enter, move and drop on a fresh roller, as a real drag does; "refused" ends the log of a drop not taken.
QStringList drop(const QString &payload, bool acceptCollections = true)
{
    auto roller = paintedRoller();
    QStringList log;
    wire(*roller, log, acceptCollections);
    std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(payload));
    const QPoint at = roller->cardRect(CardRollerWidget::MiddleSlot).center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(roller.get(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(roller.get(), &move);
    QDropEvent event(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QApplication::sendEvent(roller.get(), &event);
    if (!event.isAccepted())
        log << QStringLiteral("refused");
    return log;
}

const QList<std::tuple<const char *, QUuid, int, int, int, QStringList>> clickCases
    = { { "middle chip", kDeck, 1, 1, 2, { "row:3" } }, { "selected chip", kDeck, 3, 1, 2, {} },
          { "left card rolls back", kDeck, 1, 0, 1, { "roll:backward", "row:2" } },
          { "right card rolls on, same row", kDeck, 1, 2, 0, { "roll:forward" } },
          { "masked chip of a side card only rolls", kPelvon, 1, 2, 1, { "roll:forward" } },
          { "masked middle chip", kPelvon, 1, 1, 1, {} }, { "unmasked pelvon chip", kPelvon, 1, 1, 2, { "row:3" } } };

const QList<std::tuple<const char *, QUuid, QString, bool, QStringList>> droppedChips
    = { { "current collection", kDeck, "DK3-4", true, { "page:3", "row:4" } },
          { "already there", kDeck, "DK1-1", true, {} }, { "no such chip", kDeck, "none", true, {} },
          { "another collection", kOther, "OT2-3", true, { "collection:" + kOther.toString(), "page:2", "row:3" } },
          { "refused collection ends the drop", kOther, "OT2-3", false, { "collection:" + kOther.toString() } } };

const QColor kNone(1, 2, 3);
const QList<std::tuple<const char *, QUuid, QColor, QString, QString, QStringList>> droppedColours
    = { { "first name is a code, any case", kDeck, kNone, "dk4-2", "", { "page:4", "row:2" } },
          { "second name is a code", kDeck, kNone, "nothing", "DK2-5", { "page:2", "row:5" } },
          { "first name wins", kDeck, kNone, "DK3-1", "DK2-5", { "page:3" } },
          { "same RGB", kDeck, QColor(120, 80, 7), "", "", { "page:3", "row:2" } },
          { "code of another collection", kDeck, kNone, "OT1-2", "", { "collection:" + kOther.toString(), "row:2" } },
          { "nothing matches, no main widget", kDeck, kNone, "", "", {} },
          // The nearest chip counts only within the collection's threshold.
          { "just below the threshold", kNear, kDropped, "", "", { "row:2" } },
          { "exactly at the threshold", kEdge, kDropped, "", "", {} },
          { "no threshold", kNoThreshold, kDropped, "", "", {} } };

} // namespace

class CardRollerWidgetTest : public QObject {
    Q_OBJECT

    QHash<QString, qint64> chipIds; // by code

    QString payload(ChipSource source, const QUuid &collection, const QString &code)
    {
        DB::ColorEntry chip;
        chip.id = chipIds.value(code);
        return chipPayloadText(source, collection, chip);
    }

private Q_SLOTS:
    void initTestCase()
    {
        FixtureDatabase fixture(TestEnvironment::collectionFolder() + QStringLiteral("/roller.db"));
        QVERIFY(fixture.isOpen());
        // Prefix, card type, card titles, chips per card, made-to-order row, the chips' blue.
        const QList<std::tuple<QUuid, const char *, const char *, QStringList, int, int, int>> decks
            = { { kDeck, "DK", "normal", { "First", "Second", "", "Fourth" }, 5, 0, 7 },
                  { kOther, "OT", "normal", { "Other 1", "Other 2" }, 3, 0, 200 },
                  { kPelvon, "PV", "pelvon", { "", "", "" }, 4, 2, 120 }, { kSingle, "SG", "", { "" }, 3, 0, 50 },
                  { kTwo, "TW", "", { "", "" }, 2, 0, 60 }, { kEmptyCard, "EC", "", { "Nothing", "", "" }, 2, 0, 70 },
                  { kNear, "NR", "", { "" }, 0, 0, 0 }, { kEdge, "ED", "", { "" }, 0, 0, 0 },
                  { kNoThreshold, "NT", "", { "" }, 0, 0, 0 } };
        const QList<QList<QColor>> thresholdChips = { { QColor(10, 200, 10), QColor(120, 60, 30) },
            { QColor(121, 60, 30), QColor(10, 10, 200) }, { QColor(122, 60, 30) } };
        QHash<QUuid, qint64> ids;
        for (int order = 1; order <= decks.size(); ++order) {
            const auto &[uuid, prefix, cardType, titles, chips, madeToOrderRow, blue] = decks.at(order - 1);
            const qint64 id = ids[uuid] = fixture.addCollection(uuid, QLatin1String(prefix), order);
            if (*cardType)
                fixture.addSetting(id, QStringLiteral("card.type"), QLatin1String(cardType));
            fixture.addSetting(id, QStringLiteral("page.name.display.order"), 1);
            fixture.addSetting(id, QStringLiteral("color.tooltip.show.row.code"), 1);
            for (int page = 1; page <= titles.size(); ++page) {
                QList<QColor> colors;
                for (int row = 1; row <= chips && !(uuid == kEmptyCard && page == 1); ++row)
                    colors << QColor(40 * page, 40 * row, blue);
                if (order > 6)
                    colors = thresholdChips.at(order - 7);
                BrowseFixture::addCard(fixture, id,
                    FixtureDatabase::Page(
                        page, page, { QStringLiteral("card%1").arg(page), titles.at(page - 1) }, false, MoodFresh),
                    colors, QStringLiteral("%1%2-").arg(QLatin1String(prefix)).arg(page), &chipIds,
                    [mto = madeToOrderRow](FixtureDatabase::Row &row) { row.madeToOrder = row.rowIndex == mto; });
            }
        }
        const double nearDistance = deltaE2000(colorToLab(kDropped), colorToLab(thresholdChips.at(0).at(1)));
        fixture.addSetting(ids[kNear], QStringLiteral("cie2000.delta.intervals"),
            QString::number(nearDistance + 0.01, 'g', 17) + QStringLiteral(",50"));
        fixture.addSetting(ids[kEdge], QStringLiteral("cie2000.delta.intervals"),
            QString::number(deltaE2000(colorToLab(kDropped), colorToLab(thresholdChips.at(1).at(0))), 'g', 17));
        // Later files number their collections alike: a chip must not be taken for one of theirs.
        for (const char *name : { "/shadow-a.db", "/shadow-b.db", "/shadow-c.db" }) {
            FixtureDatabase shadow(TestEnvironment::collectionFolder() + QLatin1String(name));
            for (int order = 50; order < 53; ++order)
                shadow.addCollection(QUuid::createUuid(), QStringLiteral("SHADOW"), order, false);
        }
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void init()
    {
        TestEnvironment::resetUserState();
        MainWidgetAccess::setCurrent(nullptr);
    }

    void layoutFigures()
    {
        // Size and title height, then the left, middle and right cards, four pixels apart.
        const QList<std::tuple<QSize, int, QRect, QRect, QRect>> cardCases
            = { { QSize(214, 300), 16, QRect(2, 16, 50, 282), QRect(56, 16, 102, 282), QRect(162, 16, 50, 282) },
                  // (517 - 14) / 4 truncates to 125.
                  { QSize(517, 200), 18, QRect(2, 18, 125, 180), QRect(131, 18, 255, 180), QRect(390, 18, 125, 180) } };
        for (const auto &[size, titleHeight, left, middle, right] : cardCases) {
            const auto cards = CardRollerWidget::layoutCards(size, titleHeight);
            QCOMPARE(cards, (std::array<QRect, 3> { left, middle, right }));
            QCOMPARE(CardRollerWidget::titleRectFor(middle, titleHeight),
                QRect(QPoint(middle.left(), 0), QPoint(middle.right(), titleHeight - 1)));
        }
        // Chip count and the card's inner height, then the chips' tops and heights.
        const QList<std::tuple<int, int, QList<int>, QList<int>>> chipCases
            = { { 7, 100, { 0, 14, 28, 42, 56, 70, 84 }, { 13, 13, 13, 13, 13, 13, 16 } }, { 1, 100, { 0 }, { 100 } },
                  { 2, 9, { 0, 5 }, { 4, 4 } }, { 0, 100, {}, {} }, { 60, 100, {}, {} } };
        for (const auto &[chipCount, innerHeight, tops, heights] : chipCases) {
            const QRect card(QPoint(10, 20), QPoint(59, 20 + innerHeight + 1));
            QList<QRect> chips;
            for (int i = 0; i < tops.size(); ++i)
                chips << QRect(11, 21 + tops.at(i), 48, heights.at(i));
            QCOMPARE(CardRollerWidget::layoutChips(card, chipCount), chips);
        }
        // Names, the display order and the title; the fallback is the page index.
        DB::ColorPage page;
        page.pageIndex = 12;
        const QList<std::tuple<QStringList, QList<qint64>, QString>> titleCases
            = { { { "a", "Blue" }, { 1, 0 }, "Blue" }, { { "a", "" }, { 1 }, "12" }, { { "a" }, { 3 }, "12" },
                  { { "a" }, { qint64(1) << 32 }, "12" } };
        for (const auto &[names, order, title] : titleCases) {
            page.names = names;
            QCOMPARE(CardRollerWidget::cardTitle(page, order), title);
        }
    }

    void paintClicksAndMouseWheel()
    {
        use(kDeck, 2, 3);
        auto roller = paintedRoller();
        const QImage image = roller->grab().toImage();
        // Chips in their colours; the selected one framed in white just outside.
        for (int slot = 0; slot < 3; ++slot) {
            QVERIFY(roller->card(slot).pageIndex == slot + 1 && roller->chipCount(slot) == 5);
            for (int chip = 0; chip < 5; ++chip)
                QCOMPARE(
                    image.pixelColor(roller->chipRect(slot, chip).center()), QColor(40 * slot + 40, 40 * chip + 40, 7));
        }
        const QRect selected = roller->chipRect(CardRollerWidget::MiddleSlot, 2);
        QVERIFY(image.pixelColor(selected.left() - 1, selected.center().y()).lightness() > 200);
        const QRect other = roller->chipRect(CardRollerWidget::MiddleSlot, 0);
        QVERIFY(image.pixelColor(other.left() - 1, other.center().y()).lightness() < 100);

        QStringList log;
        wire(*roller, log);
        const QRect middle = roller->cardRect(CardRollerWidget::MiddleSlot);
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, roller->titleRect(0).center());
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, QPoint(middle.left() - 2, middle.center().y()));
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.topLeft()); // the frame
        QTest::mouseClick(roller.get(), Qt::RightButton, Qt::NoModifier, roller->chipRect(1, 3).center());
        QVERIFY(log.isEmpty());
        for (const int delta : { 120, -120, 0 }) {
            QWheelEvent event(middle.center(), roller->mapToGlobal(middle.center()), QPoint(), QPoint(0, delta),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(roller.get(), &event);
        }
        QCOMPARE(log, (QStringList { "roll:backward", "roll:forward", "roll:backward" }));
        // The next paint reads the user state again; the deck wraps round.
        UserState::setPageIndex(kDeck, 4);
        roller->grab();
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(roller->card(slot).pageIndex, (slot + 2) % 4 + 1);
        // On the same page, a chip changed in the file by another writer is read again.
        const auto setRed = [this](int red) {
            QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rollerWriter"));
            writer.setDatabaseName(TestEnvironment::collectionFolder() + QStringLiteral("/roller.db"));
            const bool done = writer.open()
                && QSqlQuery(writer).exec(
                    QStringLiteral("UPDATE ROW SET RED = %1 WHERE ID = %2").arg(red).arg(chipIds.value("DK4-1")));
            writer.close();
            writer = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("rollerWriter"));
            return done;
        };
        QCOMPARE(roller->card(CardRollerWidget::MiddleSlot).entries.value(0).red, 160);
        QVERIFY(setRed(1));
        roller->grab();
        const int changedRed = roller->card(CardRollerWidget::MiddleSlot).entries.value(0).red;
        QVERIFY(setRed(160));
        QCOMPARE(changedRed, 1);
    }

    void sparseDecksDrawFramesOnly()
    {
        // A single card has no neighbours; the frames are still drawn.
        use(kSingle);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        const QRect middle = roller->cardRect(CardRollerWidget::MiddleSlot);
        const auto chipCounts = [&] {
            roller->grab();
            return QList<int> { roller->chipCount(0), roller->chipCount(1), roller->chipCount(2) };
        };
        QCOMPARE(chipCounts(), (QList<int> { 0, 0, 0 }));
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.center());
        QCOMPARE(roller->grab().toImage().pixelColor(middle.left(), middle.center().y()), QColor(64, 64, 64));
        use(kTwo);
        QCOMPARE(chipCounts(), (QList<int> { 2, 2, 2 }));
        QVERIFY(roller->card(0).pageIndex == 2 && roller->card(2).pageIndex == 2);
        use(kEmptyCard, 1);
        QCOMPARE(chipCounts(), (QList<int> { 2, 0, 2 }));
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.center());
        use(kDeck, 99);
        QCOMPARE(chipCounts(), (QList<int> { 0, 0, 0 }));
        UserState::setPageIndex(kDeck, 1);
        QCOMPARE(chipCounts(), (QList<int> { 5, 5, 5 }));
        UserState::setLastUsedCollection(kUnknown);
        QCOMPARE(chipCounts(), (QList<int> { 0, 0, 0 }));
        QVERIFY(!roller->chipAt(middle.center()).isValid() && log.isEmpty());
    }

    void clicks_data() { addRows(clickCases); }
    void clicks()
    {
        const auto &[name, collection, storedRow, slot, chip, expected] = fetchRow(clickCases);
        use(collection, 2, 1);
        auto roller = paintedRoller();
        UserState::setRowIndex(collection, storedRow);
        QStringList log;
        wire(*roller, log);
        const QPoint at = roller->chipRect(slot, chip).center();
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(log, expected);
    }

    void hoverAndDrag()
    {
        use(kPelvon, 2);
        auto roller = paintedRoller();
        QVERIFY(QTest::qWaitForWindowExposed(roller.get()));
        QTest::mouseMove(roller.get(), roller->chipRect(CardRollerWidget::LeftSlot, 0).center());
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("PV1-1")));
        // Masked chips describe nothing.
        QTest::mouseMove(roller.get(), roller->chipRect(CardRollerWidget::MiddleSlot, 1).center());
        QTRY_VERIFY(!QToolTip::isVisible());
        QTest::mouseMove(roller.get(), roller->chipRect(CardRollerWidget::MiddleSlot, 2).center());
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("PV2-3")));
        // Showing made-to-order colours unmasks them, read on the next move.
        UserState::setShowMto(kPelvon, true);
        QTest::mouseMove(roller.get(), roller->chipRect(CardRollerWidget::MiddleSlot, 1).center());
        QTRY_VERIFY(QToolTip::text().contains(QStringLiteral("PV2-2")));
        QTest::mouseMove(roller.get(), roller->titleRect(1).center());
        QTRY_VERIFY(!QToolTip::isVisible());

        use(kDeck, 2);
        roller->grab();
        auto send = [&](QEvent::Type type, const QPoint &at) {
            QMouseEvent event(type, at, roller->mapToGlobal(at),
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(roller.get(), &event);
        };
        // Side cards and short moves start none.
        const QPoint side = roller->chipRect(CardRollerWidget::LeftSlot, 1).center();
        send(QEvent::MouseButtonPress, side);
        send(QEvent::MouseMove, side + QPoint(0, QApplication::startDragDistance() + 2));
        const QPoint start = roller->chipRect(CardRollerWidget::MiddleSlot, 3).center();
        send(QEvent::MouseButtonPress, start);
        send(QEvent::MouseMove, start + QPoint(1, 0));
        QVERIFY(!roller->findChild<QDrag *>());

        // A drag runs in a nested loop (cancelled from inside) or returns at once and stays a child.
        QPointer<QDrag> drag;
        bool moveReturned = false;
        QTimer::singleShot(0, roller.get(), [&] {
            if (moveReturned)
                return;
            drag = roller->findChild<QDrag *>();
            QDrag::cancel();
        });
        send(QEvent::MouseMove, start + QPoint(QApplication::startDragDistance() + 1, 0));
        moveReturned = true;
        if (!drag)
            drag = roller->findChild<QDrag *>();
        QVERIFY(drag);
        QCOMPARE(QString::fromUtf8(drag->mimeData()->data(chipPayloadMimeType())),
            payload(FromCardRoller, kDeck, QStringLiteral("DK2-4")));
    }

    void dragEnterMoveAndDropTakeOnlyForeignChips()
    {
        use(kDeck);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        for (const auto &[source, accepted] :
            QList<QPair<int, bool>> { { FromCardRoller, false }, { FromHarmonizer, true }, { 9, false } }) {
            QString text = payload(FromMyPalette, kDeck, QStringLiteral("DK3-4"));
            text.replace(QStringLiteral("\"from\" : 3"), QStringLiteral("\"from\" : %1").arg(source));
            std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(text));
            const QPoint inside = roller->cardRect(0).center();
            QDragEnterEvent enter(inside, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(roller.get(), &enter);
            QCOMPARE(enter.isAccepted(), accepted);
            QDragMoveEvent move(inside, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(roller.get(), &move);
            QCOMPARE(move.isAccepted(), accepted);
            if (accepted)
                QCOMPARE(move.dropAction(), Qt::CopyAction);
            QDragMoveEvent outside(roller->titleRect(1).center(), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
            QApplication::sendEvent(roller.get(), &outside);
            QVERIFY(!outside.isAccepted());
            // Straight to the widget: the drag manager hands no drop over after a refused enter.
            QDropEvent event(inside, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
            event.ignore();
            static_cast<QObject *>(roller.get())->event(&event);
            QCOMPARE(event.isAccepted(), accepted);
        }
        QCOMPARE(log, (QStringList { "page:3", "row:4" }));
    }

    void droppedChip_data() { addRows(droppedChips); }
    void droppedChip()
    {
        const auto &[name, collection, code, acceptCollection, expected] = fetchRow(droppedChips);
        use(kDeck, 1, 1);
        QCOMPARE(drop(payload(FromHarmonizer, collection, code), acceptCollection), expected);
        QCOMPARE(UserState::pageIndex(kDeck), 1 + 2 * int(code == QLatin1String("DK3-4")));
    }

    void droppedColourFindsAChip_data() { addRows(droppedColours); }
    void droppedColourFindsAChip()
    {
        const auto &[name, collection, color, name1, name2, expected] = fetchRow(droppedColours);
        use(collection, 1, 1);
        std::unique_ptr<StandInMainWidget> mainWidget;
        if (collection != kDeck)
            mainWidget = std::make_unique<StandInMainWidget>(collection);
        // Taken whether or not a chip was found.
        QCOMPARE(drop(colorPayloadText(FromForesight, color, name1, name2)), expected);
    }
};

HUELINK_TEST_MAIN(CardRollerWidgetTest)
#include "CardRollerWidgetTest.moc"
