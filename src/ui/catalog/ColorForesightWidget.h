#pragma once

#include "db/ColorEntry.h"

#include <QScrollArea>
#include <QUuid>

namespace Tintor {

class ColorForesightViewport;
class VestrelCustomStyle;

// The colour foresight tab: a vertical scroll area around the page of
// trend groups, dressed in the main background.
class ColorForesightWidget : public QScrollArea
{
    Q_OBJECT

public:
    explicit ColorForesightWidget(QWidget *parent = nullptr);

    ColorForesightViewport *foresightViewport() const { return m_viewport; }

Q_SIGNALS:
    // Enter on a trend chip that is a collection colour.
    void chipChosenInteractively(QUuid collectionId, Tintor::DB::ColorEntry chip);

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // A hidden tab is filled when it is first shown, and again after the
    // collection changed while it was hidden.
    void loadCollection(const QUuid &collectionId);

    bool m_loaded = false;
    ColorForesightViewport *m_viewport = nullptr;
    VestrelCustomStyle *m_style = nullptr;
};

} // namespace Tintor
