#include "ui/browse/RollButton.h"

#include "ui/browse/BrowseFixture.h"

#include <QtTest>

using namespace Tintor;

class RollButtonTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(BrowseFixture::create()); }

    void showsItsNormalImageAndThePressedOneWhileDown_data()
    {
        QTest::addColumn<int>("direction");
        QTest::newRow("backward") << int(Backward);
        QTest::newRow("forward") << int(Forward);
    }
    void showsItsNormalImageAndThePressedOneWhileDown()
    {
        QFETCH(int, direction);
        const Qt::ArrowType arrowType = direction == Forward ? Qt::RightArrow : Qt::LeftArrow;
        const QImage normal = BrowseFixture::arrow(18, 22, arrowType, QColor(230, 230, 230));
        const QImage pressed = BrowseFixture::arrow(18, 22, arrowType, QColor(255, 200, 60));

        // Direction, size and repeat are checked in the search box.
        RollButton button{Direction(direction)};
        QCOMPARE(button.minimumSize(), button.maximumSize());

        // No frame or bevel: the grab is the image on the transparent button.
        QImage shot = button.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QPoint inside(normal.width() / 2, normal.height() / 2);
        QCOMPARE(shot.pixelColor(inside), normal.pixelColor(inside));
        button.setDown(true);
        shot = button.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shot.pixelColor(inside), pressed.pixelColor(inside));
    }
};

HUELINK_TEST_MAIN(RollButtonTest)
#include "RollButtonTest.moc"
