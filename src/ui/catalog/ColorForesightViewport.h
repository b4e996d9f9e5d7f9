#pragma once

#include "db/ColorEntry.h"
#include "db/ColorForesightGroup.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Tintor {

// The scrolled page of the colour foresight tab: each trend group as a
// header with an open/closed icon and, when open, its chips flowing in rows
// with one or two name lines under each. A click on the icon opens or
// closes the group (remembered per collection in the user state); a chip
// can be dragged out as a colour.
class ColorForesightViewport : public QWidget
{
    Q_OBJECT

public:
    explicit ColorForesightViewport(QWidget *parent = nullptr);

    // Groups of `collection` and the shared ones, ordered by ORDER; equal
    // orders keep the ascending group ID, the order the file wrote them.
    void loadGroups(const QUuid &collection);
    // Places headers and chips for the current width and resizes to fit.
    void layoutGroups();

    QList<qint64> groupOrder() const { return m_groupOrder; }
    bool isGroupOpen(qint64 groupId) const { return m_openStates.value(groupId); }
    // Header plus chips of a laid-out group; empty when unknown.
    QRect groupArea(qint64 groupId) const;
    // The open/closed icon's square at the area's top-left corner.
    QRect iconSquare(qint64 groupId) const;
    // The chip rectangles of an open group, in entry order.
    QVector<QRect> chipRects(qint64 groupId) const;
    QColor dragColor() const { return m_dragColor; }
    // The chips of the open groups in page order, and the one of them the
    // arrow keys are on (-1 for none).
    QVector<QRect> shownChipRects() const;
    int keyFocusChip() const { return m_keyFocusChip; }
    // Arrows move the key focus, Enter chooses its chip; false for other
    // keys and when there is no chip to act on.
    bool handleKey(int key);
    // The mark shows while the scroll area around has the keyboard focus.
    void setKeyFocusShown(bool shown);
    QString dragText() const { return m_dragText; }

    // The group name with each non-empty name on a line of its own.
    static QString dragTextOf(const QString &groupName, const QString &name1, const QString &name2);

Q_SIGNALS:
    // Enter on a chip that is a collection colour: it goes into My Palette
    // as a drop of it would.
    void chipChosenInteractively(QUuid collectionId, Tintor::DB::ColorEntry chip);
    void keyFocusMoved(QRect chip, QString accessibleText);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    struct ChipPlace
    {
        QRect rect;
        qint64 entryId = -1;
    };
    struct GroupPlace
    {
        QRect area;
        qint64 groupId = -1;
    };

    const GroupPlace *groupAt(const QPoint &point) const;
    const DB::ColorForesightEntry *entryOf(qint64 groupId, qint64 entryId) const;
    void clearDragCandidate();
    // The entry of the n-th shown chip, or null.
    const DB::ColorForesightEntry *shownEntry(int index) const;
    // The chip a trend colour names and the collection whose cards hold it.
    bool chipOf(const DB::ColorForesightEntry *entry, QUuid &owner, DB::ColorEntry &chip) const;
    // The single-line size of a chip name in the name font; measuring
    // every name on every layout would cost more than the layout itself.
    QSize nameSize(const QString &name);

    QUuid m_collection;
    QHash<qint64, DB::ColorForesightGroup> m_groups;
    QList<qint64> m_groupOrder;
    QHash<qint64, bool> m_openStates;
    QVector<GroupPlace> m_groupAreas;
    QHash<qint64, QVector<ChipPlace>> m_chips;
    QHash<QString, QSize> m_nameSizes;
    QImage m_openIcon;
    QImage m_closedIcon;
    QColor m_dragColor = Qt::transparent;
    QString m_dragText;
    QString m_dragName1;
    QString m_dragName2;
    QPoint m_pressPosition;
    bool m_layingOut = false;
    int m_keyFocusChip = -1;
    bool m_keyFocusShown = false;
};

} // namespace Tintor
