#include "ui/palette/PaletteChange.h"

#include <utility>

namespace Tintor {

PaletteChange::PaletteChange(const QString &text, PaletteContents before, PaletteContents after, Apply apply)
    : QUndoCommand(text)
    , m_before(std::move(before))
    , m_after(std::move(after))
    , m_apply(std::move(apply))
{
}

void PaletteChange::undo()
{
    m_apply(m_before);
}

void PaletteChange::redo()
{
    // The first redo is the push of a change already made.
    if (m_made)
        m_apply(m_after);
    m_made = true;
}

} // namespace Tintor
