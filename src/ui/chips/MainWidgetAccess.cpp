#include "ui/chips/MainWidgetAccess.h"

#include <QPointer>
#include <QWidget>

namespace Tintor {

namespace {

struct Registration
{
    MainWidgetAccess *access = nullptr;
    // Set when the access names a widget: its destruction ends the
    // registration even if nobody unregisters.
    QPointer<QWidget> widget;
    bool watchesWidget = false;
};

Registration &registration()
{
    static Registration value;
    return value;
}

} // namespace

MainWidgetAccess::~MainWidgetAccess()
{
    if (registration().access == this)
        registration() = Registration();
}

const std::vector<LabCandidate> &MainWidgetAccess::colorCandidates() const
{
    static const std::vector<LabCandidate> none;
    return none;
}

QAbstractButton *MainWidgetAccess::taskButtonById(quint16 id)
{
    Q_UNUSED(id);
    return nullptr;
}

MainWidgetAccess *MainWidgetAccess::current()
{
    const Registration &value = registration();
    if (value.watchesWidget && !value.widget)
        return nullptr;
    return value.access;
}

void MainWidgetAccess::setCurrent(MainWidgetAccess *access)
{
    Registration &value = registration();
    value.access = access;
    QWidget *widget = access ? access->mainWidgetItself() : nullptr;
    value.widget = widget;
    value.watchesWidget = widget != nullptr;
}

} // namespace Tintor
