#include "ui/browse/CardRollerWidget.h"
#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/MainWidgetAccess.h"

#include <QDrag>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace Tintor;

namespace {

// Four normal cards of five chips; the title is the card's second name,
// empty on card 3.
const QUuid kDeck(QStringLiteral("{3c000000-0000-0000-0000-000000000001}"));
// Two cards of three chips.
const QUuid kOther(QStringLiteral("{3c000000-0000-0000-0000-000000000002}"));
// Three pelvon cards of four chips; the second chip of each is made to order.
const QUuid kPelvon(QStringLiteral("{3c000000-0000-0000-0000-000000000003}"));
const QUuid kSingle(QStringLiteral("{3c000000-0000-0000-0000-000000000004}"));
const QUuid kTwo(QStringLiteral("{3c000000-0000-0000-0000-000000000005}"));
// Card 1 has no chips.
const QUuid kEmptyCard(QStringLiteral("{3c000000-0000-0000-0000-000000000006}"));
// One card each, with a chip near kDropped; thresholds just above, exactly
// at, and without any.
const QUuid kNear(QStringLiteral("{3c000000-0000-0000-0000-000000000007}"));
const QUuid kEdge(QStringLiteral("{3c000000-0000-0000-0000-000000000008}"));
const QUuid kNoThreshold(QStringLiteral("{3c000000-0000-0000-0000-000000000009}"));
const QUuid kUnknown(QStringLiteral("{3c000000-0000-0000-0000-0000000000ff}"));

const QColor kDropped(124, 62, 33);
const QColor kNearChip(120, 60, 30);
const QColor kEdgeChip(121, 60, 30);
const QColor kNoThresholdChip(122, 60, 30);

QColor deckColor(int page, int row)
{
    return QColor(40 * page, 40 * row, 7);
}

double distanceTo(const QColor &a, const QColor &b)
{
    return deltaE2000(colorToLab(a), colorToLab(b));
}

// Stands in for the main widget: offers the colour candidates of a
// collection.
class StandInMainWidget : public MainWidgetAccess {
public:
    explicit StandInMainWidget(const QUuid &collection)
    {
        DB::matchCandidates(collection, candidates);
        setCurrent(this);
    }
    ~StandInMainWidget() override { setCurrent(nullptr); }
    const std::vector<LabCandidate> &colorCandidates() const override { return candidates; }

private:
    std::vector<LabCandidate> candidates;
};

} // namespace

class CardRollerWidgetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;
    std::vector<std::unique_ptr<FixtureDatabase>> shadows;
    QHash<QString, qint64> chipIds; // by code

    qint64 addDeck(const QUuid &uuid, const QString &systemId, int order, const QString &cardType)
    {
        const qint64 id = fixture->addCollection(uuid, systemId, order);
        if (!cardType.isEmpty())
            fixture->addSetting(id, QStringLiteral("card.type"), cardType);
        fixture->addSetting(id, QStringLiteral("page.name.display.order"), 1);
        fixture->addSetting(id, QStringLiteral("color.tooltip.show.row.code"), 1);
        return id;
    }

    void addCard(qint64 collectionId, int pageIndex, const QString &title, const QList<QColor> &colors,
        const QString &codePrefix, int madeToOrderRow = 0)
    {
        FixtureDatabase::Page page;
        page.pageIndex = pageIndex;
        page.segment = pageIndex;
        page.mood = MoodFresh;
        // An empty name is stored as empty text, never NULL.
        page.names
            = QStringList { QStringLiteral("card%1").arg(pageIndex), title.isEmpty() ? QStringLiteral("") : title };
        const qint64 pageId = fixture->addPage(collectionId, page);
        for (int row = 1; row <= colors.size(); ++row) {
            FixtureDatabase::Row chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("%1%2-%3").arg(codePrefix).arg(pageIndex).arg(row);
            chip.color = colors.at(row - 1);
            chip.madeToOrder = row == madeToOrderRow;
            chipIds.insert(chip.code, fixture->addRow(collectionId, pageId, chip));
        }
    }

    static QList<QColor> colorsOf(int page, int count, int blue)
    {
        QList<QColor> colors;
        for (int row = 1; row <= count; ++row)
            colors << QColor(40 * page, 40 * row, blue);
        return colors;
    }

    void use(const QUuid &collection, int pageIndex = 1, int rowIndex = 1)
    {
        UserState::setLastUsedCollection(collection);
        UserState::setPageIndex(collection, pageIndex);
        UserState::setRowIndex(collection, rowIndex);
    }

    // Records every signal and, like the main widget, stores the choices of
    // page, row and (when accepted) collection.
    static void wire(CardRollerWidget &roller, QStringList &log, bool acceptCollections = true)
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
        QObject::connect(
            &roller, &CardRollerWidget::collectionSelectedInteractively, [&log, acceptCollections](const QUuid &uuid) {
                log << QStringLiteral("collection:%1").arg(uuid.toString());
                if (acceptCollections)
                    UserState::setLastUsedCollection(uuid);
            });
    }

    // A roller at its size in the main widget, painted once so that the
    // chip rectangles exist.
    static std::unique_ptr<CardRollerWidget> paintedRoller(const QSize &size = QSize(300, 320))
    {
        auto roller = std::make_unique<CardRollerWidget>();
        roller->resize(size);
        roller->show();
        roller->grab();
        return roller;
    }

    // Enter, move and drop as a real drag does: the application hands the
    // drop only to the widget that took the enter.
    static void sendDrop(CardRollerWidget &roller, QMimeData *mime, QDropEvent **accepted = nullptr)
    {
        const QPoint at = roller.cardRect(CardRollerWidget::MiddleSlot).center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&roller, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&roller, &move);
        auto *event = new QDropEvent(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        event->ignore();
        QApplication::sendEvent(&roller, event);
        if (accepted)
            *accepted = event;
        else
            delete event;
    }

    QStringList dropChip(ChipSource source, const QUuid &chipCollection, const QString &code, bool acceptCollections)
    {
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log, acceptCollections);
        DB::ColorEntry chip;
        chip.id = chipIds.value(code);
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(chipPayloadText(source, chipCollection, chip)));
        sendDrop(*roller, mime.get());
        return log;
    }

    QStringList dropColor(const QColor &color, const QString &name1, const QString &name2)
    {
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(colorPayloadText(FromForesight, color, name1, name2)));
        QDropEvent *event = nullptr;
        sendDrop(*roller, mime.get(), &event);
        // Taken whether or not a chip was found.
        const bool accepted = event->isAccepted();
        delete event;
        if (!accepted)
            log << QStringLiteral("refused");
        return log;
    }

private Q_SLOTS:
    void initTestCase()
    {
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/roller.db"));
        QVERIFY(fixture->isOpen());
        const qint64 deck = addDeck(kDeck, QStringLiteral("DECK"), 1, QStringLiteral("normal"));
        const QStringList titles { QStringLiteral("First"), QStringLiteral("Second"), QString(),
            QStringLiteral("Fourth") };
        for (int page = 1; page <= 4; ++page)
            addCard(deck, page, titles.at(page - 1), colorsOf(page, 5, 7), QStringLiteral("DK"));

        const qint64 other = addDeck(kOther, QStringLiteral("OTHER"), 2, QStringLiteral("normal"));
        for (int page = 1; page <= 2; ++page)
            addCard(other, page, QStringLiteral("Other %1").arg(page), colorsOf(page, 3, 200), QStringLiteral("OT"));

        const qint64 pelvon = addDeck(kPelvon, QStringLiteral("PELVON"), 3, QStringLiteral("pelvon"));
        for (int page = 1; page <= 3; ++page)
            addCard(pelvon, page, QString(), colorsOf(page, 4, 120), QStringLiteral("PV"), 2);

        addCard(addDeck(kSingle, QStringLiteral("SINGLE"), 4, QString()), 1, QString(), colorsOf(1, 3, 50),
            QStringLiteral("SG"));
        const qint64 two = addDeck(kTwo, QStringLiteral("TWO"), 5, QString());
        addCard(two, 1, QString(), colorsOf(1, 2, 60), QStringLiteral("TW"));
        addCard(two, 2, QString(), colorsOf(2, 2, 60), QStringLiteral("TW"));
        const qint64 emptyCard = addDeck(kEmptyCard, QStringLiteral("EMPTYCARD"), 6, QString());
        addCard(emptyCard, 1, QStringLiteral("Nothing"), {}, QStringLiteral("EC"));
        addCard(emptyCard, 2, QString(), colorsOf(2, 2, 70), QStringLiteral("EC"));
        addCard(emptyCard, 3, QString(), colorsOf(3, 2, 70), QStringLiteral("EC"));

        const double nearDistance = distanceTo(kDropped, kNearChip);
        const qint64 nearId = addDeck(kNear, QStringLiteral("NEAR"), 7, QString());
        fixture->addSetting(nearId, QStringLiteral("cie2000.delta.intervals"),
            QString::number(nearDistance + 0.01, 'g', 17) + QStringLiteral(",50"));
        addCard(nearId, 1, QString(), { QColor(10, 200, 10), kNearChip }, QStringLiteral("NR"));
        const qint64 edgeId = addDeck(kEdge, QStringLiteral("EDGE"), 8, QString());
        fixture->addSetting(edgeId, QStringLiteral("cie2000.delta.intervals"),
                            QString::number(distanceTo(kDropped, kEdgeChip), 'g', 17));
        addCard(edgeId, 1, QString(), {kEdgeChip, QColor(10, 10, 200)}, QStringLiteral("ED"));
        addCard(addDeck(kNoThreshold, QStringLiteral("NOTHRESH"), 9, QString()), 1, QString(),
                {kNoThresholdChip}, QStringLiteral("NT"));
        // Later files number their collections alike: a chip found in the
        // first file must not be taken for one of theirs.
        for (const char *name : {"shadow-a.db", "shadow-b.db", "shadow-c.db"}) {
            shadows.push_back(std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QLatin1Char('/')
                                                                + QLatin1String(name)));
            for (int order = 50; order < 53; ++order)
                shadows.back()->addCollection(QUuid::createUuid(), QStringLiteral("SHADOW"), order, false);
        }
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase()
    {
        fixture.reset();
        shadows.clear();
    }

    void init()
    {
        TestEnvironment::resetUserState();
        MainWidgetAccess::setCurrent(nullptr);
    }

    void cardLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("titleHeight");
        QTest::addColumn<QRect>("left");
        QTest::addColumn<QRect>("middle");
        QTest::addColumn<QRect>("right");
        QTest::newRow("214 x 300") << QSize(214, 300) << 16 << QRect(QPoint(2, 16), QPoint(51, 297))
                                   << QRect(QPoint(56, 16), QPoint(157, 297))
                                   << QRect(QPoint(162, 16), QPoint(211, 297));
        // (517 - 14) / 4 truncates to 125.
        QTest::newRow("517 x 200") << QSize(517, 200) << 18 << QRect(QPoint(2, 18), QPoint(126, 197))
                                   << QRect(QPoint(131, 18), QPoint(385, 197))
                                   << QRect(QPoint(390, 18), QPoint(514, 197));
    }
    void cardLayout()
    {
        QFETCH(QSize, size);
        QFETCH(int, titleHeight);
        QFETCH(QRect, left);
        QFETCH(QRect, middle);
        QFETCH(QRect, right);
        const auto cards = CardRollerWidget::layoutCards(size, titleHeight);
        QCOMPARE(cards[CardRollerWidget::LeftSlot], left);
        QCOMPARE(cards[CardRollerWidget::MiddleSlot], middle);
        QCOMPARE(cards[CardRollerWidget::RightSlot], right);
        // Four pixels between the cards.
        QCOMPARE(middle.left() - left.right() - 1, 4);
        QCOMPARE(right.left() - middle.right() - 1, 4);
        QCOMPARE(CardRollerWidget::titleRectFor(middle, titleHeight),
            QRect(QPoint(middle.left(), 0), QPoint(middle.right(), titleHeight - 1)));
    }

    void chipLayout_data()
    {
        QTest::addColumn<int>("chipCount");
        QTest::addColumn<int>("innerHeight");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<QList<int>>("heights");
        QTest::newRow("seven chips in 100")
            << 7 << 100 << QList<int> { 0, 14, 28, 42, 56, 70, 84 } << QList<int> { 13, 13, 13, 13, 13, 13, 16 };
        QTest::newRow("one chip fills the card") << 1 << 100 << QList<int> { 0 } << QList<int> { 100 };
        QTest::newRow("two chips in 9") << 2 << 9 << QList<int> { 0, 5 } << QList<int> { 4, 4 };
        QTest::newRow("no chips") << 0 << 100 << QList<int> {} << QList<int> {};
        QTest::newRow("more chips than pixel rows") << 60 << 100 << QList<int> {} << QList<int> {};
    }
    void chipLayout()
    {
        QFETCH(int, chipCount);
        QFETCH(int, innerHeight);
        QFETCH(QList<int>, tops);
        QFETCH(QList<int>, heights);
        const QRect card(QPoint(10, 20), QPoint(59, 20 + innerHeight + 1));
        const QVector<QRect> chips = CardRollerWidget::layoutChips(card, chipCount);
        QList<int> actualTops;
        QList<int> actualHeights;
        for (const QRect &chip : chips) {
            QCOMPARE(chip.left(), 11);
            QCOMPARE(chip.right(), 58);
            actualTops << chip.top() - 21;
            actualHeights << chip.height();
        }
        QCOMPARE(actualTops, tops);
        QCOMPARE(actualHeights, heights);
        if (!chips.isEmpty())
            QCOMPARE(chips.last().bottom(), card.bottom() - 1);
    }

    void titleFallsBackToThePageIndex_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<qint64>>("order");
        QTest::addColumn<QString>("title");
        QTest::newRow("named") << QStringList { "a", "Blue" } << QList<qint64> { 1, 0 } << "Blue";
        QTest::newRow("empty name") << QStringList { "a", "" } << QList<qint64> { 1 } << "12";
        QTest::newRow("index beyond the names") << QStringList { "a" } << QList<qint64> { 3 } << "12";
        QTest::newRow("huge index") << QStringList { "a" } << QList<qint64> { (qint64(1) << 32) } << "12";
    }
    void titleFallsBackToThePageIndex()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<qint64>, order);
        QFETCH(QString, title);
        DB::ColorPage page;
        page.pageIndex = 12;
        page.names = names;
        QCOMPARE(CardRollerWidget::cardTitle(page, order), title);
    }

    void paintShowsTheStoredCardAndItsNeighbours()
    {
        use(kDeck, 2, 3);
        auto roller = paintedRoller();
        QCOMPARE(roller->card(CardRollerWidget::LeftSlot).pageIndex, 1);
        QCOMPARE(roller->card(CardRollerWidget::MiddleSlot).pageIndex, 2);
        QCOMPARE(roller->card(CardRollerWidget::RightSlot).pageIndex, 3);
        const QImage image = roller->grab().toImage();
        // Chips are painted in their colours; the selected one is framed
        // in white just outside its rectangle.
        for (int slot = 0; slot < 3; ++slot) {
            QCOMPARE(roller->chipCount(slot), 5);
            const int page = roller->card(slot).pageIndex;
            for (int chip = 0; chip < 5; ++chip)
                QCOMPARE(image.pixelColor(roller->chipRect(slot, chip).center()), deckColor(page, chip + 1));
        }
        const QRect selected = roller->chipRect(CardRollerWidget::MiddleSlot, 2);
        QVERIFY(image.pixelColor(selected.left() - 1, selected.center().y()).lightness() > 200);
        const QRect other = roller->chipRect(CardRollerWidget::MiddleSlot, 0);
        QVERIFY(image.pixelColor(other.left() - 1, other.center().y()).lightness() < 100);

        // The next paint reads the user state again; the deck wraps round.
        UserState::setPageIndex(kDeck, 4);
        roller->grab();
        QCOMPARE(roller->card(CardRollerWidget::MiddleSlot).pageIndex, 4);
        QCOMPARE(roller->card(CardRollerWidget::RightSlot).pageIndex, 1);
        QCOMPARE(roller->card(CardRollerWidget::LeftSlot).pageIndex, 3);
    }

    void sparseDecksDrawFramesOnly()
    {
        // A single card has no neighbours; the frames are still drawn.
        use(kSingle);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        const QRect middle = roller->cardRect(CardRollerWidget::MiddleSlot);
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(roller->chipCount(slot), 0);
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.center());
        QCOMPARE(roller->grab().toImage().pixelColor(middle.left(), middle.center().y()), QColor(64, 64, 64));
        // Two cards: the other one on both sides.
        use(kTwo);
        roller->grab();
        QCOMPARE(roller->card(CardRollerWidget::LeftSlot).pageIndex, 2);
        QCOMPARE(roller->card(CardRollerWidget::RightSlot).pageIndex, 2);
        QCOMPARE(roller->chipCount(CardRollerWidget::LeftSlot), 2);
        // A card without chips shows its frame and title only.
        use(kEmptyCard, 1);
        roller->grab();
        QCOMPARE(roller->card(CardRollerWidget::MiddleSlot).pageIndex, 1);
        QCOMPARE(roller->chipCount(CardRollerWidget::MiddleSlot), 0);
        QCOMPARE(roller->chipCount(CardRollerWidget::LeftSlot), 2);
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.center());
        // A missing card: frames only, until the page is valid again.
        use(kDeck, 99);
        roller->grab();
        for (int slot = 0; slot < 3; ++slot)
            QCOMPARE(roller->chipCount(slot), 0);
        UserState::setPageIndex(kDeck, 1);
        roller->grab();
        QCOMPARE(roller->chipCount(CardRollerWidget::MiddleSlot), 5);
        // And none when the collection is unknown.
        UserState::setLastUsedCollection(kUnknown);
        roller->grab();
        QCOMPARE(roller->chipCount(CardRollerWidget::MiddleSlot), 0);
        QVERIFY(!roller->chipAt(middle.center()).isValid());
        QVERIFY(log.isEmpty());
    }

    void clicks_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("storedRow");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("chip");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("middle chip") << kDeck << 1 << 1 << 2 << QStringList { "row:3" };
        QTest::newRow("selected chip") << kDeck << 3 << 1 << 2 << QStringList {};
        QTest::newRow("left card rolls back") << kDeck << 1 << 0 << 1 << QStringList { "roll:backward", "row:2" };
        QTest::newRow("right card rolls on, same row") << kDeck << 1 << 2 << 0 << QStringList { "roll:forward" };
        QTest::newRow("masked chip of a side card only rolls")
            << kPelvon << 1 << 2 << 1 << QStringList { "roll:forward" };
        QTest::newRow("masked middle chip") << kPelvon << 1 << 1 << 1 << QStringList {};
        QTest::newRow("unmasked pelvon chip") << kPelvon << 1 << 1 << 2 << QStringList { "row:3" };
    }
    void clicks()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, storedRow);
        QFETCH(int, slot);
        QFETCH(int, chip);
        QFETCH(QStringList, expected);
        use(collection, 2, 1);
        auto roller = paintedRoller();
        UserState::setRowIndex(collection, storedRow);
        QStringList log;
        wire(*roller, log);
        const QPoint at = roller->chipRect(slot, chip).center();
        QCOMPARE(roller->chipAt(at).slot, slot);
        QCOMPARE(roller->chipAt(at).chip, chip);
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(log, expected);
    }

    void clicksOutsideChipsDoNothing()
    {
        use(kDeck, 2);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        const QRect middle = roller->cardRect(CardRollerWidget::MiddleSlot);
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, roller->titleRect(0).center());
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, QPoint(middle.left() - 2, middle.center().y()));
        QTest::mouseClick(roller.get(), Qt::LeftButton, Qt::NoModifier, middle.topLeft()); // the frame
        QTest::mouseClick(roller.get(), Qt::RightButton, Qt::NoModifier, roller->chipRect(1, 3).center());
        QVERIFY(log.isEmpty());
    }

    void mouseWheelRollsOneCard_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one notch away") << 120 << "roll:backward";
        QTest::newRow("one notch towards") << -120 << "roll:forward";
        QTest::newRow("zero") << 0 << "roll:backward";
    }
    void mouseWheelRollsOneCard()
    {
        QFETCH(int, delta);
        QFETCH(QString, expected);
        use(kDeck);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        const QPointF at = roller->cardRect(1).center();
        QWheelEvent event(at, roller->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(roller.get(), &event);
        QCOMPARE(log, QStringList { expected });
    }

    void hoverDescribesTheChip()
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
    }

    void onlyMiddleChipsDragTheirPayload()
    {
        use(kDeck, 2);
        auto roller = paintedRoller();
        auto send = [&](QEvent::Type type, const QPoint &at) {
            QMouseEvent event(type, at, roller->mapToGlobal(at),
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(roller.get(), &event);
        };
        // Side cards and short moves start none: a drag would leave its QDrag
        // behind until the event loop runs.
        const QPoint side = roller->chipRect(CardRollerWidget::LeftSlot, 1).center();
        send(QEvent::MouseButtonPress, side);
        send(QEvent::MouseMove, side + QPoint(0, QApplication::startDragDistance() + 2));
        const QPoint start = roller->chipRect(CardRollerWidget::MiddleSlot, 3).center();
        send(QEvent::MouseButtonPress, start);
        send(QEvent::MouseMove, start + QPoint(1, 0));
        QVERIFY(!roller->findChild<QDrag *>());

        // Platforms that run the drag in a nested loop get it cancelled from
        // inside; others return at once and leave the drag to be deleted later.
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
        DB::ColorEntry chip;
        chip.id = chipIds.value(QStringLiteral("DK2-4"));
        QCOMPARE(QString::fromUtf8(drag->mimeData()->data(chipPayloadMimeType())),
            chipPayloadText(FromCardRoller, kDeck, chip));
    }

    void dragEnterAndMoveTakeOnlyForeignChips_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("card roller") << int(FromCardRoller) << false;
        QTest::newRow("harmonizer") << int(FromHarmonizer) << true;
        QTest::newRow("unknown kind") << 9 << false;
    }
    void dragEnterAndMoveTakeOnlyForeignChips()
    {
        QFETCH(int, source);
        QFETCH(bool, accepted);
        use(kDeck);
        auto roller = paintedRoller();
        DB::ColorEntry chip;
        chip.id = chipIds.value(QStringLiteral("DK1-1"));
        QString text = chipPayloadText(FromMyPalette, kDeck, chip);
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

        const QPoint title = roller->titleRect(1).center();
        QDragMoveEvent outside(title, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(roller.get(), &outside);
        QVERIFY(!outside.isAccepted());
    }

    void droppedChip_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("acceptCollection");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("current collection") << kDeck << "DK3-4" << true << QStringList { "page:3", "row:4" };
        QTest::newRow("already there") << kDeck << "DK1-1" << true << QStringList {};
        QTest::newRow("another collection")
            << kOther << "OT2-3" << true << QStringList { "collection:" + kOther.toString(), "page:2", "row:3" };
        QTest::newRow("refused collection ends the drop")
            << kOther << "OT2-3" << false << QStringList { "collection:" + kOther.toString() };
    }
    void droppedChip()
    {
        QFETCH(QUuid, collection);
        QFETCH(QString, code);
        QFETCH(bool, acceptCollection);
        use(kDeck, 1, 1);
        QTEST(dropChip(FromHarmonizer, collection, code, acceptCollection), "expected");
        QCOMPARE(UserState::pageIndex(kDeck), 1 + 2 * int(code == QLatin1String("DK3-4")));
    }

    void ownChipsAreRefusedOnDrop()
    {
        use(kDeck, 1, 1);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        DB::ColorEntry chip;
        chip.id = chipIds.value(QStringLiteral("DK3-4"));
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(chipPayloadText(FromCardRoller, kDeck, chip)));
        // Straight to the widget, past the drag manager that would not hand
        // it over after a refused enter.
        QDropEvent event(roller->cardRect(1).center(), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        static_cast<QObject *>(roller.get())->event(&event);
        QVERIFY(!event.isAccepted());
        QVERIFY(log.isEmpty());
    }

    void droppedColourFindsAChip_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<QStringList>("expected");
        const QColor none(1, 2, 3);
        QTest::newRow("first name is a code, any case") << kDeck << none << "dk4-2"
                                                        << "" << QStringList { "page:4", "row:2" };
        QTest::newRow("second name is a code") << kDeck << none << "nothing"
                                               << "DK2-5" << QStringList { "page:2", "row:5" };
        QTest::newRow("first name wins") << kDeck << none << "DK3-1"
                                         << "DK2-5" << QStringList { "page:3" };
        QTest::newRow("same RGB") << kDeck << deckColor(3, 2) << ""
                                  << "" << QStringList { "page:3", "row:2" };
        QTest::newRow("code of another collection") << kDeck << none << "OT1-2"
                                                    << "" << QStringList { "collection:" + kOther.toString(), "row:2" };
        QTest::newRow("nothing matches, no main widget") << kDeck << none << ""
                                                         << "" << QStringList {};
        // The nearest chip counts only within the collection's threshold.
        QTest::newRow("just below the threshold") << kNear << kDropped << ""
                                                  << "" << QStringList { "row:2" };
        QTest::newRow("exactly at the threshold") << kEdge << kDropped << ""
                                                  << "" << QStringList {};
        QTest::newRow("no threshold") << kNoThreshold << kDropped << ""
                                      << "" << QStringList {};
    }
    void droppedColourFindsAChip()
    {
        QFETCH(QUuid, collection);
        QFETCH(QColor, color);
        QFETCH(QString, name1);
        QFETCH(QString, name2);
        use(collection, 1, 1);
        std::unique_ptr<StandInMainWidget> mainWidget;
        if (collection != kDeck)
            mainWidget = std::make_unique<StandInMainWidget>(collection);
        QTEST(dropColor(color, name1, name2), "expected");
    }

    void unreadablePayloadIsTakenButChangesNothing()
    {
        use(kDeck, 1, 1);
        StandInMainWidget mainWidget(kDeck);
        auto roller = paintedRoller();
        QStringList log;
        wire(*roller, log);
        // Names a chip id that does not exist and carries no colour: the
        // colour reads as black, which is nowhere near the deck.
        std::unique_ptr<QMimeData> mime(
            newChipPayloadMimeData(QStringLiteral("{ \"collectuionUuid\" : \"%1\", \"colorId\" : 99999, \"from\" : 3 }")
                                       .arg(kDeck.toString())));
        sendDrop(*roller, mime.get());
        std::unique_ptr<QMimeData> broken(new QMimeData);
        broken->setData(chipPayloadMimeType(), QByteArray("{ \"from\" : 3, "));
        sendDrop(*roller, broken.get());
        QVERIFY(log.isEmpty());
    }
};

HUELINK_TEST_MAIN(CardRollerWidgetTest)
#include "CardRollerWidgetTest.moc"
