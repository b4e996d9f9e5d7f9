#include "host/MainWidgetAccess.h"

#include <QPointer>
#include <QWidget>

namespace Tintor {

namespace {

struct CurrentMainWidget
{
    MainWidgetAccess *access = nullptr;
    QPointer<QWidget> widget;
};

CurrentMainWidget &current()
{
    static CurrentMainWidget value;
    return value;
}

} // namespace

MainWidgetAccess *currentMainWidget()
{
    const CurrentMainWidget &value = current();
    return value.widget ? value.access : nullptr;
}

void setCurrentMainWidget(MainWidgetAccess *access)
{
    CurrentMainWidget &value = current();
    value.access = access;
    value.widget = access ? access->mainWidgetItself() : nullptr;
}

} // namespace Tintor
