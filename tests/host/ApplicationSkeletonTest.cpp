#include "host/ApplicationSkeleton.h"

#include "support/TestEnvironment.h"

#include <QtTest>

#include <stdexcept>

namespace {

const QEvent::Type kThrowingEvent = QEvent::Type(QEvent::User + 1);
const QEvent::Type kPlainEvent = QEvent::Type(QEvent::User + 2);
const QEvent::Type kIgnoredEvent = QEvent::Type(QEvent::User + 3);

class Thrower : public QObject
{
public:
    int handled = 0;

    bool event(QEvent *event) override
    {
        if (event->type() == kThrowingEvent)
            throw std::runtime_error("fault inside an event handler");
        handled += event->type() == kPlainEvent;
        return event->type() == kPlainEvent || (event->type() != kIgnoredEvent && QObject::event(event));
    }
};

} // namespace

class ApplicationSkeletonTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Logged and swallowed, sent or posted; ordinary events keep their result, and the loop goes on.
    void exceptionFromAnEventIsLoggedAndSwallowed()
    {
        Thrower thrower;
        thrower.setObjectName("thrower");
        QEvent event(kThrowingEvent);
        const QString caught("Application caught an exception from \"thrower\" from event type %1");
        QTest::ignoreMessage(QtDebugMsg, qPrintable(caught.arg(int(kThrowingEvent))));
        QCOMPARE(QCoreApplication::sendEvent(&thrower, &event), false);
        QEvent handled(kPlainEvent);
        QCOMPARE(QCoreApplication::sendEvent(&thrower, &handled), true);
        QEvent unhandled(kIgnoredEvent);
        QCOMPARE(QCoreApplication::sendEvent(&thrower, &unhandled), false);
        QCOMPARE(thrower.handled, 1);

        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Application caught an exception from"));
        QCoreApplication::postEvent(&thrower, new QEvent(kThrowingEvent));
        QCoreApplication::postEvent(&thrower, new QEvent(kPlainEvent));
        QCoreApplication::processEvents();
        QTRY_COMPARE(thrower.handled, 2);
    }
};

// The application object under test replaces the usual test main's.
int main(int argc, char *argv[])
{
    TestEnvironment::prepare();
    Tintor::ApplicationSkeleton application(argc, argv);
    ApplicationSkeletonTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationSkeletonTest.moc"
