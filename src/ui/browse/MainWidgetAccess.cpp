#include "ui/browse/MainWidgetAccess.h"

namespace Tintor {

namespace {

MainWidgetAccess *registeredAccess = nullptr;

} // namespace

MainWidgetAccess::~MainWidgetAccess()
{
    if (registeredAccess == this)
        registeredAccess = nullptr;
}

MainWidgetAccess *MainWidgetAccess::current()
{
    return registeredAccess;
}

void MainWidgetAccess::setCurrent(MainWidgetAccess *access)
{
    registeredAccess = access;
}

} // namespace Tintor
