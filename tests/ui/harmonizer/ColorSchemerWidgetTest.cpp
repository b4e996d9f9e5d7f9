#include "HarmonizerFixture.h"

#include "state/UserState.h"
#include "ui/harmonizer/ColorSchemerWidget.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Tintor;
using namespace HarmonizerFixture;

class ColorSchemerWidgetTest : public QObject
{
    Q_OBJECT

private:
    Deck m_deck;

    // Stores the position as the main widget would and paints once.
    void select(ColorSchemerWidget &widget, const QUuid &collection, int page, int row, int kind, int subKind)
    {
        UserState::setLastUsedCollection(collection);
        UserState::setPageIndex(collection, page);
        UserState::setRowIndex(collection, row);
        UserState::setSchemeKind(collection, kind);
        UserState::setSchemeNeutralSubKind(collection, subKind);
        widget.selectedCollectionChanged(collection);
        m_painted = widget.grab().toImage();
    }
    QImage m_painted;

private Q_SLOTS:
    void initTestCase()
    {
        m_deck = build();
        QVERIFY(m_deck.file->isOpen());
    }

    void layoutFigures_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("fittedHeight");
        QTest::newRow("140 trimmed alternately to 100") << 140 << 19 << 100;
        QTest::newRow("91 stays") << 91 << 0 << 91;
        QTest::newRow("empty becomes one line") << 0 << 0 << 1;
        QTest::newRow("negative stays negative") << -5 << 0 << -4;
    }
    void layoutFigures()
    {
        QFETCH(int, height);
        QFETCH(int, top);
        QFETCH(int, fittedHeight);
        const QRect fitted = ColorSchemerWidget::fitChipsArea(QRect(24, 0, 300, height));
        QCOMPARE(fitted.top(), top);
        QCOMPARE(fitted.height(), fittedHeight);
        QCOMPARE(ColorSchemerWidget::firstButtonX(400, 3, 60), 70);
    }

    void buttonsCaptionsAndChipsArea()
    {
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, kByChip, 1, 1, SchemeHarmonic, SchemeTonalNeutral);
        // 44-pixel buttons, 40 apart, centred: (400 + 40 - 4 * 84) / 2.
        QCOMPARE(widget.offeredKinds(), QVector<int>({1, 2, 5, 6}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(widget.buttonRect(widget.offeredKinds().at(i)), QRect(52 + 84 * i, 8, 44, 44));
        const int captionBottom = widget.captionRect(SchemeHarmonic).bottom();
        for (int kind : {1, 2, 5, 6, 7, 8})
            QCOMPARE(widget.captionRect(kind).bottom(), captionBottom);
        const QRect area = widget.chipsArea();
        QCOMPARE(area.left(), 24);
        QCOMPARE(area.right(), 375);
        QVERIFY(area.top() >= captionBottom + 16);
        QCOMPARE(area.height() % 3, 1);

        // Too small for any chip: nothing laid out, nothing negative.
        widget.resize(40, 90);
        widget.grab();
        QVERIFY(widget.chips().isEmpty());
        // No scheme offered: the chips area still starts below the margin.
        select(widget, kPelvon, 1, 1, 0, 7);
        QCOMPARE(widget.chipsArea().top(), 24);
    }

    void chipsByMode_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("subKind");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("storedSubKind");
        const QStringList harmonic{"B1", "B2", "C1", "C2"};
        QTest::newRow("by chip, one line per segment") << kByChip << 1 << 1 << 1 << 7 << harmonic << 2 << 7;
        QTest::newRow("dramatic, plain chip: none") << kByChip << 1 << 1 << 5 << 7 << QStringList() << 0 << 7;
        QTest::newRow("dramatic, neutral chip") << kByChip << 4 << 1 << 5 << 7 << QStringList{"B1", "B2"} << 1 << 7;
        QTest::newRow("neutral shows the sub-kind") << kByChip << 1 << 1 << 6 << 7 << QStringList{"C2", "C1"} << 1 << 7;
        QTest::newRow("row outside the card: none") << kByChip << 1 << 2 << 1 << 7 << QStringList() << 0 << 7;
        QTest::newRow("by card, complementary missing: tonal, remembered")
            << kByCard << 1 << 1 << 6 << 8 << QStringList{"L1", "L2", "M1", "M2"} << 2 << 7;
        QTest::newRow("by card, complementary there") << kByCard << 2 << 2 << 6 << 8 << QStringList{"K1", "K2"} << 1 << 8;
        QTest::newRow("no schemes page: nearest chip's schemes") << kPlain << 1 << 1 << 1 << 7 << harmonic << 2 << 7;
    }
    void chipsByMode()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, page);
        QFETCH(int, row);
        QFETCH(int, kind);
        QFETCH(int, subKind);
        QFETCH(QStringList, codes);
        QFETCH(int, lines);
        QFETCH(int, storedSubKind);
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, collection, page, row, kind, subKind);

        const auto chips = widget.chips();
        QCOMPARE(chips.size(), codes.size());
        QSet<int> tops;
        for (int i = 0; i < chips.size(); ++i) {
            const auto &[rect, chip] = chips.at(i);
            QCOMPARE(chip.rowId, m_deck.rows.value(codes.at(i)));
            QCOMPARE(m_painted.pixelColor(rect.center()), m_deck.colors.value(codes.at(i)));
            QVERIFY(widget.chipsArea().contains(rect));
            tops.insert(rect.top());
        }
        QCOMPARE(tops.size(), lines);
        QCOMPARE(UserState::schemeNeutralSubKind(collection), storedSubKind);
    }

    void clicksOnButtons_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("storedKind");
        QTest::addColumn<int>("subKind");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("emitted"); // "kind N", "sub-kind N" or nothing
        QTest::newRow("another kind") << kByChip << 1 << 1 << 7 << 2 << "kind 2";
        QTest::newRow("the selected kind") << kByChip << 1 << 1 << 7 << 1 << "";
        QTest::newRow("neutral without complementary") << kByChip << 1 << 6 << 7 << 6 << "";
        QTest::newRow("card without complementary") << kByCard << 1 << 6 << 7 << 6 << "";
        QTest::newRow("tonal to complementary") << kByCard << 2 << 6 << 7 << 6 << "sub-kind 8";
        QTest::newRow("complementary to tonal") << kByCard << 2 << 6 << 8 << 6 << "sub-kind 7";
    }
    void clicksOnButtons()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, page);
        QFETCH(int, storedKind);
        QFETCH(int, subKind);
        QFETCH(int, clicked);
        QFETCH(QString, emitted);
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, collection, page, 1, storedKind, subKind);
        QStringList seen;
        connect(&widget, &ColorSchemerWidget::schemeKindChangedInteractively, this,
                [&](SchemeKind kind) { seen << QStringLiteral("kind %1").arg(kind); });
        connect(&widget, &ColorSchemerWidget::schemeNeutralSubKindChangedInteractively, this,
                [&](SchemeKind kind) { seen << QStringLiteral("sub-kind %1").arg(kind); });
        // The button and its caption are both targets.
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.buttonRect(clicked).center());
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.captionRect(clicked).center());
        QCOMPARE(seen, emitted.isEmpty() ? QStringList() : QStringList({emitted, emitted}));
    }

    void shortcuts_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("emitted");
        QTest::newRow("second of four") << kByChip << 2;
        QTest::newRow("one scheme offered: nothing") << kPlain << 0;
    }
    void shortcuts()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, emitted);
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, collection, 1, 1, SchemeHarmonic, SchemeTonalNeutral);
        widget.show();
        widget.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        QSignalSpy kinds(&widget, &ColorSchemerWidget::schemeKindChangedInteractively);
        QTest::keySequence(&widget, QKeySequence(QStringLiteral("Ctrl+S, Ctrl+2")));
        QCOMPARE(kinds.size(), emitted ? 1 : 0);
        if (emitted)
            QCOMPARE(kinds.first().first().value<SchemeKind>(), SchemeKind(emitted));
    }
};

HUELINK_TEST_MAIN(ColorSchemerWidgetTest)
#include "ColorSchemerWidgetTest.moc"
