#include "HostAutomation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace {

HostAutomation::Options &installedOptions()
{
    static HostAutomation::Options options;
    return options;
}

HostAutomation::Report &currentReport()
{
    static HostAutomation::Report report;
    return report;
}

// The module's own top-level window: no parent, a plain window or dialog
// (not a menu, tooltip or the window of some child dialog).
bool isModuleWindow(const QWidget *widget)
{
    if (!widget->isWindow() || widget->parentWidget())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// As a click on the window's close button: a close event, which a dialog
// answers with reject(). A dialog that ignores it is rejected directly so a
// scripted run never waits for a user.
void closeLikeUser(QWidget *window)
{
    QPointer<QWidget> guard(window);
    window->close();
    if (guard && guard->isVisible()) {
        if (auto *dialog = qobject_cast<QDialog *>(guard.data()))
            dialog->reject();
    }
}

// One per application object: watches the application's events for the
// module's window.
class WindowDriver : public QObject
{
public:
    explicit WindowDriver(QCoreApplication *application)
        : QObject(application)
    {
        m_screenshotTimer.setSingleShot(true);
        m_closeTimer.setSingleShot(true);
        connect(&m_screenshotTimer, &QTimer::timeout, this, &WindowDriver::takeScreenshot);
        connect(&m_closeTimer, &QTimer::timeout, this, &WindowDriver::closeWindow);
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::Show:
            windowShown(widget);
            break;
        case QEvent::Paint:
            painted(widget);
            break;
        case QEvent::Hide:
            if (widget == m_window) {
                m_screenshotTimer.stop();
                m_closeTimer.stop();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    const HostAutomation::Options &options() const { return installedOptions(); }

    bool screenshotPending() const
    {
        return !options().screenshotPath.empty() && !currentReport().screenshotSaved;
    }

    void windowShown(QWidget *widget)
    {
        if ((m_window && m_window->isVisible()) || !isModuleWindow(widget))
            return;
        m_window = widget;
        currentReport().windowShown = true;
        if (options().closeAfterMs >= 0)
            m_closeTimer.start(options().closeAfterMs);
    }

    void painted(QWidget *widget)
    {
        if (!m_window || widget->window() != m_window || !screenshotPending() || m_screenshotTimer.isActive())
            return;
        m_screenshotTimer.start(HostAutomation::screenshotDelayMs);
    }

    void takeScreenshot()
    {
        m_screenshotTimer.stop();
        if (!m_window || !screenshotPending())
            return;
        const QString path = QString::fromLocal8Bit(options().screenshotPath.c_str());
        if (m_window->grab().save(path, "PNG")) {
            currentReport().screenshotSaved = true;
            currentReport().error.clear();
        } else {
            currentReport().error = "cannot write the screenshot '" + options().screenshotPath + "'";
        }
    }

    void closeWindow()
    {
        if (!m_window)
            return;
        // A close that comes before the screenshot's delay is over takes the
        // screenshot first: grab() renders the window whether painted or not.
        if (screenshotPending())
            takeScreenshot();
        // Dialogs the window opened on top of itself go first, innermost
        // first, so no nested event loop is left waiting.
        for (int depth = 0; depth < 16; ++depth) {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == m_window)
                break;
            closeLikeUser(modal);
            if (QApplication::activeModalWidget() == modal)
                break;
        }
        if (m_window)
            closeLikeUser(m_window);
    }

    QPointer<QWidget> m_window;
    QTimer m_screenshotTimer;
    QTimer m_closeTimer;
};

void startWindowDriver()
{
    if (installedOptions().any())
        new WindowDriver(QCoreApplication::instance());
}

} // namespace

void HostAutomation::install(const Options &options)
{
    installedOptions() = options;
    if (!options.any())
        return;
    // The toolkit keeps its start-up routines for every later application
    // object, so one installation serves every request of this process.
    qAddPreRoutine(startWindowDriver);
}

void HostAutomation::beginRequest()
{
    currentReport() = Report();
}

HostAutomation::Report HostAutomation::report()
{
    return currentReport();
}
