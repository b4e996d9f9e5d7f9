#include "ui/browse/SearchWidget.h"

#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/browse/RollButton.h"
#include "ui/look/ProgramFont.h"

#include <QCompleter>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace Tintor;

namespace {

// Counts the key presses that reach a widget.
class KeyCounter : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++count;
        return false;
    }
    int count = 0;
};

} // namespace

class SearchWidgetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(BrowseFixture::create()); }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(BrowseFixture::kInterior);
        m_window = std::make_unique<QWidget>();
        m_window->resize(300, 60);
        m_search = new SearchWidget(m_window.get());
        m_search->move(12, 17);
        m_other = new QLineEdit(m_window.get());
        m_other->setGeometry(0, 0, 100, 16);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_other->setFocus();
        QTRY_VERIFY(m_other->hasFocus());
    }

    void cleanup() { m_window.reset(); }

    void laysOutGlassTextAndRollButtons()
    {
        QCOMPARE(m_search->minimumSize(), QSize(210, 26));
        QCOMPARE(m_search->maximumSize(), QSize(210, 26));
        // Theme images: glass 16 x 16, roll buttons 18 x 22.
        QCOMPARE(m_search->magnifyingGlassRect(), QRect(7, 5, 16, 16));
        RollButton *backward = m_search->rollButton(Backward);
        QCOMPARE(m_search->rollButton(Forward)->direction(), Forward);
        QCOMPARE(m_search->rollButton(Forward)->geometry(), QRect(192, 2, 18, 22));
        QCOMPARE(backward->geometry(), QRect(174, 2, 18, 22));
        const int textHeight
            = QFontMetrics(m_search->lineEdit()->font()).size(Qt::TextSingleLine, QStringLiteral("Ág")).height();
        const QRect edit = m_search->lineEdit()->geometry();
        QCOMPARE(edit, QRect(24, (26 - textHeight) / 2, 174 - 15 - 24 + 1, textHeight));
        // The frame closes 6 pixels right of the text and leaves the buttons outside.
        QCOMPARE(m_search->frameRect(), QRect(QPoint(0, 0), QPoint(edit.right() + 6, 25)));
        QVERIFY(!m_search->lineEdit()->hasFrame());
        QCOMPARE(m_search->lineEdit()->palette().color(QPalette::Text), QColor(255, 255, 255));
    }

    void typingSearchingAndLeaving()
    {
        QSignalSpy phrases(m_search, &SearchWidget::searchForPhrase);
        QSignalSpy rolls(m_search, &SearchWidget::roll);
        QLineEdit *edit = m_search->lineEdit();
        QCOMPARE(edit->font(), programFont(FontStyle::Italic, 2));
        QCOMPARE(edit->placeholderText(), QStringLiteral("Code or name"));
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Normal, 2));
        QTest::keyClicks(edit, QStringLiteral("xq 7"));
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("ä"), Qt::NoModifier);
        QCOMPARE(edit->text(), QStringLiteral("XQ 7Ä"));
        // Leaving a box with text keeps the roman font.
        m_other->setFocus();
        QTRY_VERIFY(m_other->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Normal, 2));

        // Return sends the trimmed phrase and empties the box.
        edit->clear();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("  n 0500 "));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(phrases.count(), 1);
        QCOMPARE(phrases.first().first().toString(), QStringLiteral("N 0500"));
        QVERIFY(edit->text().isEmpty());
        QVERIFY(m_search->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Italic, 2));
        // A blank phrase goes out trimmed; the receiver decides what it finds.
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("   "));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(phrases.count(), 2);
        QCOMPARE(phrases.last().first().toString(), QString());
        QVERIFY(edit->text().isEmpty());

        // Escape clears and leaves, consumed before the window sees it.
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("abc"));
        KeyCounter window;
        m_window->installEventFilter(&window);
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(edit->text().isEmpty());
        QVERIFY(m_search->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Italic, 2));
        QCOMPARE(window.count, 0);
        QCOMPARE(phrases.count(), 2);
        QCOMPARE(rolls.count(), 0);
    }

    void completesInlineWhateverTheCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("completed");
        QTest::newRow("name, mixed case") << QStringLiteral("aLp") << QStringLiteral("ALPENGLÜHEN");
        QTest::newRow("code") << QStringLiteral("s 2") << QStringLiteral("S 2010-R");
    }
    void completesInlineWhateverTheCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, completed);
        QLineEdit *edit = m_search->lineEdit();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text().toUpper(), completed);
        // The completed rest is selected, so typing on replaces it.
        QCOMPARE(edit->selectedText().size(), completed.size() - typed.size());
        QSignalSpy phrases(m_search, &SearchWidget::searchForPhrase);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(phrases.first().first().toString(), completed);
    }

    void collectionChangeReplacesTextsAndWords()
    {
        UserState::setLastUsedCollection(BrowseFixture::kExterior);
        SearchWidget search;
        QCOMPARE(search.lineEdit()->placeholderText(), QStringLiteral("Find a colour"));
        QLineEdit *edit = m_search->lineEdit();
        m_search->selectedCollectionChanged(BrowseFixture::kExterior);
        QCOMPARE(edit->placeholderText(), QStringLiteral("Find a colour"));
        // The words come with the first use of the box, not before.
        QVERIFY(!edit->completer());
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        // Its only searched text is the code; names are not searched there.
        QCOMPARE(edit->completer()->model()->rowCount(), 1);
        // No chips: no completion, and certainly not the former collection's words.
        m_search->selectedCollectionChanged(BrowseFixture::kOil);
        QCOMPARE(edit->placeholderText(), QStringLiteral("color.palette.enter.search.text"));
        QVERIFY(!edit->completer());
    }

    void rollButtonsEmitTheirDirectionAndRepeat()
    {
        QSignalSpy rolls(m_search, &SearchWidget::roll);
        RollButton *button = m_search->rollButton(Backward);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(rolls.count(), 1);
        QCOMPARE(rolls.takeFirst().first().value<Direction>(), Backward);
        button = m_search->rollButton(Forward);
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTRY_VERIFY(rolls.count() >= 3);
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        const int count = rolls.count();
        for (const QList<QVariant> &arguments : std::as_const(rolls))
            QCOMPARE(arguments.first().value<Direction>(), Forward);
        // Released: at most one repeat already queued, then silence.
        QTest::qWait(400);
        QVERIFY(rolls.count() <= count + 1);
    }

    void paintsTheBackgroundAndTheRoundedFrame()
    {
        QImage background = BrowseFixture::headerBackground(m_search->size());
        m_search->setBackgroundImage(background);
        const QRect edit = m_search->lineEdit()->geometry();
        QCOMPARE(m_search->lineEdit()
                     ->palette()
                     .brush(QPalette::Base)
                     .texture()
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied),
            background.copy(edit));
        // The text area shows the background colour, not a white base.
        const QColor painted = m_search->grab().toImage().pixelColor(edit.right() - 2, edit.center().y());
        QVERIFY2(qAbs(painted.red() - background.pixelColor(edit.right() - 2, edit.center().y()).red()) <= 2,
            qPrintable(painted.name()));
        QWidget host;
        host.setFixedSize(m_search->size());
        host.setAutoFillBackground(true);
        QPalette palette;
        palette.setBrush(QPalette::Window, QBrush(background));
        host.setPalette(palette);
        SearchWidget search(&host);
        search.setBackgroundImage(background);
        const QImage shot = host.grab().toImage();
        // The opaque outline of the inner rectangle: like drawRect, its right
        // and bottom lines fall one pixel outside it, on the frame's edge.
        const int y = 13;
        const QRect frame = search.frameRect();
        QCOMPARE(shot.pixelColor(1, y), QColor(45, 45, 45));
        QCOMPARE(shot.pixelColor(frame.right(), y), QColor(45, 45, 45));
        QCOMPARE(shot.pixelColor(frame.center().x(), 1), QColor(45, 45, 45));
        QCOMPARE(shot.pixelColor(frame.center().x(), frame.bottom()), QColor(45, 45, 45));
        // Nothing is drawn past the frame between it and the buttons.
        QCOMPARE(shot.pixelColor(frame.right() + 3, y), background.pixelColor(frame.right() + 3, y));
    }

private:
    std::unique_ptr<QWidget> m_window;
    SearchWidget *m_search = nullptr;
    QLineEdit *m_other = nullptr;
};

HUELINK_TEST_MAIN(SearchWidgetTest)
#include "SearchWidgetTest.moc"
