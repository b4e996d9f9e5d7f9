#pragma once

#include "engine/inc/Enumerations.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Tintor {

// The strip of text tabs in the header that chooses the page below the
// card area. Which tabs exist, and their order, come from the collection's
// settings; the current page is read from the user state on every paint,
// and a choice only goes out as tabPageSelected. Ctrl+T followed by Ctrl+1
// to Ctrl+4 picks the first to fourth visible tab; with the focus, Left and
// Right pick the neighbouring tab.
class TabBarWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TabBarWidget(QWidget *parent = nullptr);

    // Page values of the visible tabs, left to right.
    QVector<int> visiblePages() const { return m_visiblePages; }
    QString caption(int page) const { return m_tabs.value(page).caption; }
    // Where the tab was last painted; empty before its first paint.
    // Invokable so that scripted runs can click a tab as a user would.
    Q_INVOKABLE QRect tabRect(int page) const { return m_tabs.value(page).rect; }
    // The visible page whose painted tab holds the point, 0 when none.
    int tabAt(const QPoint &point) const;

Q_SIGNALS:
    void tabPageSelected(Tintor::TabBarPage newPage);

public Q_SLOTS:
    // Reloads captions and visible pages; the caller repaints.
    void selectedCollectionChanged(const QUuid &collectionId);
    void switchToTab1();
    void switchToTab2();
    void switchToTab3();
    void switchToTab4();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Tab
    {
        QRect rect;
        QString caption;
    };

    void switchToTab(int number);

    QImage m_backgroundImage;
    QHash<int, Tab> m_tabs;
    QVector<int> m_visiblePages;
};

} // namespace Tintor
