#include "HarmonizerFixture.h"

#include "state/UserState.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"

#include <QToolTip>
#include <QtTest>

using namespace Tintor;
using namespace HarmonizerFixture;

struct Position {
    QUuid collection;
    int page, row, kind, subKind;
};
Q_DECLARE_METATYPE(Position)

class ColorSchemerWidgetTest : public QObject {
    Q_OBJECT

private:
    Deck m_deck;

    // Stores the position as the main widget would and paints once.
    void select(ColorSchemerWidget &widget, const Position &at)
    {
        UserState::setLastUsedCollection(at.collection);
        UserState::setPageIndex(at.collection, at.page);
        UserState::setRowIndex(at.collection, at.row);
        UserState::setSchemeKind(at.collection, at.kind);
        UserState::setSchemeNeutralSubKind(at.collection, at.subKind);
        widget.selectedCollectionChanged(at.collection);
        m_painted = widget.grab().toImage();
    }
    QImage m_painted;

private Q_SLOTS:
    void initTestCase()
    {
        m_deck = build();
        QVERIFY(m_deck.file->isOpen());
    }

    void buttonsCaptionsAndChipsArea()
    {
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, { kByChip, 1, 1, SchemeHarmonic, SchemeTonalNeutral });
        // 44-pixel buttons, 40 apart, centred: (400 + 40 - 4 * 84) / 2.
        QCOMPARE(widget.offeredKinds(), QVector<int>({ 1, 2, 5, 6 }));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(widget.buttonRect(widget.offeredKinds().at(i)), QRect(52 + 84 * i, 8, 44, 44));
        const int captionBottom = widget.captionRect(SchemeHarmonic).bottom();
        for (int kind : { 1, 2, 5, 6, 7, 8 })
            QCOMPARE(widget.captionRect(kind).bottom(), captionBottom);
        const QRect area = widget.chipsArea();
        QCOMPARE(area.left(), 24);
        QCOMPARE(area.right(), 375);
        QVERIFY(area.top() >= captionBottom + 16);
        QCOMPARE(area.height() % 3, 1);

        // 140 is trimmed alternately to 100; 91 stays; empty becomes one line; negative stays negative.
        const int rows[][3]
            = { { 140, 19, 100 }, { 91, 0, 91 }, { 0, 0, 1 }, { -5, 0, -4 } }; // height, top, fitted height
        for (const auto &[height, top, fittedHeight] : rows) {
            const QRect fitted = ColorSchemerWidget::fitChipsArea(QRect(24, 0, 300, height));
            QCOMPARE(fitted.top(), top);
            QCOMPARE(fitted.height(), fittedHeight);
        }
        // Too small for any chip: nothing laid out, nothing negative.
        widget.resize(40, 90);
        widget.grab();
        QVERIFY(widget.chips().isEmpty());
        // No scheme offered: the chips area still starts below the margin.
        select(widget, { kPelvon, 1, 1, 0, 7 });
        QCOMPARE(widget.chipsArea().top(), 24);

        // Neutral next to tonal neutral: each button shows its own caption; the neutral one is centred under its
        // button with room for the 9-pixel marker and its 4-pixel gap on the right.
        widget.resize(400, 226);
        select(widget, { kByCard, 2, 1, SchemeNeutral, SchemeTonalNeutral });
        const QRect neutral = widget.neutralCaptionRect();
        const QRect button = widget.buttonRect(SchemeNeutral);
        const int centre = button.left() + button.width() / 2;
        QCOMPARE(centre - neutral.left(), neutral.right() + 1 - 13 - centre);
        const auto whitePixels = [this](const QRect &rect) {
            int count = 0;
            for (int i = 0; i < rect.width() * rect.height(); ++i)
                count += m_painted.pixelColor(rect.topLeft() + QPoint(i % rect.width(), i / rect.width())) == Qt::white;
            return count;
        };
        const QRect tonal = widget.buttonRect(SchemeTonalNeutral);
        QVERIFY(whitePixels(QRect(button.left(), neutral.top(), button.width(), neutral.height())) > 0);
        QCOMPARE(whitePixels(QRect(tonal.left(), neutral.top(), tonal.width(), neutral.height())), 0);
    }

    void chipsByMode_data()
    {
        QTest::addColumn<Position>("at");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("storedSubKind");
        const QStringList harmonic { "B1", "B2", "C1", "C2" };
        QTest::newRow("by chip, one line per segment") << Position { kByChip, 1, 1, 1, 7 } << harmonic << 2 << 7;
        QTest::newRow("dramatic, plain chip: none") << Position { kByChip, 1, 1, 5, 7 } << QStringList() << 0 << 7;
        QTest::newRow("dramatic, neutral chip")
            << Position { kByChip, 4, 1, 5, 7 } << QStringList { "B1", "B2" } << 1 << 7;
        QTest::newRow("neutral shows the sub-kind")
            << Position { kByChip, 1, 1, 6, 7 } << QStringList { "C2", "C1" } << 1 << 7;
        QTest::newRow("segments break two lines' worth into three")
            << Position { kByChip, 1, 1, 2, 7 } << QStringList { "B1", "C1", "C2", "B2" } << 3 << 7;
        QTest::newRow("row outside the card: none") << Position { kByChip, 1, 2, 1, 7 } << QStringList() << 0 << 7;
        QTest::newRow("by card, complementary missing: tonal, remembered")
            << Position { kByCard, 1, 1, 6, 8 } << QStringList { "L1", "L2", "M1", "M2" } << 2 << 7;
        QTest::newRow("by card, complementary there")
            << Position { kByCard, 2, 2, 6, 8 } << QStringList { "K1", "K2" } << 1 << 8;
        QTest::newRow("no schemes page: nearest chip's schemes")
            << Position { kPlain, 1, 1, 1, 7 } << harmonic << 2 << 7;
    }
    void chipsByMode()
    {
        QFETCH(Position, at);
        QFETCH(QStringList, codes);
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, at);
        const auto chips = widget.chips();
        QCOMPARE(chips.size(), codes.size());
        QSet<int> tops;
        QRect block;
        for (int i = 0; i < chips.size(); ++i) {
            const auto &[rect, chip] = chips.at(i);
            QCOMPARE(chip.rowId, m_deck.rows.value(codes.at(i)));
            QCOMPARE(m_painted.pixelColor(rect.center()), m_deck.colors.value(codes.at(i)));
            QCOMPARE(m_painted.pixelColor(QPoint(rect.right() + 1, rect.center().y())), QColor(64, 64, 64));
            QVERIFY(widget.chipsArea().contains(rect.adjusted(0, 0, 1, 1)));
            tops.insert(rect.top());
            block |= rect.adjusted(-1, -1, 1, 1);
        }
        QTEST(int(tops.size()), "lines");
        QTEST(UserState::schemeNeutralSubKind(at.collection), "storedSubKind");
        if (chips.isEmpty())
            return;
        // Centred in the area; the outer shade's left edge, rounded by 3, reaches one row above the block.
        const QRect area = widget.chipsArea();
        QVERIFY(qAbs((block.top() + 1 - area.top()) - (area.bottom() - block.bottom() + 1)) <= 1);
        QCOMPARE(m_painted.pixelColor(block.left() - 2, block.top() - 1),
            m_painted.pixelColor(block.left() - 2, block.center().y()));
    }

    void clicksOnButtons_data()
    {
        QTest::addColumn<Position>("at");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("emitted"); // "kind N", "sub-kind N" or nothing
        QTest::newRow("another kind") << Position { kByChip, 1, 1, 1, 7 } << 2 << "kind 2";
        QTest::newRow("the selected kind") << Position { kByChip, 1, 1, 1, 7 } << 1 << "";
        QTest::newRow("neutral without complementary") << Position { kByChip, 1, 1, 6, 7 } << 6 << "";
        QTest::newRow("card without complementary") << Position { kByCard, 1, 1, 6, 7 } << 6 << "";
        QTest::newRow("tonal to complementary") << Position { kByCard, 2, 1, 6, 7 } << 6 << "sub-kind 8";
        QTest::newRow("complementary to tonal") << Position { kByCard, 2, 1, 6, 8 } << 6 << "sub-kind 7";
        QTest::newRow("shortcut: second of four") << Position { kByChip, 1, 1, 1, 7 } << 0 << "kind 2";
        QTest::newRow("shortcut: one scheme offered") << Position { kPlain, 1, 1, 1, 7 } << 0 << "";
    }
    void clicksOnButtons()
    {
        QFETCH(Position, at);
        QFETCH(int, clicked);
        QFETCH(QString, emitted);
        ColorSchemerWidget widget;
        widget.resize(400, 226);
        select(widget, at);
        QStringList seen;
        connect(&widget, &ColorSchemerWidget::schemeKindChangedInteractively, this,
            [&](SchemeKind kind) { seen << QStringLiteral("kind %1").arg(kind); });
        connect(&widget, &ColorSchemerWidget::schemeNeutralSubKindChangedInteractively, this,
            [&](SchemeKind kind) { seen << QStringLiteral("sub-kind %1").arg(kind); });
        if (clicked == 0) {
            widget.show();
            widget.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&widget));
            QTest::keySequence(&widget, QKeySequence("Ctrl+S, Ctrl+2"));
            QCOMPARE(seen, emitted.isEmpty() ? QStringList() : QStringList { emitted });
            return;
        }
        // The button and its caption are both targets.
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.buttonRect(clicked).center());
        QTest::mouseClick(&widget, Qt::LeftButton, {}, widget.captionRect(clicked).center());
        QCOMPARE(seen, emitted.isEmpty() ? QStringList() : QStringList({ emitted, emitted }));
    }

    // Pelvon cards: three columns in a 332-pixel widget, exactly three chips in scheme order.
    void pelvonColumnsAndChips()
    {
        UserState::setLastUsedCollection(kPelvon);
        UserState::setPageIndex(kPelvon, 1);
        for (const int row : { 1, 2 }) { // three chips stored out of order; four: none
            UserState::setRowIndex(kPelvon, row);
            ColorSchemerPelvonWidget widget;
            widget.resize(300, 200);
            widget.grab();
            widget.resize(332, 226);
            const QImage painted = widget.grab().toImage();
            const auto captions = widget.captions();
            QCOMPARE(captions.size(), 3);
            for (int column = 0; column < 3; ++column) {
                const QRect caption = captions.at(column).first;
                QCOMPARE(caption.left(), 12 + 104 * column);
                QCOMPARE(caption.width(), 100);
                QCOMPARE(widget.chipRect(column), QRect(caption.left(), caption.bottom() + caption.height(), 100, 50));
            }
            QCOMPARE(captions.at(0).second, "wide\ncontrast 1");
            QCOMPARE(captions.at(2).second, "wide\ncontrast 2");
            const QStringList codes = row == 1 ? QStringList { "W0", "T0", "W1" } : QStringList();
            QCOMPARE(widget.chips().size(), codes.size());
            for (int i = 0; i < codes.size(); ++i) {
                QCOMPARE(widget.chips().at(i).second.code, codes.at(i));
                QCOMPARE(painted.pixelColor(widget.chipRect(i).center()), m_deck.colors.value(codes.at(i)));
            }
            if (codes.isEmpty())
                QCOMPARE(painted.pixelColor(widget.chipRect(1).center()), painted.pixelColor(QPoint(2, 2)));
            // Each title explains its column.
            for (int column = 0; column < 3; ++column) {
                const QPoint over = captions.at(column).first.center();
                QMouseEvent hover(QEvent::MouseMove, over, widget.mapToGlobal(over), Qt::NoButton, {}, {});
                QCoreApplication::sendEvent(&widget, &hover);
                QCOMPARE(QToolTip::text(),
                    QStringLiteral("<span style=\"font-size: 12px;\">%1</span>")
                        .arg(column == 1 ? "contrast" : "wide.contrast"));
            }
        }
    }
};

HUELINK_TEST_MAIN(ColorSchemerWidgetTest)
#include "ColorSchemerWidgetTest.moc"
