#pragma once

#include "color/ColorScience.h"

#include <vector>

namespace Tintor {

// What the browsing views may ask of the main widget. The main widget
// implements it and registers itself for its lifetime; until one exists the
// views run on their own and simply get nothing from it (no candidates, so
// no nearest-colour match for a dropped colour).
class MainWidgetAccess
{
public:
    virtual ~MainWidgetAccess();

    // Every colour of the current collection with its Lab values and its row
    // ID as the reference, refreshed whenever the collection changes.
    virtual const std::vector<LabCandidate> &colorCandidates() const = 0;

    // The registered main widget, or null when there is none.
    static MainWidgetAccess *current();
    // Registers `access` (null unregisters). An implementation unregisters
    // itself before it goes away.
    static void setCurrent(MainWidgetAccess *access);
};

} // namespace Tintor
