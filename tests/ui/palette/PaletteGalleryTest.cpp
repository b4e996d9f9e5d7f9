// Renders My Palette and the full palette view filled with demo chips into
// PNG files for a look by eye (<build>/gallery/palette/), over a theme drawn
// here so that no placeholder shows. The checks make sure the pictures show
// what they are meant to: themed bars, chips, frames and no placeholder.

#include "PaletteFixture.h"

#include "ui/chips/MainWidgetAccess.h"
#include "state/UserState.h"
#include "ui/chips/ChipPayload.h"
#include "ui/look/ImageButton.h"
#include "ui/look/Theme.h"
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QtTest>

using namespace Tintor;
using namespace PaletteFixture;

namespace {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage mainBackground()
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 600);
    gradient.setColorAt(0, QColor(70, 74, 82));
    gradient.setColorAt(1, QColor(44, 46, 52));
    painter.fillRect(image.rect(), gradient);
    // A faint weave so that the piece behind the description shows.
    painter.setPen(QColor(255, 255, 255, 8));
    for (int x = -600; x < 800; x += 6)
        painter.drawLine(x, 0, x + 600, 600);
    return image;
}

QImage barBackground()
{
    QImage image(30, 30, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 30);
    gradient.setColorAt(0, QColor(96, 100, 108));
    gradient.setColorAt(1, QColor(60, 63, 70));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(130, 134, 142));
    painter.drawLine(0, 0, 29, 0);
    painter.setPen(QColor(34, 36, 40));
    painter.drawLine(0, 29, 29, 29);
    return image;
}

// 16 x 16 line icons in a light grey over a dark shadow, so that they read
// on the dark bar and on the light face of a checked button alike.
QImage icon(const std::function<void(QPainter &)> &draw)
{
    QImage image = canvas(16, 16);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 22, 26, 200), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    painter.setPen(QPen(QColor(236, 238, 242), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    return image;
}

void addTheme(FixtureDatabase &file)
{
    const qint64 system = 0;
    file.addTheme(system, themeItemKey(ThemeItem::PreferredFontFaces), QByteArrayLiteral("Myriad Pro,10;DejaVu Sans,8"));
    file.addTheme(system, themeItemKey(ThemeItem::MainBackground), FixtureDatabase::png(mainBackground()));
    file.addTheme(system, themeItemKey(ThemeItem::BarBackground), FixtureDatabase::png(barBackground()));
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteZoom), FixtureDatabase::png(icon([](QPainter &p) {
                      p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
                      p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
                      p.drawLine(QPointF(6.25, 4.5), QPointF(6.25, 8));
                      p.drawLine(QPointF(4.5, 6.25), QPointF(8, 6.25));
                  })));
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteEraser), FixtureDatabase::png(icon([](QPainter &p) {
                      QPainterPath path;
                      path.moveTo(2, 10);
                      path.lineTo(9, 3);
                      path.lineTo(14, 8);
                      path.lineTo(8.5, 13.5);
                      path.lineTo(5.5, 13.5);
                      path.closeSubpath();
                      p.drawPath(path);
                      p.drawLine(QPointF(5.5, 6.5), QPointF(10.5, 11.5));
                      p.drawLine(QPointF(8.5, 13.5), QPointF(14, 13.5));
                  })));
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteTrash), FixtureDatabase::png(icon([](QPainter &p) {
                      p.drawLine(QPointF(2.5, 4), QPointF(13.5, 4));
                      p.drawLine(QPointF(6, 4), QPointF(6.5, 2));
                      p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
                      p.drawLine(QPointF(9.5, 2), QPointF(10, 4));
                      p.drawRoundedRect(QRectF(4, 5.5, 8, 8.5), 1, 1);
                      p.drawLine(QPointF(6.75, 7.5), QPointF(6.75, 12));
                      p.drawLine(QPointF(9.25, 7.5), QPointF(9.25, 12));
                  })));
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteGridOff), FixtureDatabase::png(icon([](QPainter &p) {
                      p.drawRect(QRectF(2, 3, 12, 10));
                      p.drawLine(QPointF(6, 3), QPointF(6, 13));
                      p.drawLine(QPointF(10, 3), QPointF(10, 13));
                      p.drawLine(QPointF(2, 8), QPointF(14, 8));
                  })));
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteFullBack), FixtureDatabase::png(icon([](QPainter &p) {
                      p.drawLine(QPointF(3, 8), QPointF(13, 8));
                      p.drawLine(QPointF(3, 8), QPointF(7.5, 3.5));
                      p.drawLine(QPointF(3, 8), QPointF(7.5, 12.5));
                  })));
    QImage question = canvas(128, 128);
    {
        QPainter p(&question);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(48, 120, 200));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(4, 4, 120, 120));
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setPixelSize(84);
        font.setBold(true);
        p.setFont(font);
        p.drawText(question.rect(), Qt::AlignCenter, QStringLiteral("?"));
    }
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteClearQuestionIcon), FixtureDatabase::png(question));

    // Slider: a dark rounded track, a mask that keeps its inside, a light knob.
    QImage groove = canvas(21, 7);
    {
        QPainter p(&groove);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(30, 30, 34));
        p.setBrush(QColor(70, 72, 78));
        p.drawRoundedRect(QRectF(0.5, 0.5, 20, 6), 3, 3);
    }
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteFullSliderBackground), FixtureDatabase::png(groove));
    QImage mask(21, 7, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        p.drawRoundedRect(QRect(2, 2, 17, 3), 1, 1);
    }
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteFullSliderBackgroundMask), FixtureDatabase::png(mask));
    QImage thumb = canvas(11, 13);
    {
        QPainter p(&thumb);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 0, 13);
        gradient.setColorAt(0, QColor(250, 250, 252));
        gradient.setColorAt(1, QColor(196, 198, 204));
        p.setPen(QColor(40, 40, 44));
        p.setBrush(gradient);
        p.drawRoundedRect(QRectF(0.5, 0.5, 10, 12), 3, 3);
    }
    file.addTheme(system, themeItemKey(ThemeItem::MyPaletteFullSliderThumb), FixtureDatabase::png(thumb));
}

// The main widget's place in the gallery: its background and the save
// button My Palette enables.
class GalleryMainWidget : public QWidget, public MainWidgetAccess
{
public:
    GalleryMainWidget()
    {
        MainWidgetAccess::setCurrent(this);
        m_background = themeImage(ThemeItem::MainBackground);
    }
    const std::vector<LabCandidate> &colorCandidates() const override { return m_candidates; }
    QWidget *mainWidgetItself() override { return this; }
    QAbstractButton *taskButtonById(quint16) override { return nullptr; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_background);
    }

private:
    QImage m_background;
    std::vector<LabCandidate> m_candidates;
};

bool showsPlaceholder(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == QColor(255, 0, 0))
                return true;
        }
    }
    return false;
}

} // namespace

class PaletteGalleryTest : public QObject
{
    Q_OBJECT

private:
    Collections m_collections;
    QDir m_output;

    void save(const QImage &image, const QString &name)
    {
        QVERIFY(image.save(m_output.filePath(name)));
        QVERIFY2(!showsPlaceholder(image), qPrintable(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
        addTheme(*m_collections.file);
        const QString build = qEnvironmentVariable("HUELINK_BUILD_DIR", QDir::tempPath());
        QVERIFY(QDir().mkpath(build + QStringLiteral("/gallery/palette")));
        m_output = QDir(build + QStringLiteral("/gallery/palette"));

        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
        // 20 of 24 cells, the chips of both decks.
        int next = 0;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 6; ++column, ++next) {
                if (next % 6 == 4 && row != 1)
                    continue;
                if (next % 11 == 10) {
                    const int plain = next % m_collections.plainRows.size();
                    UserState::setMyPaletteEntry(
                        row, column, DB::ItemIndex{kPlainDeck, m_collections.plainPageId, m_collections.plainRows.at(plain)});
                } else {
                    UserState::setMyPaletteEntry(row, column, deckItem(m_collections, next % kDeckChips.size()));
                }
            }
        }
        UserState::setMyPaletteCellSelected(1, 2, true);
        UserState::setMyPaletteCellSelected(2, 2, true);
    }

    void myPalette()
    {
        GalleryMainWidget main;
        main.resize(580, 280);
        auto *palette = new MyPaletteWidget(&main);
        palette->setGeometry(20, 20, 540, 240);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        save(main.grab().toImage(), QStringLiteral("my-palette-instructions.png"));

        palette->descriptionEdit()->setText(QStringLiteral("Living room, north light"));
        // A chip held over an empty cell.
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(chipPayloadText(FromCardRoller, kDeck, [&] {
            DB::ColorEntry chip;
            chip.id = m_collections.deckRows.at(0);
            return chip;
        }())));
        const QPoint over = palette->cellRect(QPoint(4, 0)).center();
        QDragEnterEvent enter(over, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(palette, &enter);
        QDragMoveEvent move(over, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(palette, &move);
        QCOMPARE(palette->dropCell(), QPoint(4, 0));
        const QImage image = main.grab().toImage();
        save(image, QStringLiteral("my-palette.png"));
        QCOMPARE(QColor(image.pixel(palette->pos() + palette->cellRect(QPoint(0, 0)).center())),
                 kDeckChips.at(0).color);
        // The bar is the themed one, not the main background.
        QCOMPARE(QColor(image.pixel(palette->pos() + QPoint(2, 0))), QColor(130, 134, 142));

        QTest::mouseClick(palette->gridButton(), Qt::LeftButton);
        save(main.grab().toImage(), QStringLiteral("my-palette-no-grid.png"));
        QTest::mouseClick(palette->gridButton(), Qt::LeftButton);
    }

    void fullView_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("grey");
        QTest::addColumn<QString>("name");
        QTest::newRow("main widget size") << QSize(800, 600) << 176 << QStringLiteral("my-palette-full.png");
        QTest::newRow("500x400 dark") << QSize(500, 400) << 60 << QStringLiteral("my-palette-full-dark.png");
    }

    void fullView()
    {
        QFETCH(QSize, size);
        QFETCH(int, grey);
        QFETCH(QString, name);
        UserState::setMyPaletteFullBackgroundColor(grey);
        MyPaletteFullWidget view;
        view.resize(size);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.grab().toImage();
        save(image, name);
        QCOMPARE(QColor(image.pixel(view.cellRect(QPoint(0, 0)).center())), kDeckChips.at(0).color);
        QCOMPARE(QColor(image.pixel(size.width() / 2, size.height() - 5)), QColor(grey, grey, grey));

        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, view.cellRect(QPoint(3, 0)).center());
        save(view.grab().toImage(), QString(name).replace(QStringLiteral(".png"), QStringLiteral("-shown.png")));
    }
};

HUELINK_TEST_MAIN(PaletteGalleryTest)
#include "PaletteGalleryTest.moc"
