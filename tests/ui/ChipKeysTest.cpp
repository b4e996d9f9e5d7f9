#include "ui/harmonizer/HarmonizerFixture.h"

#include "state/UserState.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Tintor;
using namespace HarmonizerFixture;

class ChipKeysTest : public QObject
{
    Q_OBJECT

    Deck m_deck;

private Q_SLOTS:
    void initTestCase()
    {
        m_deck = build();
        // One trend group of the chip deck: a collection chip and a colour of no collection.
        QVERIFY(m_deck.file->exec(QStringLiteral("INSERT INTO FORESIGHT_GROUP(ID, COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\") "
                                                 "SELECT 5, ID, 'Trends', 1, 1 FROM COLLECTION WHERE SYSTEMID = 'CHIP'")));
        QVERIFY(m_deck.file->exec(QStringLiteral("INSERT INTO FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, ROW_ID, NAME_1, "
                                                 "\"ORDER\") VALUES (0, 5, ?, 'Moss', 1), (0, 5, NULL, 'Mist', 2)"),
                                  {m_deck.rows.value(QStringLiteral("B1"))}));
    }

    void chipInDirection_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("nothing focused goes to the first") << -1 << int(Qt::Key_Down) << 0;
        QTest::newRow("right steps on across lines") << 2 << int(Qt::Key_Right) << 3;
        QTest::newRow("right stops at the last") << 4 << int(Qt::Key_Right) << 4;
        QTest::newRow("left stops at the first") << 0 << int(Qt::Key_Left) << 0;
        QTest::newRow("down to the nearest below") << 2 << int(Qt::Key_Down) << 4;
        QTest::newRow("up to the nearest above") << 4 << int(Qt::Key_Up) << 1;
        QTest::newRow("down from the last line stays") << 3 << int(Qt::Key_Down) << 3;
    }
    void chipInDirection()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        // Three chips on a line, two on the next, offset by half a chip.
        const QVector<QRect> chips{{0, 0, 16, 10}, {20, 0, 16, 10}, {40, 0, 16, 10}, {10, 20, 16, 10}, {30, 20, 16, 10}};
        QCOMPARE(Tintor::chipInDirection(chips, from, key), to);
    }

    // Enter puts the focused chip forward with the collection a drag of it carries.
    void enterChoosesTheFocusedChip_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("chosen"); // empty: nothing
        QTest::newRow("scheme: first chip") << "scheme" << kByChip << 1 << "Right,Return" << true << "B1";
        QTest::newRow("scheme: along the line") << "scheme" << kByChip << 1 << "Right,Right,Return" << true << "B2";
        QTest::newRow("scheme: down a line") << "scheme" << kByChip << 1 << "Right,Down,Return" << true << "C1";
        QTest::newRow("scheme: before any arrow") << "scheme" << kByChip << 1 << "Return" << true << "";
        QTest::newRow("scheme: no chips") << "scheme" << kByChip << 2 << "Right,Return" << true << "";
        QTest::newRow("scheme: disabled") << "scheme" << kByChip << 1 << "Right,Return" << false << "";
        QTest::newRow("pelvon: middle chip") << "pelvon" << kPelvon << 1 << "Right,Right,Return" << true << "T0";
        QTest::newRow("pelvon: no chips") << "pelvon" << kPelvon << 2 << "Right,Return" << true << "";
        QTest::newRow("foresight: a collection chip") << "foresight" << kByChip << 1 << "Right,Return" << true << "B1";
        QTest::newRow("foresight: a colour of no collection") << "foresight" << kByChip << 1 << "Right,Right,Return" << true << "";
        QTest::newRow("foresight: disabled") << "foresight" << kByChip << 1 << "Right,Return" << false << "";
    }
    void enterChoosesTheFocusedChip()
    {
        QFETCH(QString, view);
        QFETCH(QUuid, collection);
        QFETCH(int, page);
        QFETCH(QString, keys);
        QFETCH(bool, enabled);
        QFETCH(QString, chosen);
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(collection);
        UserState::setPageIndex(collection, page);
        UserState::setRowIndex(collection, 1);
        UserState::setSchemeKind(collection, SchemeHarmonic);
        std::unique_ptr<QWidget> widget;
        std::unique_ptr<QSignalSpy> spy;
        const auto make = [&widget, &spy](auto *made) {
            widget.reset(made);
            spy = std::make_unique<QSignalSpy>(made, &std::remove_pointer_t<decltype(made)>::chipChosenInteractively);
        };
        if (view == QLatin1String("scheme"))
            make(new ColorSchemerWidget);
        else if (view == QLatin1String("pelvon"))
            make(new ColorSchemerPelvonWidget);
        else
            make(new ColorForesightWidget);
        widget->resize(400, 226);
        widget->show();
        widget->grab();
        widget->setEnabled(enabled);
        const QKeySequence sequence = QKeySequence::fromString(keys);
        for (int n = 0; n < sequence.count(); ++n)
            QTest::keyClick(widget.get(), sequence[n].key(), sequence[n].keyboardModifiers());
        QCOMPARE(spy->size(), chosen.isEmpty() ? 0 : 1);
        if (chosen.isEmpty())
            return;
        QCOMPARE(spy->first().at(0).toUuid(), collection);
        const auto chip = spy->first().at(1).value<DB::ColorEntry>();
        QCOMPARE(chip.code, chosen);
        QCOMPARE(chip.id, m_deck.rows.value(chosen));
    }
};

HUELINK_TEST_MAIN(ChipKeysTest)
#include "ChipKeysTest.moc"
