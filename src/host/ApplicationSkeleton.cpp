#include "host/ApplicationSkeleton.h"
#include "engine/inc/Logging.h"

#include <QDebug>

namespace Tintor {

ApplicationSkeleton::ApplicationSkeleton(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

ApplicationSkeleton::~ApplicationSkeleton() = default;

bool ApplicationSkeleton::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        qCDebug(lcHuelink) << "Application caught an exception from" << (receiver ? receiver->objectName() : QString())
                 << "from event type" << (event ? int(event->type()) : -1);
    }
    return false;
}

} // namespace Tintor
