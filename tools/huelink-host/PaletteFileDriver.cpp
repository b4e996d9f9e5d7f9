#include "PaletteFileDriver.h"

#include "ChipChooser.h"
#include "ChipLookup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace PaletteFileDriver {

namespace {

constexpr int kDialogTimeoutMs = 15000;
constexpr int kAcceptWaitMs = 3000;

// What to do with the match dialog a swatch file opens.
struct MatchAnswer {
    bool expected = false;
    bool allCollections = false;
    std::function<QString(QWidget *)> screenshot;
};

// Answers the file dialog the button opens, the overwrite question the
// dialog may ask and the match dialog of a swatch file, from a timer: the
// module may run each dialog in a nested event loop of its own.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer(const QString &path, const QString &filterPattern, const MatchAnswer &match)
        : m_path(path)
        , m_filterPattern(filterPattern)
        , m_match(match)
    {
        connect(&m_poll, &QTimer::timeout, this, &DialogAnswerer::look);
        m_poll.start(10);
    }

    bool answered() const { return m_answered; }
    bool dialogGone() const { return m_answered && (!m_dialog || !m_dialog->isVisible()); }
    // Whether the dialog ended by taking the path; a dialog that stays open
    // (a folder in the file's place) is closed by --close-after, rejected.
    bool dialogAccepted() const { return m_accepted; }
    QString error() const { return m_error; }
    bool matchAccepted() const { return m_matchAccepted; }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_match.expected && modal && modal->isVisible()
            && modal->objectName() == QLatin1String("swatchMatchDialog")) {
            if (!m_matchAnswered)
                answerMatch(qobject_cast<QDialog *>(modal));
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            if (!m_answered)
                answer(dialog);
        } else if (auto *question = qobject_cast<QMessageBox *>(modal)) {
            // The dialog's own overwrite question.
            if (m_dialog && question->parentWidget() == m_dialog) {
                if (QAbstractButton *yes = question->button(QMessageBox::Yes))
                    QTimer::singleShot(0, yes, [yes] { ChipChooser::clickAt(yes, yes->rect().center()); });
            }
        }
    }

    void answer(QFileDialog *dialog)
    {
        m_answered = true;
        m_dialog = dialog;
        connect(dialog, &QDialog::finished, this, [this](int result) { m_accepted = result == QDialog::Accepted; });
        if (!m_filterPattern.isEmpty()) {
            QString wanted;
            for (const QString &filter : dialog->nameFilters()) {
                if (filter.contains(m_filterPattern))
                    wanted = filter;
            }
            if (wanted.isEmpty()) {
                fail(QStringLiteral("the file dialog offers no '%1' file type (it offers: %2)")
                         .arg(m_filterPattern, dialog->nameFilters().join(QStringLiteral(", "))));
                return;
            }
            dialog->selectNameFilter(wanted);
        }
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QPushButton *accept = nullptr;
        if (buttons)
            accept = buttons->button(
                dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
        if (!edit || !accept) {
            fail(QStringLiteral("the file dialog has no file name line or accept button (is it a native one?)"));
            return;
        }
        edit->setText(m_path);
        m_edit = edit;
        m_accept = accept;
        m_acceptClock.start();
        pressAccept();
    }

    // A file type chosen just now filters the dialog's folder list anew; a
    // name typed before that is done stays refused until it is typed again.
    void pressAccept()
    {
        if (!m_accept || m_acceptPressed)
            return;
        if (!m_accept->isEnabled()) {
            if (m_acceptClock.elapsed() > kAcceptWaitMs)
                fail(QStringLiteral("the file dialog does not accept '%1'").arg(m_path));
            else
                QTimer::singleShot(20, this, [this] {
                    // Typed again, as a user would once the list shows the file.
                    if (m_edit) {
                        m_edit->clear();
                        m_edit->setText(m_path);
                    }
                    pressAccept();
                });
            return;
        }
        m_acceptPressed = true;
        QPushButton *accept = m_accept;
        // Clicked from a turn of its own: the dialog may ask about an
        // overwrite in a nested event loop, and this timer must be free to
        // answer that.
        QTimer::singleShot(0, accept, [accept] { ChipChooser::clickAt(accept, accept->rect().center()); });
    }

    // Ticks "all enabled collections" if asked, saves the screenshot, ticks
    // every row that has a chip and presses OK.
    void answerMatch(QDialog *dialog)
    {
        m_matchAnswered = true;
        auto *all = dialog ? dialog->findChild<QCheckBox *>(QStringLiteral("allEnabledCollections")) : nullptr;
        auto *list = dialog ? dialog->findChild<QTreeWidget *>(QStringLiteral("matchList")) : nullptr;
        auto *buttons = dialog ? dialog->findChild<QDialogButtonBox *>() : nullptr;
        QPushButton *ok = buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
        if (!all || !list || !ok) {
            m_error = QStringLiteral("the match dialog has no collection box, list or OK button");
            if (dialog)
                dialog->reject();
            return;
        }
        connect(dialog, &QDialog::finished, this, [this](int result) { m_matchAccepted = result == QDialog::Accepted; });
        if (m_match.allCollections && !all->isChecked())
            all->click();
        if (m_match.screenshot) {
            // The list lays itself out again after the new matches.
            QCoreApplication::processEvents();
            m_error = m_match.screenshot(dialog);
            if (!m_error.isEmpty()) {
                dialog->reject();
                return;
            }
        }
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QTreeWidgetItem *item = list->topLevelItem(row);
            if (item->flags() & Qt::ItemIsUserCheckable)
                item->setCheckState(0, Qt::Checked);
        }
        QTimer::singleShot(0, ok, [ok] { ChipChooser::clickAt(ok, ok->rect().center()); });
    }

    void fail(const QString &error)
    {
        m_error = error;
        if (m_dialog)
            m_dialog->reject();
    }

    QString m_path;
    QString m_filterPattern;
    MatchAnswer m_match;
    QPointer<QLineEdit> m_edit;
    QPointer<QPushButton> m_accept;
    QElapsedTimer m_acceptClock;
    bool m_acceptPressed = false;
    bool m_matchAnswered = false;
    bool m_matchAccepted = false;
    QTimer m_poll;
    bool m_answered = false;
    bool m_accepted = false;
    QPointer<QFileDialog> m_dialog;
    QString m_error;
};

// The message a window-modal box of the module shows on top of `window`
// after the action, if it is a warning; the box is closed either way.
QString warningShownOver(QWidget *window)
{
    QString warning;
    for (QMessageBox *box : window->findChildren<QMessageBox *>()) {
        if (!box->isVisible())
            continue;
        if (box->icon() == QMessageBox::Warning || box->icon() == QMessageBox::Critical)
            warning = box->text();
        box->done(QMessageBox::Ok);
    }
    return warning;
}

QString runOne(QWidget *window, const QString &buttonKey, const QString &path, const QString &filterPattern,
               const MatchAnswer &match = {})
{
    const QString buttonText = ChipLookup::collectionText(ChipLookup::currentCollection(), buttonKey);
    DialogAnswerer answerer(path, filterPattern, match);
    QString error = ChipChooser::pressTaskButton(window, buttonText);
    if (!error.isEmpty())
        return error;
    QElapsedTimer clock;
    clock.start();
    while (!answerer.dialogGone() && answerer.error().isEmpty() && clock.elapsed() < kDialogTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    if (!answerer.error().isEmpty())
        return answerer.error();
    if (!answerer.answered())
        return QStringLiteral("the button '%1' opened no file dialog").arg(buttonText);
    if (!answerer.dialogGone())
        return QStringLiteral("the file dialog stayed open after '%1' was typed").arg(path);
    if (!answerer.dialogAccepted())
        return QStringLiteral("the file dialog closed without taking '%1'").arg(path);
    // What the module does once the dialog is gone runs in the same turn of
    // the event loop; a message it opens is shown by now.
    QCoreApplication::processEvents();
    const QString warning = warningShownOver(window);
    if (!warning.isEmpty())
        return QStringLiteral("the module reported: %1").arg(warning);
    if (match.expected && !answerer.matchAccepted())
        return QStringLiteral("no match dialog took the colours of '%1'").arg(path);
    return QString();
}

} // namespace

QString run(QWidget *window, const Actions &actions)
{
    QPointer<QWidget> guard(window);
    const struct {
        QString path;
        const char *buttonKey;
        QString filterPattern;
        bool import;
    } steps[] = {
        { actions.loadPath, "mypalette.palette.load", QStringLiteral("*.palette"), false },
        { actions.importPath, "mypalette.palette.load", QStringLiteral("*.ase *.aco *.gpl *.css"), true },
        { actions.savePath, "mypalette.palette.save",
            actions.saveAsText ? QStringLiteral("*.txt") : QStringLiteral("*.palette"), false },
        // The dialog's file type decides the format: the one the extension names.
        { actions.swatchPath, "photoshop.createswatch.button",
            QStringLiteral("(*.%1)").arg(QFileInfo(actions.swatchPath).suffix().toLower()), false },
    };
    for (const auto &step : steps) {
        if (step.path.isEmpty())
            continue;
        if (!guard || !guard->isVisible())
            return QStringLiteral("the window closed before '%1' was done").arg(step.path);
        // Relative to the host's working folder, not to the folder the dialog shows.
        const MatchAnswer match { step.import, actions.matchAll, actions.saveMatchScreenshot };
        const QString error = runOne(window, QString::fromLatin1(step.buttonKey),
                                     QFileInfo(step.path).absoluteFilePath(), step.filterPattern, match);
        if (!error.isEmpty())
            return QStringLiteral("%1: %2").arg(step.path, error);
    }
    return QString();
}

} // namespace PaletteFileDriver
