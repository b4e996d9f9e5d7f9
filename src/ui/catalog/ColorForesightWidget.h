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
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    ColorForesightViewport *m_viewport = nullptr;
    VestrelCustomStyle *m_style = nullptr;
};

} // namespace Tintor
