#include "host/AddOnMainWindow.h"

#include "db/CatalogQueries.h"
#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "engine/inc/AtomicFileWriter.h"
#include "formats/AcoFormat.h"
#include "formats/SwatchExport.h"
#include "host/MyPaletteSwatchChips.h"
#include "state/UserState.h"
#include "ui/browse/MainWidget.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <iterator>

namespace {

QPointer<AddOnMainWindow> &currentWindow()
{
    static QPointer<AddOnMainWindow> window;
    return window;
}

// The export dialog's file types, in the order of its filter list: the
// host's own first, so that it stays the one chosen by default.
constexpr Tintor::SwatchFormat kSwatchFormats[]
    = { Tintor::SwatchFormat::Aco, Tintor::SwatchFormat::Ase, Tintor::SwatchFormat::Gpl, Tintor::SwatchFormat::Css,
          Tintor::SwatchFormat::Json };

QString swatchFilter(const QUuid &collection, Tintor::SwatchFormat format)
{
    switch (format) {
    case Tintor::SwatchFormat::Aco:
        return QStringLiteral("%1 (*.aco)")
            .arg(Tintor::DB::localizedString(collection, QStringLiteral("photoshop.swatchdialog.filtername")));
    case Tintor::SwatchFormat::Ase:
        return AddOnMainWindow::tr("Swatch exchange (*.ase)");
    case Tintor::SwatchFormat::Gpl:
        return AddOnMainWindow::tr("GIMP palette (*.gpl)");
    case Tintor::SwatchFormat::Css:
        return AddOnMainWindow::tr("CSS custom properties (*.css)");
    case Tintor::SwatchFormat::Json:
        break;
    }
    return AddOnMainWindow::tr("JSON (*.json)");
}

// The format whose filter the dialog shows; the host's own when the filter
// is unknown.
Tintor::SwatchFormat swatchFormatOfFilter(const QFileDialog &dialog)
{
    const int index = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return index > 0 && index < int(std::size(kSwatchFormats)) ? kSwatchFormats[index] : Tintor::SwatchFormat::Aco;
}

// The default suffix added to a name typed without one. The host's own
// type keeps the name as typed, as it always did.
QString defaultSuffixOf(Tintor::SwatchFormat format)
{
    return format == Tintor::SwatchFormat::Aco ? QString() : Tintor::SwatchExport::extension(format);
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
    // Enter in My Palette does what the select button does, when it can.
    connect(m_mainWidget, &Tintor::MainWidget::selectColorRequested, this, [this] {
        if (m_mainWidget->taskButton(m_selectButtonId)->isEnabled())
            m_mainWidget->taskButton(m_selectButtonId)->click();
    });

    // Ctrl+Return presses the select button; a disabled button ignores it.
    for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, m_mainWidget->taskButton(m_selectButtonId), &QAbstractButton::click);
    }
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
    m_mainWidget->taskButton(m_selectButtonId)->setAccessibleDescription(tr("Uses the selected My Palette colour"));
    m_mainWidget->taskButton(m_swatchButtonId)->setAccessibleDescription(tr("Saves My Palette as a swatch file"));
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
    using Tintor::DB::localizedString;
    if (!m_swatchDialog) {
        m_swatchDialog = new QFileDialog(this, QString(), QString(), QString());
        // Choosing another type renames the proposed file to match.
        connect(m_swatchDialog, &QFileDialog::filterSelected, this, [this] {
            const Tintor::SwatchFormat format = swatchFormatOfFilter(*m_swatchDialog);
            m_swatchDialog->setDefaultSuffix(defaultSuffixOf(format));
            const QFileInfo chosen(m_swatchDialog->selectedFiles().value(0));
            if (chosen.fileName().isEmpty() || chosen.isDir())
                return;
            const QString stem = Tintor::SwatchExport::formatOfPath(chosen.fileName()) ? chosen.completeBaseName()
                                                                                        : chosen.fileName();
            m_swatchDialog->selectFile(stem + QLatin1Char('.') + Tintor::SwatchExport::extension(format));
        });
    }
    const QUuid collection = Tintor::UserState::lastUsedCollection();
    QStringList filters;
    for (const Tintor::SwatchFormat format : kSwatchFormats)
        filters.append(swatchFilter(collection, format));
    m_swatchDialog->setNameFilters(filters);
    const std::optional<Tintor::SwatchFormat> remembered
        = Tintor::SwatchExport::formatOfPath(QStringLiteral("x.") + Tintor::UserState::myPaletteSwatchFormat());
    const Tintor::SwatchFormat format = remembered.value_or(Tintor::SwatchFormat::Aco);
    const auto position = std::find(std::begin(kSwatchFormats), std::end(kSwatchFormats), format);
    m_swatchDialog->selectNameFilter(filters.at(int(position - std::begin(kSwatchFormats))));
    m_swatchDialog->setDefaultSuffix(defaultSuffixOf(format));
    m_swatchDialog->setWindowTitle(localizedString(collection, QStringLiteral("photoshop.swatchdialog.caption")));
    m_swatchDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_swatchDialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    m_swatchDialog->setDirectory(m_swatchFolder);
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    QString name = palette ? palette->descriptionText().trimmed() : QString();
    if (name.isEmpty())
        name = QStringLiteral("Swatch");
    m_swatchDialog->selectFile(name + QLatin1Char('.') + Tintor::SwatchExport::extension(format));
    connect(m_swatchDialog, &QDialog::finished, this, &AddOnMainWindow::onSwatchDialogFinished, Qt::UniqueConnection);
    m_swatchDialog->open();
}

void AddOnMainWindow::onSwatchDialogFinished(int button)
{
    disconnect(m_swatchDialog, &QDialog::finished, this, &AddOnMainWindow::onSwatchDialogFinished);
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    if (button != QDialog::Accepted || !palette)
        return;
    const QUuid collection = Tintor::UserState::lastUsedCollection();
    const bool appendProductCodes = Tintor::CollectionSettings::exportAppendsProductCode(collection);
    const Tintor::SwatchFormat format = swatchFormatOfFilter(*m_swatchDialog);
    Tintor::UserState::setMyPaletteSwatchFormat(Tintor::SwatchExport::extension(format));
    if (format != Tintor::SwatchFormat::Aco) {
        exportSwatchesAs(format, appendProductCodes);
        return;
    }

    // Row by row from the top: the first cell of a colour names it.
    QMap<QRgb, QString> table;
    for (int row = 0; row < palette->rowCount(); ++row) {
        for (int column = 0; column < palette->columnCount(); ++column) {
            const QPoint cell(column, row);
            const QColor color = palette->cellColor(cell);
            if (color == QColor(Qt::transparent) || table.contains(color.rgba()))
                continue;
            QString name = palette->cellDescription(cell);
            QStringList productCodes;
            if (appendProductCodes
                && Tintor::DB::productCodesOfEntry(
                       palette->cellItem(cell).collectionUuid, palette->cellColorId(cell), productCodes)
                    == 0
                && !productCodes.isEmpty())
                name += QStringLiteral(" - ") + productCodes.join(QStringLiteral(", "));
            table.insert(color.rgba(), name);
        }
    }
    const QStringList files = m_swatchDialog->selectedFiles();
    if (table.isEmpty() || files.isEmpty())
        return;
    QString reason;
    if (Tintor::AtomicFileWriter::write(files.first(), Tintor::AcoFormat::records(table), reason))
        showSwatchAlert(collection, QString(), QString());
    else
        showSwatchAlert(collection, files.first(), reason);
}

void AddOnMainWindow::exportSwatchesAs(Tintor::SwatchFormat format, bool appendProductCodes)
{
    const Tintor::MyPaletteWidget *palette = m_mainWidget->myPalette();
    const QList<Tintor::SwatchChip> chips = MyPaletteSwatchChips::collect(*palette, appendProductCodes);
    const QStringList files = m_swatchDialog->selectedFiles();
    if (chips.isEmpty() || files.isEmpty())
        return;
    const QString reason = Tintor::SwatchExport::write(
        format, files.first(), palette->descriptionText().trimmed(), chips, appendProductCodes);
    const QUuid collection = Tintor::UserState::lastUsedCollection();
    if (reason.isEmpty())
        showSwatchAlert(collection, QString(), QString(), files.first());
    else
        showSwatchAlert(collection, files.first(), reason);
}

void AddOnMainWindow::showSwatchAlert(
    const QUuid &collection, const QString &failedPath, const QString &reason, const QString &writtenPath)
{
    using Tintor::DB::localizedString;
    if (!m_swatchAlert) {
        m_swatchAlert
            = new QMessageBox(QMessageBox::Information, QString(), QString(), QMessageBox::Ok, this, Qt::Sheet);
        m_swatchAlert->setWindowModality(Qt::WindowModal);
        m_swatchAlert->setDefaultButton(QMessageBox::Ok);
        m_swatchAlert->setInformativeText(QString());
    }
    m_swatchAlert->setWindowTitle(localizedString(collection, QStringLiteral("photoshop.swatchalert.caption")));
    if (failedPath.isEmpty()) {
        m_swatchAlert->setIcon(QMessageBox::Information);
        m_swatchAlert->setText(localizedString(collection, QStringLiteral("photoshop.swatchalert.text")));
        m_swatchAlert->setInformativeText(writtenPath.isEmpty() ? QString() : QDir::toNativeSeparators(writtenPath));
    } else {
        const QString key = QStringLiteral("photoshop.swatchalert.failed");
        QString text = localizedString(collection, key);
        // A missing text shows its key; a sentence serves better here.
        if (text == key)
            text = QStringLiteral("The swatch file %1 could not be written: %2");
        m_swatchAlert->setIcon(QMessageBox::Warning);
        m_swatchAlert->setInformativeText(QString());
        m_swatchAlert->setText(text.arg(QDir::toNativeSeparators(failedPath), reason));
    }
    m_swatchAlert->open();
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
