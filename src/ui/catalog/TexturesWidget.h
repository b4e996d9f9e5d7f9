#pragma once

#include <QScrollArea>
#include <QUuid>

namespace Tintor {

class TexturesViewport;
class VestrelCustomStyle;

// The textures tab: a vertical scroll area around the tiles of the
// selected card, dressed in the main background.
class TexturesWidget : public QScrollArea
{
    Q_OBJECT

public:
    explicit TexturesWidget(QWidget *parent = nullptr);

    TexturesViewport *texturesViewport() const { return m_viewport; }

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);
    // Another card: new tiles.
    void selectedPageChanged();
    // Another chip on the card: the same tiles in a new tint.
    void selectedRowChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A hidden tab is filled when it is first shown, and again after the
    // collection changed while it was hidden.
    void loadCollection(const QUuid &collectionId);

    bool m_loaded = false;
    TexturesViewport *m_viewport = nullptr;
    VestrelCustomStyle *m_style = nullptr;
};

} // namespace Tintor
