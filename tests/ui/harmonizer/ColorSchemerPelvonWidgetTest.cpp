#include "HarmonizerFixture.h"

#include "state/UserState.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"

#include <QtTest>

using namespace Tintor;
using namespace HarmonizerFixture;

class ColorSchemerPelvonWidgetTest : public QObject
{
    Q_OBJECT

private:
    Deck m_deck;

private Q_SLOTS:
    void initTestCase()
    {
        m_deck = build();
        QVERIFY(m_deck.file->isOpen());
        UserState::setLastUsedCollection(kPelvon);
        UserState::setPageIndex(kPelvon, 1);
    }

    void columnsOf332Pixels()
    {
        ColorSchemerPelvonWidget widget;
        widget.resize(300, 200);
        widget.grab();
        widget.resize(332, 226);
        widget.grab();
        const auto captions = widget.captions();
        QCOMPARE(captions.size(), 3);
        const int lefts[] = {12, 116, 220};
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(captions.at(column).first.left(), lefts[column]);
            QCOMPARE(captions.at(column).first.right(), lefts[column] + 99);
            QCOMPARE(widget.chipRect(column).left(), lefts[column]);
            QCOMPARE(widget.chipRect(column).height(), 50);
            QCOMPARE(widget.chipRect(column).top(), captions.at(column).first.bottom() + captions.at(column).first.height());
        }
        QCOMPARE(captions.at(0).second, QStringLiteral("wide\ncontrast 1"));
        QCOMPARE(captions.at(2).second, QStringLiteral("wide\ncontrast 2"));
    }

    void exactlyThreeChipsInSchemeOrder_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("three, stored out of order") << 1 << QStringList{"W0", "T0", "W1"};
        QTest::newRow("four: none") << 2 << QStringList();
    }
    void exactlyThreeChipsInSchemeOrder()
    {
        QFETCH(int, row);
        QFETCH(QStringList, codes);
        UserState::setRowIndex(kPelvon, row);
        ColorSchemerPelvonWidget widget;
        widget.resize(332, 226);
        const QImage painted = widget.grab().toImage();
        const auto chips = widget.chips();
        QCOMPARE(chips.size(), codes.size());
        for (int i = 0; i < codes.size(); ++i) {
            QCOMPARE(chips.at(i).second.code, codes.at(i));
            QCOMPARE(painted.pixelColor(widget.chipRect(i).center()), m_deck.colors.value(codes.at(i)));
        }
        if (codes.isEmpty())
            QCOMPARE(painted.pixelColor(widget.chipRect(1).center()), painted.pixelColor(QPoint(2, 2)));
    }
};

HUELINK_TEST_MAIN(ColorSchemerPelvonWidgetTest)
#include "ColorSchemerPelvonWidgetTest.moc"
