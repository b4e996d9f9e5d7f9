#pragma once

#include "color/ColorScience.h"

#include <QtGlobal>

#include <vector>

class QAbstractButton;
class QWidget;

namespace Tintor {

// What the views may ask of the main widget, which implements this and
// registers itself before it creates any child, so children can reach it
// while they are made. Without a registered main widget the views run on
// their own and get nothing from it.
class MainWidgetAccess
{
public:
    virtual ~MainWidgetAccess();

    // Every colour of the current collection with its Lab values and its row
    // ID as the reference, refreshed whenever the collection changes.
    virtual const std::vector<LabCandidate> &colorCandidates() const;
    // The main widget itself (for mapping and its background), or null.
    virtual QWidget *mainWidgetItself() { return nullptr; }
    // The task button with that id, or null when there is none.
    virtual QAbstractButton *taskButtonById(quint16 id);

    // The registered main widget, or null when there is none or its widget
    // has been destroyed, so a window closed by the host never leaves a
    // dangling pointer behind.
    static MainWidgetAccess *current();
    // Registers `access` (null unregisters).
    static void setCurrent(MainWidgetAccess *access);
};

inline MainWidgetAccess *currentMainWidget()
{
    return MainWidgetAccess::current();
}

inline void setCurrentMainWidget(MainWidgetAccess *access)
{
    MainWidgetAccess::setCurrent(access);
}

} // namespace Tintor
