#pragma once

#include "engine/inc/Enumerations.h"

#include <QImage>
#include <QRect>
#include <QUuid>
#include <QWidget>

class QLineEdit;

namespace Tintor {

class RollButton;

// The search box of the main widget's header: a frameless one-line edit
// over the header's background that upper-cases what is typed, completes
// codes and names of the selected collection inline and reports the phrase
// on Return, plus the two roll buttons at its right end. It keeps no
// search state: the phrase and the rolls go out as signals.
class SearchWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 210;
    static constexpr int kHeight = 26;

    explicit SearchWidget(QWidget *parent = nullptr);

    // The piece of the header's background under this widget.
    void setBackgroundImage(const QImage &image);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QLineEdit *lineEdit() const { return m_lineEdit; }
    RollButton *rollButton(Direction direction) const;
    QRect magnifyingGlassRect() const { return m_magnifyingGlassRect; }
    // The outer rounded frame around the glass and the text.
    QRect frameRect() const;

    // Shows `message` in place of the placeholder (and in full as a tooltip,
    // the box being narrow) until the next key reaches the box.
    void showNothingFound(const QString &message);
    bool showsNothingFound() const { return m_nothingFoundShown; }

Q_SIGNALS:
    void roll(Tintor::Direction direction);
    // The trimmed, upper-case phrase; never empty (an empty phrase would
    // match every chip without a name).
    void searchForPhrase(const QString &phrase);

public Q_SLOTS:
    void selectedCollectionChanged(const QUuid &collectionId);
    void rollForwardButtonClicked();
    void rollBackwardButtonClicked();
    void searchPhraseReturnPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Builds the inline completion for the current collection, once.
    void loadCompletionWords();
    void layoutChildren();
    void setLineEditBrush(QPalette::ColorRole role);
    void endNothingFound();

    QImage m_backgroundImage;
    QImage m_magnifyingGlassImage;
    QRect m_magnifyingGlassRect;
    QLineEdit *m_lineEdit = nullptr;
    QString m_placeholderText;
    bool m_nothingFoundShown = false;
    QUuid m_completionCollection;
    bool m_completionLoaded = false;
    RollButton *m_backwardButton = nullptr;
    RollButton *m_forwardButton = nullptr;
};

} // namespace Tintor
