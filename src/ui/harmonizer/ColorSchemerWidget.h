#pragma once

#include "color/ColorScience.h"
#include "db/ColorEntry.h"
#include "engine/inc/Enumerations.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <vector>

namespace Tintor {

// What the shown chips were computed for.
struct SchemeRequest
{
    QUuid collection;
    int kind = 0;
    int subKind = 0;
    int pageIndex = -1;
    int rowIndex = -1;
};

// One laid-out scheme chip.
struct SchemeChip
{
    QUuid collection;
    qint64 pageId = -1;
    qint64 rowId = -1;
    QColor color;
    QString description;
};

// The harmonizer page for collections of normal cards: one round button per
// scheme the collection offers, and below them up to three lines of the
// chips that go with the selected chip under the selected scheme. The scheme
// kind, neutral sub-kind and selected chip are read from the user state when
// painting; a choice is only emitted. Scheme queries run only when what is
// asked for changed, since they run inside painting.
class ColorSchemerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorSchemerWidget(QWidget *parent = nullptr);

    // The collection whose schemes are shown: the browsing collection, or the
    // first one with a schemes page when it has none.
    QUuid schemeCollection() const { return m_schemeCollection; }
    QVector<int> offeredKinds() const { return m_offeredKinds; }
    QRect buttonRect(int kind) const { return m_buttonRects.value(kind); }
    // The caption rectangle of the button of `kind`; for tonal and
    // complementary neutral not offered on their own, the neutral button's.
    QRect captionRect(int kind) const;
    // Where the neutral button shows its tonal or complementary caption.
    QRect neutralCaptionRect() const { return m_neutralCaptionRect; }
    QRect chipsArea() const { return m_chipsArea; }
    // The chips laid out by the last paint, in layout order.
    QVector<QPair<QRect, SchemeChip>> chips() const { return m_chips; }
    // The chip the arrow keys are on, -1 for none.
    int keyFocusChip() const { return m_keyFocusChip < m_chips.size() ? m_keyFocusChip : -1; }

    // The x of the first of `count` buttons `buttonWidth` wide, 40 apart,
    // centred in `width`.
    static int firstButtonX(int width, int count, int buttonWidth);
    // `area` with its height brought to 3q + 1 and trimmed to at most 100.
    static QRect fitChipsArea(const QRect &area);

Q_SIGNALS:
    void schemeKindChangedInteractively(Tintor::SchemeKind scheme);
    void schemeNeutralSubKindChangedInteractively(Tintor::SchemeKind scheme);
    // Enter on a chip: it goes into My Palette as a drop of it would.
    void chipChosenInteractively(QUuid collectionId, Tintor::DB::ColorEntry chip);

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);
    void switchToScheme1() { switchToScheme(1); }
    void switchToScheme2() { switchToScheme(2); }
    void switchToScheme3() { switchToScheme(3); }
    void switchToScheme4() { switchToScheme(4); }
    void switchToScheme5() { switchToScheme(5); }
    void switchToScheme6() { switchToScheme(6); }
    void switchToScheme7() { switchToScheme(7); }
    void switchToScheme8() { switchToScheme(8); }
    void switchToScheme9() { switchToScheme(9); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layout(const QRect &rect);
    void switchToScheme(int number);
    int kindAt(const QPoint &position) const;
    void moveKeyFocus(int chip);
    // The request of the stored position, mapped into the scheme collection
    // when the browsing collection has no schemes of its own.
    SchemeRequest currentRequest();
    bool mapIntoSchemeCollection(const QUuid &browsing, int pageIndex, int rowIndex, int &mappedPage,
                                 int &mappedRow);
    void computeChips(const SchemeRequest &request);
    // Places `lines` (chips per line at most `perLine`) in the chips area,
    // centred on the lines as built.
    void layoutChips(const SchemeRequest &request, const QVector<QVector<QPair<qint64, DB::ColorEntry>>> &lines,
                     int perLine);

    QUuid m_schemeCollection;
    QSize m_largestButtonSize;
    QHash<int, QImage> m_normalImages;
    QHash<int, QImage> m_selectedImages;
    QHash<int, QRect> m_buttonRects;
    QHash<int, QPainterPath> m_hitShapes;
    QHash<int, QString> m_captions;
    QHash<int, QRect> m_captionRects;
    // Kept apart from the tonal and complementary buttons' own captions when
    // a collection offers those next to neutral.
    QRect m_neutralCaptionRect;
    QVector<int> m_offeredKinds;
    QRect m_chipsArea;
    SchemeRequest m_lastRequest;
    int m_lastEffectiveKind = 0;
    QVector<QPair<QRect, SchemeChip>> m_chips;
    bool m_complementaryNeutralAvailable = false;
    QImage m_markerNormal;
    QImage m_markerSelected;
    QPoint m_pressPosition;
    int m_keyFocusChip = -1;

    // The nearest chip of the scheme collection for a chip of a collection
    // without schemes: reading and ranking every colour on each hover repaint
    // is what this avoids.
    struct Mapping
    {
        QUuid browsing;
        int pageIndex = -1;
        int rowIndex = -1;
        QUuid schemeCollection;
        bool found = false;
        int mappedPage = -1;
        int mappedRow = -1;
    };
    Mapping m_mapping;
    QUuid m_candidatesCollection;
    std::vector<LabCandidate> m_candidates;
};

} // namespace Tintor
