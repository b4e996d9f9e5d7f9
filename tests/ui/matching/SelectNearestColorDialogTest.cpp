#include "ui/matching/SelectNearestColorDialog.h"
#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ColorTooltipText.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolTip>
#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kDeck("{9a000000-0000-0000-0000-000000000001}");
const QColor kReference(128, 128, 128);

// Far from the reference and each other: every swatch differs from the background in one pixel.
const QList<QColor> kChipColors = { QColor(200, 40, 40), QColor(40, 200, 40), QColor(40, 40, 200), QColor(220, 200, 30),
    QColor(30, 200, 220), QColor(200, 30, 220) };

} // namespace

class SelectNearestColorDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;
    QVector<DB::ColorEntry> chips;

    QVector<DB::ColorEntry> candidates(int count) const { return chips.mid(0, count); }

    static QColor pixel(const QImage &image, const QPoint &point) { return QColor(image.pixel(point)); }

private Q_SLOTS:
    void initTestCase()
    {
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/nearest.db");
        QVERIFY(fixture->isOpen());
        const qint64 deck = fixture->addCollection(kDeck, "DECK", 1, true, "Deck");
        fixture->addSetting(deck, "color.tooltip.show.row.code", 1);
        fixture->addLocale(deck, "colormatcher.dialog.caption", "Nearest colours");
        fixture->addLocale(deck, "capsure.dialog.todo", "Click a colour");
        const qint64 pageId = fixture->addPage(deck, {});
        for (int index = 0; index < kChipColors.size(); ++index)
            QVERIFY(fixture->addRow(
                        deck, pageId, { index + 1, QStringLiteral("N-%1").arg(index + 1), kChipColors.at(index) })
                > 0);
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        for (int rowIndex = 1; rowIndex <= kChipColors.size(); ++rowIndex) {
            DB::ColorEntry entry;
            QCOMPARE(DB::entryAt(kDeck, 1, rowIndex, entry), 0);
            chips.append(entry);
        }
    }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
    }

    // Nearest top left, the third ends the row, the fourth opens the next; a taller font lowers; odd sizes truncate.
    void swatchGeometry()
    {
        const std::tuple<QSize, int, int, QRect> rows[] = { { { 320, 200 }, 15, 0, { 32, 16, 80, 68 } },
            { { 320, 200 }, 15, 2, { 208, 16, 80, 68 } }, { { 320, 200 }, 15, 3, { 32, 92, 80, 68 } },
            { { 320, 200 }, 20, 3, { 32, 90, 80, 66 } }, { { 321, 203 }, 16, 4, { 120, 93, 80, 69 } } };
        for (const auto &[size, fontHeight, candidate, expected] : rows)
            QCOMPARE(SelectNearestColorDialog::swatchRect(size, fontHeight, candidate), expected);
    }

    void constructionTextsLayoutAndPainting()
    {
        SelectNearestColorDialog dialog(kReference, candidates(2));
        QCOMPARE(dialog.size(), QSize(320, 200));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.windowTitle(), "Nearest colours");
        QCOMPARE(dialog.instructionLabel()->text(), "Click a colour");
        QVERIFY(dialog.framedChipsCheckBox()->isChecked());
        const Qt::WindowFlags help = Qt::WindowContextHelpButtonHint | Qt::WindowMaximizeButtonHint;
        QCOMPARE(dialog.windowFlags() & (help | Qt::CustomizeWindowHint), Qt::CustomizeWindowHint);
        // Laid out before it is ever shown: label along the bottom edge, one pixel past both sides; check box above.
        const int th = dialog.fontMetrics().height();
        QCOMPARE(dialog.instructionLabel()->geometry(), QRect(QPoint(-1, 200 - th - 8), QPoint(320, 200)));
        const QSize hint = dialog.framedChipsCheckBox()->sizeHint();
        QCOMPARE(dialog.framedChipsCheckBox()->geometry(),
            QRect(QPoint(0, 200 - th - 8 - hint.height()), QPoint(hint.width() - 1, 200 - th - 9)));
        QVERIFY(dialog.swatchRect(2).isNull());

        // Swatches and frames on the reference colour.
        QImage image = dialog.grab().toImage();
        for (int k = 0; k < 6; ++k) {
            const QRect swatch = SelectNearestColorDialog::swatchRect(dialog.size(), dialog.fontMetrics().height(), k);
            QCOMPARE(pixel(image, swatch.center()), k < 2 ? kChipColors.at(k) : kReference);
        }
        QCOMPARE(pixel(image, QPoint(5, 5)), kReference);
        QCOMPARE(pixel(image, QPoint(319, 50)), kReference);
        // The plain frame runs along the swatch's edges; the faint outer frames darken the background.
        const QRect swatch = dialog.swatchRect(1);
        const QColor frame(64, 64, 64);
        QCOMPARE(pixel(image, swatch.topLeft()), frame);
        QCOMPARE(pixel(image, QPoint(swatch.right(), swatch.center().y())), frame);
        QCOMPARE(pixel(image, QPoint(swatch.center().x(), swatch.bottom())), frame);
        const QPoint outside = swatch.topLeft() + QPoint(-2, 10);
        QVERIFY(pixel(image, outside).red() < kReference.red());

        dialog.framedChipsCheckBox()->setChecked(false);
        image = dialog.grab().toImage();
        QCOMPARE(pixel(image, swatch.topLeft()), kChipColors.at(1));
        QCOMPARE(pixel(image, outside), kReference);
    }

    // Each candidate's tooltip says how far it lies from the reference colour, graded as a person reads it.
    void tooltipGradesTheDifference_data()
    {
        QTest::addColumn<QColor>("reference");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same colour") << kChipColors.at(0) << QStringLiteral("\u0394E 0.0, indistinguishable");
        QTest::newRow("a little lighter") << QColor(205, 46, 45) << QStringLiteral("\u0394E 1.6, very close");
        QTest::newRow("darker") << QColor(188, 36, 36) << QStringLiteral("\u0394E 2.7, close");
        QTest::newRow("grey") << kReference << QStringLiteral("\u0394E 29.3, different");
    }

    void tooltipGradesTheDifference()
    {
        QFETCH(QColor, reference);
        QFETCH(QString, expected);
        SelectNearestColorDialog dialog(reference, candidates(2));
        const QString text = dialog.swatchToolTip(0);
        QVERIFY2(text.startsWith(colorTooltipText(kDeck, chips.at(0).id, true)), qPrintable(text));
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY(dialog.swatchToolTip(2).isEmpty());
    }

    // Hovering a swatch shows its chip; only a left click on a swatch accepts with it.
    void hoverAndClicks()
    {
        SelectNearestColorDialog dialog(kReference, candidates(4));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseMove(&dialog, dialog.swatchRect(1).center());
        QCOMPARE(dialog.cursor().shape(), Qt::PointingHandCursor);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), dialog.swatchToolTip(1));
        QVERIFY(QToolTip::text().startsWith(colorTooltipText(kDeck, chips.at(1).id, true)));
        QVERIFY(QToolTip::text().contains("N-2"));
        QTest::mouseMove(&dialog, QPoint(5, 5));
        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
        QTRY_VERIFY(!QToolTip::isVisible());

        QSignalSpy finished(&dialog, &QDialog::finished);
        // The right button on a swatch, the left between swatches and on a free slot of the second row.
        const QRect first = dialog.swatchRect(0);
        QTest::mouseClick(&dialog, Qt::RightButton, {}, first.center());
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(first.right() + 4, first.center().y()));
        const QRect freeSlot = SelectNearestColorDialog::swatchRect(dialog.size(), dialog.fontMetrics().height(), 5);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, freeSlot.center());
        QCOMPARE(finished.count(), 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.chosenEntry().id, qint64(-1));
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, dialog.swatchRect(2).center());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.chosenEntry().id, chips.at(2).id);
    }
};

HUELINK_TEST_MAIN(SelectNearestColorDialogTest)
#include "SelectNearestColorDialogTest.moc"
