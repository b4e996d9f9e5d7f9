#include "HostAutomation.h"

#include "CapsureChooser.h"
#include "ChipChooser.h"
#include "ChipLookup.h"
#include "PaletteFileDriver.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeySequence>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QTest>
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

bool &pickRequest()
{
    static bool pick = false;
    return pick;
}

// The combinations of a --keys list, or an error line for the first part
// that is not a single key combination.
QList<QKeyCombination> parseKeys(const std::string &keys, QString &error)
{
    QList<QKeyCombination> combinations;
    for (const QString &part : QString::fromLocal8Bit(keys.c_str()).split(QLatin1Char(','))) {
        const QKeySequence sequence = QKeySequence::fromString(part.trimmed(), QKeySequence::PortableText);
        if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) {
            error = QStringLiteral("bad --keys: '%1' is not one key combination as QKeySequence writes it "
                                   "(for example Ctrl+F, S, Return)")
                        .arg(part);
            return {};
        }
        combinations.append(sequence[0]);
    }
    return combinations;
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

// A window of its own whose parent chain leads into `window`.
bool isWindowOpenedBy(const QWidget *widget, const QWidget *window)
{
    if (!widget->isWindow() || widget == window)
        return false;
    for (const QWidget *parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (parent == window)
            return true;
    }
    return false;
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

// Saves `widget` as PNG; an error line when the file cannot be written.
std::string saveScreenshot(QWidget *widget, const std::string &path)
{
    // Encoded in memory and replaced in one step with the last flush checked:
    // a save straight into the file keeps a cut picture when that flush fails.
    QByteArray png;
    QBuffer buffer(&png);
    QSaveFile file(QString::fromLocal8Bit(path.c_str()));
    if (buffer.open(QIODevice::WriteOnly) && widget->grab().save(&buffer, "PNG") && file.open(QIODevice::WriteOnly)
        && file.write(png) == png.size() && file.flush() && file.commit())
        return std::string();
    return "cannot write the screenshot '" + path + "'";
}

// One per application object: watches the application's events for the
// module's window and, during a pick, for the dialog its nearest-colour
// step may open.
//
// A pick's window starts a single-shot timer of its own when it is shown;
// when that fires, the window looks for the collection colour nearest to
// the host's colour, possibly asking in a dialog, and then deletes the
// timer. The timer's end is therefore the end of the step.
class WindowDriver : public QObject
{
public:
    explicit WindowDriver(QCoreApplication *application)
        : QObject(application)
    {
        for (QTimer *timer : {&m_screenshotTimer, &m_dialogScreenshotTimer, &m_closeTimer})
            timer->setSingleShot(true);
        connect(&m_screenshotTimer, &QTimer::timeout, this, &WindowDriver::takeScreenshot);
        connect(&m_dialogScreenshotTimer, &QTimer::timeout, this, &WindowDriver::takeDialogScreenshot);
        connect(&m_closeTimer, &QTimer::timeout, this, &WindowDriver::closeWindow);
        m_capsureTimer.setSingleShot(true);
        connect(&m_capsureTimer, &QTimer::timeout, this, &WindowDriver::answerCapsureDialog);
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
            if (isModuleWindow(widget) && !(m_window && m_window->isVisible()))
                windowShown(widget);
            else if (m_window && pickRequest() && !m_stepDone && isWindowOpenedBy(widget, m_window))
                dialogShown(widget);
            else if (m_capsureClicking && !m_capsureDialog && isWindowOpenedBy(widget, m_window))
                capsureDialogShown(widget);
            break;
        case QEvent::Paint:
            if (m_window && widget->window() == m_window)
                windowPainted();
            else if (m_capsureDialog && widget->window() == m_capsureDialog)
                capsureDialogPainted();
            else if (m_dialog && widget->window() == m_dialog)
                dialogPainted();
            break;
        case QEvent::Hide:
            if (widget == m_window)
                windowHidden();
            else if (widget == m_dialog)
                m_dialogScreenshotTimer.stop();
            break;
        default:
            break;
        }
        return false;
    }

private:
    const HostAutomation::Options &options() const { return installedOptions(); }
    HostAutomation::Report &report() const { return currentReport(); }

    bool screenshotPending() const { return !options().screenshotPath.empty() && !report().screenshotSaved; }
    bool dialogScreenshotPending() const
    {
        return !options().dialogScreenshotPath.empty() && !report().dialogScreenshotSaved;
    }
    bool chooseAsked() const { return pickRequest() && !options().chooseCode.empty(); }
    bool capsureAsked() const { return pickRequest() && options().capsureImport; }

    void windowShown(QWidget *widget)
    {
        m_window = widget;
        m_windowHidden = false;
        m_painted = false;
        m_stepDone = false;
        m_pendingStepTimers = 0;
        m_choosePending = chooseAsked();
        m_capsurePending = capsureAsked();
        m_capsureWaited.invalidate();
        m_palettePending = pickRequest() && options().paletteActions();
        report().windowShown = true;
        if (options().closeAfterMs >= 0)
            m_closeTimer.start(options().closeAfterMs);
    }

    void windowHidden()
    {
        m_windowHidden = true;
        m_choosePending = false;
        m_capsurePending = false;
        m_palettePending = false;
        m_screenshotTimer.stop();
        m_closeTimer.stop();
    }

    void windowPainted()
    {
        if (m_painted)
            return;
        m_painted = true;
        if (!pickRequest()) {
            stepFinished();
            return;
        }
        // The window is painted only after its show handling returned, so
        // the step's timer exists by now, unless it already ran.
        for (QTimer *timer : m_window->findChildren<QTimer *>(Qt::FindDirectChildrenOnly)) {
            if (!timer->isSingleShot())
                continue;
            ++m_pendingStepTimers;
            connect(timer, &QObject::destroyed, this, &WindowDriver::stepTimerGone);
        }
        if (m_pendingStepTimers == 0)
            stepFinished();
    }

    void stepTimerGone()
    {
        if (--m_pendingStepTimers == 0 && !m_windowHidden)
            stepFinished();
    }

    // The window is settled: keys, screenshot, then the choice.
    void stepFinished()
    {
        m_stepDone = true;
        switchCollection();
        selectTab();
        if (!options().keys.empty()) {
            // From the event loop, as a user's keys come.
            QTimer::singleShot(0, this, &WindowDriver::typeKeys);
            return;
        }
        afterKeys();
    }

    // Each combination goes to the widget with the focus as a user's key
    // press and release would, shortcuts included.
    void typeKeys()
    {
        QString error;
        const QList<QKeyCombination> keys = parseKeys(options().keys, error);
        // A user types into the window in front; the window-wide shortcuts
        // answer only there.
        if (m_window && !m_windowHidden && !m_window->isActiveWindow()) {
            m_window->activateWindow();
            QCoreApplication::processEvents();
        }
        for (const QKeyCombination combination : keys) {
            if (!m_window || m_windowHidden)
                return;
            QWidget *target = QApplication::focusWidget();
            if (!target)
                target = QApplication::activeWindow();
            if (!target)
                target = m_window;
            QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
            ++report().keysTyped;
            QCoreApplication::processEvents();
        }
        if (m_window && !m_windowHidden)
            afterKeys();
    }

    void afterKeys()
    {
        if (screenshotPending())
            m_screenshotTimer.start(HostAutomation::screenshotDelayMs);
        else
            scheduleChoice();
    }

    // Before anything else, so the tab, the screenshot and the choice all
    // see the asked-for collection.
    void switchCollection()
    {
        if (!pickRequest() || options().collectionName.empty() || !m_window || m_windowHidden)
            return;
        const QString error
            = ChipChooser::switchCollection(m_window, QString::fromLocal8Bit(options().collectionName.c_str()));
        report().collectionError = error.toLocal8Bit().toStdString();
        if (!error.isEmpty())
            failChoice(HostAutomation::Choice::Failed, error);
    }

    void selectTab()
    {
        if (!pickRequest() || options().tabPage == 0 || !m_window || m_windowHidden)
            return;
        const QString error = ChipChooser::selectTab(m_window, options().tabPage);
        report().tabSelected = error.isEmpty();
        report().tabError = error.toLocal8Bit().toStdString();
    }

    // The Capsure import comes first, so that a choice picks from the
    // collection it went to.
    void scheduleChoice()
    {
        if (m_capsurePending)
            QTimer::singleShot(0, this, &WindowDriver::importCapsure);
        else if (m_choosePending)
            QTimer::singleShot(0, this, &WindowDriver::choose);
        else if (m_palettePending)
            QTimer::singleShot(0, this, [this] {
                // Without a choice the window goes once the files are done.
                if (runPaletteActions() && m_window && !m_windowHidden)
                    closeWindow();
            });
    }

    // False when an action failed; the window is then closed already.
    bool runPaletteActions()
    {
        if (!m_palettePending || !m_window || m_windowHidden)
            return false;
        m_palettePending = false;
        PaletteFileDriver::Actions actions;
        actions.loadPath = QString::fromLocal8Bit(options().loadPalettePath.c_str());
        actions.savePath = QString::fromLocal8Bit(options().savePalettePath.c_str());
        actions.saveAsText = options().savePaletteAsText;
        actions.swatchPath = QString::fromLocal8Bit(options().swatchPath.c_str());
        actions.importPath = QString::fromLocal8Bit(options().importSwatchPath.c_str());
        actions.matchAll = options().matchAll;
        if (!options().matchScreenshotPath.empty()) {
            actions.saveMatchScreenshot = [this](QWidget *dialog) {
                const std::string error = saveScreenshot(dialog, options().matchScreenshotPath);
                report().matchScreenshotSaved = error.empty();
                return QString::fromLocal8Bit(error.c_str());
            };
        }
        const QString error = PaletteFileDriver::run(m_window, actions);
        report().paletteActionsDone = error.isEmpty();
        if (error.isEmpty())
            return true;
        report().paletteError = error.toLocal8Bit().toStdString();
        closeWindow();
        return false;
    }

    void importCapsure()
    {
        if (!m_capsurePending || !m_window || m_windowHidden)
            return;
        QWidget *button = CapsureChooser::capsureButton(m_window);
        if (!button) {
            // The button shows once the window has checked the watched file.
            if (!m_capsureWaited.isValid())
                m_capsureWaited.start();
            if (m_capsureWaited.elapsed() < HostAutomation::capsureButtonWaitMs) {
                QTimer::singleShot(50, this, &WindowDriver::importCapsure);
                return;
            }
            failCapsure(QStringLiteral("the Capsure button did not show within %1 ms; is a measurement in the "
                                       "watched folder of a collection with Capsure on?")
                            .arg(HostAutomation::capsureButtonWaitMs));
            return;
        }
        m_capsurePending = false;
        m_capsureClicking = true;
        // Returns once the import is over: the dialog runs inside the click.
        const QString problem = CapsureChooser::click(button);
        m_capsureClicking = false;
        m_capsureTimer.stop();
        const bool dialogSeen = !m_capsureDialog.isNull() || m_capsureDialogSeen;
        m_capsureDialog = nullptr;
        m_capsureDialogSeen = false;
        if (!problem.isEmpty()) {
            failCapsure(QStringLiteral("the Capsure button: ") + problem);
            return;
        }
        if (!dialogSeen) {
            failCapsure(QStringLiteral("the Capsure button opened no dialog: the measurement names no chip of a "
                                       "collection with Capsure on"));
            return;
        }
        if (report().capsure != HostAutomation::Choice::Chosen) {
            const QString error = QString::fromLocal8Bit(report().capsureError.c_str());
            failCapsure(error.isEmpty() ? QStringLiteral("the Capsure dialog closed before an item was taken") : error);
            return;
        }
        scheduleChoice();
    }

    void capsureDialogShown(QWidget *dialog)
    {
        m_capsureDialog = dialog;
        m_capsureDialogSeen = true;
        m_capsureDialogPainted = false;
    }

    void capsureDialogPainted()
    {
        if (m_capsureDialogPainted)
            return;
        m_capsureDialogPainted = true;
        m_capsureTimer.start(options().capsureScreenshotPath.empty() ? 0 : HostAutomation::screenshotDelayMs);
    }

    void answerCapsureDialog()
    {
        if (!m_capsureDialog || !m_capsureDialog->isVisible())
            return;
        QString itemText;
        QString problem = CapsureChooser::chooseItem(m_capsureDialog, options().capsureItem, itemText);
        report().capsureItemText = itemText.toLocal8Bit().toStdString();
        // The screenshot shows the item taken and its colour.
        if (!options().capsureScreenshotPath.empty()) {
            const std::string error = saveScreenshot(m_capsureDialog, options().capsureScreenshotPath);
            report().capsureScreenshotSaved = error.empty();
            if (!error.empty())
                report().capsureError = error;
        }
        if (problem.isEmpty())
            problem = CapsureChooser::pressOk(m_capsureDialog);
        if (problem.isEmpty()) {
            report().capsure = HostAutomation::Choice::Chosen;
            return;
        }
        report().capsure = HostAutomation::Choice::Failed;
        report().capsureError = problem.toLocal8Bit().toStdString();
        if (m_capsureDialog && m_capsureDialog->isVisible())
            closeLikeUser(m_capsureDialog);
    }

    void failCapsure(const QString &error)
    {
        m_capsurePending = false;
        m_choosePending = false;
        report().capsure = HostAutomation::Choice::Failed;
        report().capsureError = error.toLocal8Bit().toStdString();
        // The block stays as it was: the window goes as if the user closed it.
        if (m_window && m_window->isVisible())
            closeLikeUser(m_window);
    }

    void takeScreenshot()
    {
        m_screenshotTimer.stop();
        if (!m_window || !screenshotPending())
            return;
        report().error = saveScreenshot(m_window, options().screenshotPath);
        report().screenshotSaved = report().error.empty();
        if (m_stepDone)
            scheduleChoice();
    }

    void dialogShown(QWidget *dialog)
    {
        m_dialog = dialog;
        m_dialogPainted = false;
        report().dialogShown = true;
        if (!dialogScreenshotPending())
            scheduleDialogReject();
    }

    void dialogPainted()
    {
        if (m_dialogPainted)
            return;
        m_dialogPainted = true;
        if (dialogScreenshotPending())
            m_dialogScreenshotTimer.start(HostAutomation::screenshotDelayMs);
    }

    void takeDialogScreenshot()
    {
        m_dialogScreenshotTimer.stop();
        if (!m_dialog || !m_dialog->isVisible() || !dialogScreenshotPending())
            return;
        report().dialogError = saveScreenshot(m_dialog, options().dialogScreenshotPath);
        report().dialogScreenshotSaved = report().dialogError.empty();
        scheduleDialogReject();
    }

    // A scripted choice or file action does not wait for the user to answer
    // the nearest-colour dialog: it is closed as by its close button.
    void scheduleDialogReject()
    {
        if (!m_choosePending && !m_capsurePending && !m_palettePending && options().keys.empty())
            return;
        QTimer::singleShot(0, this, [this] {
            if (m_dialog && m_dialog->isVisible())
                closeLikeUser(m_dialog);
        });
    }

    void choose()
    {
        if (!m_choosePending || !m_window || m_windowHidden)
            return;
        m_choosePending = false;
        ChipLookup::Chip chip;
        QString error;
        const ChipLookup::Status status = ChipLookup::findChip(
            ChipLookup::currentCollection(), QString::fromLocal8Bit(options().chooseCode.c_str()), chip, error);
        if (status == ChipLookup::Status::Found) {
            error = ChipChooser::dropAndSelect(m_window, chip);
            // The file actions see the chosen chip in My Palette.
            if (error.isEmpty() && m_palettePending) {
                if (!runPaletteActions()) {
                    failChoice(HostAutomation::Choice::Failed, QStringLiteral("a palette file action failed"));
                    return;
                }
            }
            if (error.isEmpty())
                error = ChipChooser::pressSelect(m_window, chip);
        }
        if (error.isEmpty()) {
            report().choice = HostAutomation::Choice::Chosen;
            return;
        }
        failChoice(status == ChipLookup::Status::CodeNotFound ? HostAutomation::Choice::CodeNotFound
                                                               : HostAutomation::Choice::Failed,
                   error);
    }

    void failChoice(HostAutomation::Choice choice, const QString &error)
    {
        report().choice = choice;
        report().chooseError = error.toLocal8Bit().toStdString();
        // The block stays as it was: the window goes as if the user closed it.
        if (m_window && m_window->isVisible())
            closeLikeUser(m_window);
    }

    void closeWindow()
    {
        if (!m_window)
            return;
        if (m_dialog && m_dialog->isVisible() && dialogScreenshotPending()) {
            report().dialogError = saveScreenshot(m_dialog, options().dialogScreenshotPath);
            report().dialogScreenshotSaved = report().dialogError.empty();
        }
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
        // A close that comes before the screenshot's delay is over takes the
        // screenshot now: grab() renders the window whether painted or not.
        if (screenshotPending())
            takeScreenshot();
        if (m_window)
            closeLikeUser(m_window);
    }

    QPointer<QWidget> m_window;
    bool m_windowHidden = false;
    bool m_painted = false;
    bool m_stepDone = false;
    int m_pendingStepTimers = 0;
    bool m_choosePending = false;
    bool m_capsurePending = false;
    bool m_capsureClicking = false;
    bool m_capsureDialogSeen = false;
    bool m_capsureDialogPainted = false;
    QElapsedTimer m_capsureWaited;
    QPointer<QWidget> m_capsureDialog;
    QTimer m_capsureTimer;
    bool m_palettePending = false;
    QPointer<QWidget> m_dialog;
    bool m_dialogPainted = false;
    QTimer m_screenshotTimer;
    QTimer m_dialogScreenshotTimer;
    QTimer m_closeTimer;
};

void startWindowDriver()
{
    if (!installedOptions().any())
        return;
    // A scripted run drives the toolkit's own file dialogs; a native one
    // would be out of its reach.
    if (installedOptions().paletteActions())
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
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

void HostAutomation::beginRequest(bool pick)
{
    currentReport() = Report();
    pickRequest() = pick;
}

HostAutomation::Report HostAutomation::report()
{
    return currentReport();
}

int HostAutomation::countKeys(const std::string &keys, std::string &error)
{
    QString problem;
    const QList<QKeyCombination> combinations = parseKeys(keys, problem);
    error = problem.toLocal8Bit().toStdString();
    return problem.isEmpty() ? int(combinations.size()) : -1;
}
