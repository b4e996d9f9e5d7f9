#pragma once

#include "ui/palette/MyPaletteWidget.h"

#include <QUndoCommand>

#include <functional>

namespace Tintor {

// One undoable change of My Palette: what the cells and the description
// were before and after it. Pushing it does not apply it again (the change
// is made when it is pushed); undo and redo hand the contents to `apply`,
// which shows and stores them as the change itself did.
class PaletteChange : public QUndoCommand
{
public:
    using Apply = std::function<void(const PaletteContents &)>;

    PaletteChange(const QString &text, PaletteContents before, PaletteContents after, Apply apply);

    void undo() override;
    void redo() override;

private:
    PaletteContents m_before;
    PaletteContents m_after;
    Apply m_apply;
    bool m_made = false;
};

} // namespace Tintor
