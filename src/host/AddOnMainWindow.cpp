#include "host/AddOnMainWindow.h"

#include "db/CollectionLookups.h"
#include "state/UserState.h"
#include "ui/browse/MainWidget.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

QPointer<AddOnMainWindow> &currentWindow()
{
    static QPointer<AddOnMainWindow> window;
    return window;
}

} // namespace

AddOnMainWindow::AddOnMainWindow(const QColor &initialColor, const QString &swatchFolder, QWidget *parent)
    : QDialog(parent)
    , m_initialColor(initialColor)
    , m_swatchFolder(swatchFolder)
{
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(800, 600);

    // The main widget keeps this member current and clears it when it goes;
    // the module-wide access (MainWidgetAccess::current) is what views use.
    m_mainWidget = new Tintor::MainWidget(&m_mainWidget, this);
    currentWindow() = this;

    m_selectButtonId = m_mainWidget->addTaskButton(Tintor::MainWidget::LoadButtonId);
    m_swatchButtonId = m_mainWidget->addTaskButton(m_selectButtonId);

    collectionChanged(Tintor::UserState::lastUsedCollection());
    onMyPaletteChanged();

    connect(m_mainWidget, &Tintor::MainWidget::selectedCollectionChanged, this, &AddOnMainWindow::collectionChanged);
    connect(m_mainWidget->taskButton(m_selectButtonId), &QAbstractButton::clicked, this,
            &AddOnMainWindow::selectColor);
    connect(m_mainWidget->taskButton(m_swatchButtonId), &QAbstractButton::clicked, this,
            &AddOnMainWindow::createSwatch);
    connect(m_mainWidget, &Tintor::MainWidget::myPaletteChanged, this, &AddOnMainWindow::onMyPaletteChanged);
    connect(m_mainWidget, &Tintor::MainWidget::myPaletteSelectionChanged, this, &AddOnMainWindow::onMyPaletteChanged);
}

AddOnMainWindow::~AddOnMainWindow()
{
    // The main widget outlives this part of the object; what it emits while
    // it goes must not reach slots of a window that is half gone.
    if (m_mainWidget)
        disconnect(m_mainWidget, nullptr, this, nullptr);
    if (currentWindow() == this)
        currentWindow() = nullptr;
}

AddOnMainWindow *AddOnMainWindow::current()
{
    return currentWindow();
}

void AddOnMainWindow::collectionChanged(QUuid collectionId)
{
    using Tintor::DB::localizedString;
    m_mainWidget->taskButton(m_selectButtonId)
        ->setText(localizedString(collectionId, QStringLiteral("photoshop.selectcolor.button")));
    m_mainWidget->taskButton(m_swatchButtonId)
        ->setText(localizedString(collectionId, QStringLiteral("photoshop.createswatch.button")));
    setWindowTitle(localizedString(collectionId, QStringLiteral("color.palette.caption")));
}

QColor AddOnMainWindow::singleSelectedColor() const
{
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    if (!palette || palette->selectedCellCount() != 1)
        return QColor(Qt::transparent);
    return palette->cellColor(palette->selectedCell(0));
}

void AddOnMainWindow::onMyPaletteChanged()
{
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    const QColor selected = singleSelectedColor();
    m_mainWidget->taskButton(m_selectButtonId)->setEnabled(selected.isValid() && selected.alpha() != 0);
    m_mainWidget->taskButton(m_swatchButtonId)->setEnabled(palette && !palette->isPaletteEmpty());
}

void AddOnMainWindow::selectColor()
{
    m_chosenColor = m_initialColor;
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    if (palette && palette->selectedCellCount() == 1)
        m_chosenColor = singleSelectedColor();
    if (m_chosenColor != QColor(Qt::transparent))
        accept();
    else
        reject();
}

void AddOnMainWindow::createSwatch()
{
    // Writing the host's swatch file is not part of this build yet.
}

void AddOnMainWindow::showEvent(QShowEvent *event)
{
    Q_UNUSED(event);
    if (isVisible() && !m_initialColorShown && m_initialColor != QColor(Qt::transparent)) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        auto *timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &AddOnMainWindow::showTimerExhausted);
        connect(timer, &QTimer::timeout, timer, &QObject::deleteLater);
        timer->start(100);
    }
}

void AddOnMainWindow::showTimerExhausted()
{
    if (m_initialColorShown)
        return;
    m_initialColorShown = true;
    m_mainWidget->showNearestColor(m_initialColor);
}
