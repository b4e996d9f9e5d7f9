#pragma once

#include <QtGlobal>

class QAbstractButton;
class QWidget;

namespace Tintor {

// What views need from the main widget while it does not exist as a class
// of its own yet: the widget itself (for mapping and its background) and its
// task buttons by id. The main widget implements this and registers itself
// before it creates any child, so children can reach it while they are made.
class MainWidgetAccess
{
public:
    virtual ~MainWidgetAccess() = default;

    virtual QWidget *mainWidgetItself() = 0;
    // The task button with that id, or null when there is none.
    virtual QAbstractButton *taskButtonById(quint16 id) = 0;
};

// The module-wide current main widget; null while there is none or once the
// registered widget has been destroyed (it is watched, so a window closed
// by the host never leaves a dangling pointer behind).
MainWidgetAccess *currentMainWidget();
void setCurrentMainWidget(MainWidgetAccess *access);

} // namespace Tintor
