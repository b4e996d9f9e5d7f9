#include "ui/browse/SearchWidget.h"

#include "db/CollectionLookups.h"
#include "db/SearchQueries.h"
#include "state/UserState.h"
#include "ui/browse/RollButton.h"
#include "ui/browse/ToUpperCaseValidator.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolTip>

namespace Tintor {

namespace {

const QColor kFrameColor(45, 45, 45);
constexpr int kFrameAlpha = 96;
constexpr qreal kFrameRadius = 7;

} // namespace

SearchWidget::SearchWidget(QWidget *parent)
    : QWidget(parent)
{
    m_lineEdit = new QLineEdit(this);
    m_lineEdit->setFocusPolicy(Qt::StrongFocus);
    m_lineEdit->setFrame(false);
    m_lineEdit->setTextMargins(0, 0, 0, 0);
    m_lineEdit->setValidator(new ToUpperCaseValidator(m_lineEdit));
    m_lineEdit->setFont(programFont(FontStyle::Italic, 2));

    m_backwardButton = new RollButton(Backward, this);
    m_forwardButton = new RollButton(Forward, this);

    setFixedSize(kWidth, kHeight);
    m_lineEdit->installEventFilter(this);
    // After Return the focus rests here: its next key ends a miss message.
    installEventFilter(this);

    connect(m_forwardButton, &QPushButton::clicked, this, &SearchWidget::rollForwardButtonClicked);
    connect(m_backwardButton, &QPushButton::clicked, this, &SearchWidget::rollBackwardButtonClicked);
    connect(m_lineEdit, &QLineEdit::returnPressed, this, &SearchWidget::searchPhraseReturnPressed);

    selectedCollectionChanged(UserState::lastUsedCollection());
}

RollButton *SearchWidget::rollButton(Direction direction) const
{
    return direction == Forward ? m_forwardButton : m_backwardButton;
}

QSize SearchWidget::sizeHint() const
{
    return QSize(kWidth, kHeight);
}

QSize SearchWidget::minimumSizeHint() const
{
    return QSize(kWidth, kHeight);
}

QRect SearchWidget::frameRect() const
{
    return QRect(QPoint(0, 0), QPoint(m_lineEdit->geometry().right() + 6, height() - 1));
}

void SearchWidget::selectedCollectionChanged(const QUuid &collectionId)
{
    const QSize glassSize = m_magnifyingGlassImage.size();
    m_magnifyingGlassImage = themeImage(ThemeItem::SearchMagnifyingGlass, size());
    m_placeholderText = DB::localizedString(collectionId, QStringLiteral("color.palette.enter.search.text"));
    m_nothingFoundShown = true;
    endNothingFound();

    // The words are read when the box is first used: reading every name of
    // a large collection must not hold up the window's first paint. The
    // former collection's words must not complete in this one meanwhile.
    m_completionCollection = collectionId;
    m_completionLoaded = false;
    m_lineEdit->setCompleter(nullptr);
    if (m_lineEdit->hasFocus())
        loadCompletionWords();

    if (m_magnifyingGlassImage.size() != glassSize && !m_magnifyingGlassRect.isEmpty())
        layoutChildren();
    update();
}

void SearchWidget::loadCompletionWords()
{
    if (m_completionLoaded)
        return;
    m_completionLoaded = true;
    QStringList words;
    DB::completionEntries(m_completionCollection, words);
    // setCompleter deletes the former completer, which the line edit owns.
    if (words.isEmpty()) {
        m_lineEdit->setCompleter(nullptr);
    } else {
        auto *completer = new QCompleter(words, m_lineEdit);
        completer->setCompletionMode(QCompleter::InlineCompletion);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        m_lineEdit->setCompleter(completer);
    }
}

void SearchWidget::rollForwardButtonClicked()
{
    Q_EMIT roll(Forward);
}

void SearchWidget::rollBackwardButtonClicked()
{
    Q_EMIT roll(Backward);
}

void SearchWidget::showNothingFound(const QString &message)
{
    if (message.isEmpty()) {
        endNothingFound();
        return;
    }
    m_nothingFoundShown = true;
    m_lineEdit->setPlaceholderText(message);
    m_lineEdit->setToolTip(message);
    if (m_lineEdit->isVisible())
        QToolTip::showText(m_lineEdit->mapToGlobal(QPoint(0, height())), message, m_lineEdit);
}

void SearchWidget::endNothingFound()
{
    if (!m_nothingFoundShown)
        return;
    m_nothingFoundShown = false;
    if (QToolTip::isVisible() && QToolTip::text() == m_lineEdit->toolTip())
        QToolTip::hideText();
    m_lineEdit->setPlaceholderText(m_placeholderText);
    m_lineEdit->setToolTip(QString());
}

void SearchWidget::searchPhraseReturnPressed()
{
    const QString phrase = m_lineEdit->text().trimmed();
    m_lineEdit->clear();
    endNothingFound();
    // Moving the focus away brings back the italic placeholder.
    setFocus(Qt::OtherFocusReason);
    // Even an empty phrase: the receiver decides what it finds.
    Q_EMIT searchForPhrase(phrase);
}

void SearchWidget::setBackgroundImage(const QImage &image)
{
    m_backgroundImage = image;
    setLineEditBrush(QPalette::Base);
}

void SearchWidget::setLineEditBrush(QPalette::ColorRole role)
{
    if (m_backgroundImage.isNull())
        return;
    const QPixmap piece = QPixmap::fromImage(m_backgroundImage.copy(m_lineEdit->geometry()));
    if (piece.isNull())
        return;
    QPalette palette = m_lineEdit->palette();
    palette.setBrush(role, QBrush(piece));
    m_lineEdit->setPalette(palette);
}

void SearchWidget::layoutChildren()
{
    const int w = width();
    const int h = height();
    m_magnifyingGlassRect = QRect(QPoint(7, (h - m_magnifyingGlassImage.height()) / 2), m_magnifyingGlassImage.size());

    const QSize buttonSize = m_forwardButton->size();
    const int buttonTop = (h - buttonSize.height()) / 2;
    m_forwardButton->move(w - buttonSize.width(), buttonTop);
    m_backwardButton->move(w - 2 * buttonSize.width(), buttonTop);

    const int textHeight = QFontMetrics(m_lineEdit->font()).size(Qt::TextSingleLine, QStringLiteral("Ág")).height();
    const int top = (h - textHeight) / 2;
    m_lineEdit->setGeometry(QRect(QPoint(m_magnifyingGlassRect.right() + 2, top),
                                  QPoint(m_backwardButton->x() - 15, top + textHeight - 1)));

    setLineEditBrush(QPalette::Window);
    QPalette palette = m_lineEdit->palette();
    palette.setColor(QPalette::Text, QColor(255, 255, 255));
    m_lineEdit->setPalette(palette);
}

void SearchWidget::resizeEvent(QResizeEvent *)
{
    layoutChildren();
}

void SearchWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(m_magnifyingGlassRect, m_magnifyingGlassImage);

    const QRect frame = frameRect();
    const QRect inner = frame.adjusted(1, 1, -1, -1);
    painter.setBrush(Qt::NoBrush);
    QColor translucent = kFrameColor;
    translucent.setAlpha(kFrameAlpha);
    painter.setPen(translucent);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawRoundedRect(inner, kFrameRadius, kFrameRadius, Qt::AbsoluteSize);
    painter.drawRoundedRect(frame, kFrameRadius, kFrameRadius, Qt::AbsoluteSize);

    painter.setPen(QPen(kFrameColor, 0));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRoundedRect(inner, kFrameRadius, kFrameRadius, Qt::AbsoluteSize);
    if (m_lineEdit->hasFocus())
        paintKeyFocusMark(painter, QRectF(frame), kFrameRadius);
}

bool SearchWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // The line edit passes its Return on to this widget after the
        // phrase went out: that key must not end the answer to it.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_lineEdit || (watched == this && key != Qt::Key_Return && key != Qt::Key_Enter))
            endNothingFound();
    }
    if (watched != m_lineEdit)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        m_lineEdit->setFont(programFont(FontStyle::Normal, 2));
        loadCompletionWords();
        update();
        break;
    case QEvent::FocusOut:
        if (m_lineEdit->text().isEmpty())
            m_lineEdit->setFont(programFont(FontStyle::Italic, 2));
        update();
        break;
    case QEvent::KeyPress:
        loadCompletionWords();
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            m_lineEdit->clear();
            event->accept();
            setFocus(Qt::OtherFocusReason);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Tintor
