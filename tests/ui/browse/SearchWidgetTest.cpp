#include "ui/browse/SearchWidget.h"

#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/browse/RollButton.h"
#include "ui/look/ProgramFont.h"

#include <QCompleter>
#include <QLineEdit>

using namespace Tintor;

class SearchWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    SearchWidget *m_search = nullptr;
    QLineEdit *m_other = nullptr;

    QLineEdit *focusedEdit()
    {
        QLineEdit *edit = m_search->lineEdit();
        edit->setFocus();
        return QTest::qWaitFor([edit] { return edit->hasFocus(); }) ? edit : nullptr;
    }

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
        QVERIFY(m_search->minimumSize() == QSize(210, 26) && m_search->maximumSize() == QSize(210, 26));
        // Theme images: glass 16 x 16, roll buttons 18 x 22.
        QCOMPARE(m_search->magnifyingGlassRect(), QRect(7, 5, 16, 16));
        QCOMPARE(m_search->rollButton(Forward)->geometry(), QRect(192, 2, 18, 22));
        QCOMPARE(m_search->rollButton(Backward)->geometry(), QRect(174, 2, 18, 22));
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

        // Return sends the trimmed phrase, blank too (the receiver decides), and empties the box.
        edit->clear();
        for (const QString &typed : { QStringLiteral("  n 0500 "), QStringLiteral("   ") }) {
            QVERIFY(focusedEdit());
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(phrases.last().first().toString(), typed.trimmed().toUpper());
            QVERIFY(edit->text().isEmpty() && m_search->hasFocus());
            QCOMPARE(edit->font(), programFont(FontStyle::Italic, 2));
        }
        QCOMPARE(phrases.count(), 2);

        // Escape clears and leaves, consumed before the window sees it.
        QVERIFY(focusedEdit());
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(edit, &escape);
        QVERIFY(escape.isAccepted());
        QVERIFY(edit->text().isEmpty() && m_search->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Italic, 2));
        QVERIFY(phrases.count() == 2 && rolls.isEmpty());
    }

    void completesInlineWhateverTheCaseWithTheCollectionsWords()
    {
        QSignalSpy phrases(m_search, &SearchWidget::searchForPhrase);
        for (const auto &[typed, completed] : QList<QPair<QString, QString>> {
                 { QStringLiteral("aLp"), QStringLiteral("ALPENGLÜHEN") }, { "s 2", "S 2010-R" } }) {
            QLineEdit *edit = focusedEdit();
            QVERIFY(edit);
            QTest::keyClicks(edit, typed);
            QCOMPARE(edit->text().toUpper(), completed);
            // The completed rest is selected, so typing on replaces it.
            QCOMPARE(edit->selectedText().size(), completed.size() - typed.size());
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(phrases.last().first().toString(), completed);
        }
        // Another collection replaces texts and words; the words come with the first use of the box.
        UserState::setLastUsedCollection(BrowseFixture::kExterior);
        SearchWidget search;
        QCOMPARE(search.lineEdit()->placeholderText(), QStringLiteral("Find a colour"));
        QLineEdit *edit = m_search->lineEdit();
        m_search->selectedCollectionChanged(BrowseFixture::kExterior);
        QCOMPARE(edit->placeholderText(), QStringLiteral("Find a colour"));
        QVERIFY(!edit->completer());
        QVERIFY(focusedEdit());
        // Its only searched text is the code; names are not searched there.
        QCOMPARE(edit->completer()->model()->rowCount(), 1);
        // No chips: no completion, and certainly not the former collection's words.
        m_search->selectedCollectionChanged(BrowseFixture::kOil);
        QCOMPARE(edit->placeholderText(), QStringLiteral("color.palette.enter.search.text"));
        QVERIFY(!edit->completer());
    }

    void rollButtonsShowTheirStateAndRepeat()
    {
        QSignalSpy rolls(m_search, &SearchWidget::roll);
        RollButton *button = m_search->rollButton(Backward);
        const QPoint inside(9, 11);
        const auto pixel = [&] { return button->grab().toImage().pixelColor(inside); };
        QCOMPARE(pixel(), QColor(230, 230, 230));
        button->setDown(true);
        QCOMPARE(pixel(), QColor(255, 200, 60));
        button->setDown(false);
        button = m_search->rollButton(Forward);
        QCOMPARE(pixel(), QColor(230, 230, 230));
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTRY_VERIFY(rolls.count() >= 3);
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        const int count = rolls.count();
        // Released: at most one repeat already queued, then silence.
        QTest::qWait(400);
        QVERIFY(rolls.count() <= count + 1);
    }

    void paintsTheBackgroundAndTheRoundedFrame()
    {
        const QImage background = BrowseFixture::headerBackground(m_search->size());
        m_search->setBackgroundImage(background);
        const QRect edit = m_search->lineEdit()->geometry();
        const QBrush base = m_search->lineEdit()->palette().brush(QPalette::Base);
        QCOMPARE(base.texture().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), background.copy(edit));
        // The text area shows the background colour, not a white base.
        const QPoint inText(edit.right() - 2, edit.center().y());
        const QColor painted = m_search->grab().toImage().pixelColor(inText);
        QVERIFY2(qAbs(painted.red() - background.pixelColor(inText).red()) <= 2, qPrintable(painted.name()));
        QWidget host;
        host.setFixedSize(m_search->size());
        host.setAutoFillBackground(true);
        QPalette palette;
        palette.setBrush(QPalette::Window, QBrush(background));
        host.setPalette(palette);
        SearchWidget search(&host);
        search.setBackgroundImage(background);
        const QImage shot = host.grab().toImage();
        // The inner outline; like drawRect's, its right and bottom lines fall on the frame's edge.
        const QRect frame = search.frameRect();
        for (const QPoint &onFrame : { QPoint(1, 13), QPoint(frame.right(), 13), QPoint(frame.center().x(), 1),
                 QPoint(frame.center().x(), frame.bottom()) })
            QCOMPARE(shot.pixelColor(onFrame), QColor(45, 45, 45));
        // Nothing is drawn past the frame between it and the buttons.
        QCOMPARE(shot.pixelColor(frame.right() + 3, 13), background.pixelColor(frame.right() + 3, 13));
    }
};

HUELINK_TEST_MAIN(SearchWidgetTest)
#include "SearchWidgetTest.moc"
