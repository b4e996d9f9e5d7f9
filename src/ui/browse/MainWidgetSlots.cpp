// The state slots of the main widget: each stores a view's choice in the
// user state when it differs and repaints the views that depend on it.

#include "ui/browse/MainWidget.h"
#include "engine/inc/Logging.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "db/Status.h"
#include "formats/SwatchFile.h"
#include "state/UserState.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesWidget.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/look/TaskButton.h"
#include "ui/matching/SelectNearestColorDialog.h"
#include "ui/matching/SwatchMatchDialog.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QUndoStack>

namespace Tintor {

namespace {

// Enough names to point the user on; each collection costs one lookup.
constexpr int kNamedHolders = 3;
// A pasted page of text is not repeated back whole.
constexpr int kShownPhraseLength = 40;

QString collectionName(const QUuid &uuid)
{
    DB::CollectionPointer collection;
    if (DB::collectionByUuid(uuid, collection) != DB::StatusOk || !collection)
        return QString();
    return collection->name;
}

// "No colour X in this collection", naming the other enabled collections
// that hold X, so that a miss is not taken for a slip of the key.
QString nothingFoundText(const QUuid &current, const QString &phrase)
{
    QStringList holders;
    bool more = false;
    for (const QUuid &uuid : DB::collectionUuidsByOrder()) {
        int pageIndex = -1;
        int rowIndex = -1;
        int segment = -1;
        int mood = 0;
        bool exterior = false;
        if (uuid == current || DB::findPhrase(uuid, phrase, pageIndex, rowIndex, segment, mood, exterior) != DB::StatusOk)
            continue;
        if (holders.size() == kNamedHolders) {
            more = true;
            break;
        }
        holders << collectionName(uuid);
    }
    QString text = localizedTextOr(current, QStringLiteral("color.palette.search.nothing.found"),
                                   QStringLiteral("No colour \u201C%1\u201D in %2"))
                       .arg(phrase.size() > kShownPhraseLength
                                ? phrase.left(kShownPhraseLength - 1) + QChar(0x2026)
                                : phrase,
                            collectionName(current));
    if (!holders.isEmpty()) {
        const QString names = holders.join(QStringLiteral(", ")) + (more ? QStringLiteral(", \u2026") : QString());
        text += localizedTextOr(current, QStringLiteral("color.palette.search.found.elsewhere"),
                                QStringLiteral(" \u2014 found in %1"))
                    .arg(names);
    }
    return text;
}

} // namespace

void MainWidget::refreshDetails(bool relayout)
{
    const CardType type = CollectionSettings::cardType(UserState::lastUsedCollection());
    if (type == CardNormal && m_colorSchemer->isVisible())
        m_colorSchemer->update();
    else if (type == CardPelvon && m_pelvonSchemer->isVisible())
        m_pelvonSchemer->update();
    if (m_productsView->isVisible())
        m_productsView->refresh();
    if (m_texturesView->isVisible()) {
        if (relayout)
            m_texturesView->selectedPageChanged();
        else
            m_texturesView->selectedRowChanged();
    }
}

void MainWidget::collectionChangedInteractively(QUuid collectionId)
{
    if (!DB::collectionUuidsByOrder().contains(collectionId) || collectionId == UserState::lastUsedCollection())
        return;
    changeCollection(collectionId);
}

void MainWidget::changeCollection(const QUuid &collection)
{
    m_capsureFolder.clear();
    m_capsureFile.clear();
    watchCapsureFolder();

    UserState::setLastUsedCollection(collection);
    CollectionSettings::loadNameOrders(collection);
    CollectionSettings::setCurrentCollection(collection);
    applyCollection(collection);

    setEnabled(false);
    setCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);

    Q_EMIT selectedCollectionChanged(collection);
    showTabPage(UserState::tabPageIndex(collection));
    setTaskButtonTexts(collection);
    layoutChildren();
    watchCapsureFolder();
    Q_EMIT onCapsureFileChanged(m_capsureFile);

    setUpdatesEnabled(true);
    setCursor(Qt::ArrowCursor);
    setEnabled(true);
    update();
}

void MainWidget::segmentChangedInteractivelyByWheel(int newSegment)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (newSegment == UserState::segmentIndex(uuid))
        return;
    UserState::setSegmentIndex(uuid, newSegment);
    m_colorWheel->update();
    DB::ColorPage page;
    if (DB::firstPageAtOrAfterSegment(uuid, newSegment, UserState::moodFilter(uuid), UserState::exteriorColors(uuid),
                                      page)
            == DB::StatusOk
        && page.isValid()) {
        UserState::setPageIndex(uuid, page.pageIndex);
        refreshDetails(true);
    }
    m_cardRoller->update();
}

void MainWidget::refreshAfterFilterChange()
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (CollectionSettings::cardType(uuid) == CardPelvon) {
        if (m_pelvonSchemer->isVisible())
            m_pelvonSchemer->update();
        m_cardRoller->update();
        return;
    }
    DB::ColorPage page;
    if (DB::firstPageAtOrAfterSegment(uuid, UserState::segmentIndex(uuid), UserState::moodFilter(uuid),
                                      UserState::exteriorColors(uuid), page)
            != DB::StatusOk
        || !page.isValid())
        return;
    if (page.segment != UserState::segmentIndex(uuid)) {
        UserState::setSegmentIndex(uuid, page.segment);
        m_colorWheel->update();
    }
    if (page.pageIndex == UserState::pageIndex(uuid))
        return;
    UserState::setPageIndex(uuid, page.pageIndex);
    refreshDetails(true);
    m_cardRoller->update();
}

void MainWidget::moodFilterChangedInteractively(Mood newMood)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (int(newMood) == UserState::moodFilter(uuid))
        return;
    UserState::setMoodFilter(uuid, int(newMood));
    m_moodFilter->update();
    refreshAfterFilterChange();
}

void MainWidget::exteriorFilterChangedInteractively(bool exteriorFilter)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (exteriorFilter == UserState::exteriorColors(uuid))
        return;
    UserState::setExteriorColors(uuid, exteriorFilter);
    m_moodFilter->update();
    refreshAfterFilterChange();
}

void MainWidget::showMtoChangedInteractively(bool newValue)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (newValue == UserState::showMto(uuid))
        return;
    UserState::setShowMto(uuid, newValue);
    m_moodFilter->update();
    refreshAfterFilterChange();
}

void MainWidget::rollCards(Direction direction)
{
    const QUuid uuid = UserState::lastUsedCollection();
    const int current = UserState::pageIndex(uuid);
    DB::ColorPage page;
    if (DB::neighbourPage(uuid, current, direction == Backward, UserState::moodFilter(uuid),
                          UserState::exteriorColors(uuid), page)
            != DB::StatusOk
        || !page.isValid() || page.pageIndex == current)
        return;
    if (page.segment != UserState::segmentIndex(uuid)) {
        UserState::setSegmentIndex(uuid, page.segment);
        m_colorWheel->update();
    }
    UserState::setPageIndex(uuid, page.pageIndex);
    m_cardRoller->update();
    refreshDetails(true);
}

void MainWidget::pageChangedInteractively(int newPage)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (newPage == UserState::pageIndex(uuid))
        return;
    UserState::setPageIndex(uuid, newPage);
    m_cardRoller->update();
    // Another card pairs other textures: the tiles are laid out anew.
    if (m_texturesView->isVisible())
        m_texturesView->selectedPageChanged();
    refreshDetails(false);
}

void MainWidget::rowChangedInteractively(int newRow)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (newRow == UserState::rowIndex(uuid))
        return;
    UserState::setRowIndex(uuid, newRow);
    m_cardRoller->update();
    refreshDetails(false);
}

void MainWidget::searchForPhrase(QString phrase)
{
    const QUuid uuid = UserState::lastUsedCollection();
    int pageIndex = -1;
    int rowIndex = -1;
    int segment = -1;
    int mood = 0;
    bool exterior = false;
    const int status = DB::findPhrase(uuid, phrase, pageIndex, rowIndex, segment, mood, exterior);
    if (status == DB::StatusNoMatch && !phrase.trimmed().isEmpty())
        m_search->showNothingFound(nothingFoundText(uuid, phrase));
    if (status != DB::StatusOk)
        return;
    const bool cardChanged = revealCard(uuid, segment, mood, exterior);
    bool rowChanged = false;
    if (pageIndex > 0 && pageIndex != UserState::pageIndex(uuid)) {
        UserState::setPageIndex(uuid, pageIndex);
        rowChanged = true;
    }
    if (rowIndex > 0 && rowIndex != UserState::rowIndex(uuid)) {
        UserState::setRowIndex(uuid, rowIndex);
        rowChanged = true;
    }
    if (cardChanged || rowChanged) {
        m_cardRoller->update();
        refreshDetails(true);
    }
}

bool MainWidget::revealCard(const QUuid &uuid, int segment, int mood, bool exterior)
{
    bool wheelChanged = false;
    bool filterChanged = false;
    if (segment > 0 && segment != UserState::segmentIndex(uuid)) {
        UserState::setSegmentIndex(uuid, segment);
        wheelChanged = true;
    }
    if (!exterior && UserState::exteriorColors(uuid)) {
        UserState::setExteriorColors(uuid, false);
        filterChanged = true;
    }
    const int moodFilter = UserState::moodFilter(uuid);
    if (mood == MoodOffwhite || mood == MoodNeutral) {
        if (mood != moodFilter) {
            UserState::setMoodFilter(uuid, mood);
            filterChanged = true;
        }
    } else if (moodFilter != MoodAll && moodFilter != mood) {
        UserState::setMoodFilter(uuid, MoodAll);
        filterChanged = true;
    }
    if (wheelChanged)
        m_colorWheel->update();
    if (filterChanged)
        m_moodFilter->update();
    return wheelChanged || filterChanged;
}

void MainWidget::tabPageSelected(TabBarPage page)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (int(page) == UserState::tabPageIndex(uuid))
        return;
    UserState::setTabPageIndex(uuid, int(page));
    m_tabBar->update();
    showTabPage(int(page));
}

void MainWidget::schemeKindChangedInteractively(SchemeKind scheme)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (int(scheme) == UserState::schemeKind(uuid))
        return;
    UserState::setSchemeKind(uuid, int(scheme));
    refreshDetails(true);
}

void MainWidget::schemeNeutralSubKindChangedInteractively(SchemeKind scheme)
{
    const QUuid uuid = UserState::lastUsedCollection();
    if (int(scheme) == UserState::schemeNeutralSubKind(uuid))
        return;
    UserState::setSchemeNeutralSubKind(uuid, int(scheme));
    refreshDetails(true);
}

void MainWidget::capsureItemSelectedInteractively(QUuid collectionId, DB::ColorEntry colorEntry)
{
    DB::ColorPage page;
    if (DB::pageById(collectionId, colorEntry.pageId, false, page) != DB::StatusOk || !page.isValid())
        return;
    if (collectionId != UserState::lastUsedCollection()) {
        if (!DB::collectionUuidsByOrder().contains(collectionId))
            return;
        changeCollection(collectionId);
    }
    if (page.segment != UserState::segmentIndex(collectionId))
        segmentChangedInteractivelyByWheel(page.segment);
    if (page.pageIndex != UserState::pageIndex(collectionId))
        pageChangedInteractively(page.pageIndex);
    if (colorEntry.rowIndex != UserState::rowIndex(collectionId))
        rowChangedInteractively(colorEntry.rowIndex);
}

void MainWidget::goToRow(qint64 rowId)
{
    const QUuid uuid = UserState::lastUsedCollection();
    DB::ColorEntry entry;
    if (DB::entryById(uuid, rowId, entry) != DB::StatusOk || entry.id < 1)
        return;
    DB::ColorPage page;
    if (DB::pageById(uuid, entry.pageId, false, page) != DB::StatusOk || !page.isValid())
        return;
    // The card shown must be the one the wheel points at and the filters let
    // through, as after a search.
    if (revealCard(uuid, page.segment, page.mood, page.isExterior)) {
        m_cardRoller->update();
        refreshDetails(true);
    }
    if (page.pageIndex != UserState::pageIndex(uuid))
        pageChangedInteractively(page.pageIndex);
    if (entry.rowIndex != UserState::rowIndex(uuid))
        rowChangedInteractively(entry.rowIndex);
}

void MainWidget::showNearestColor(const QColor &color)
{
    if (color == QColor(Qt::transparent))
        return;
    qCDebug(lcHuelink) << QStringLiteral("RGB(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
    const QUuid uuid = UserState::lastUsedCollection();
    const ColorTriple lab = colorToLab(color);

    DB::ColorEntry near;
    if (DB::entryNearRgb(uuid, color, near) == DB::StatusOk && near.id >= 1) {
        goToRow(near.id);
        return;
    }

    std::vector<NearestMatch> matches;
    findNearestColors(lab, colorCandidates(), matches, 6);
    if (matches.empty())
        return;
    if (matches.front().distance < 0.01 || matches.size() == 1) {
        goToRow(qint64(matches.front().reference));
        return;
    }
    QVector<DB::ColorEntry> entries;
    for (const NearestMatch &match : matches) {
        DB::ColorEntry entry;
        if (DB::entryById(uuid, qint64(match.reference), entry) == DB::StatusOk && entry.id >= 1)
            entries.append(entry);
    }
    if (entries.isEmpty())
        return;
    QPointer<SelectNearestColorDialog> dialog = new SelectNearestColorDialog(color, entries, this);
    dialog->setWindowModality(Qt::WindowModal);
    m_nearestColorDialog = dialog;
    // The dialog's event loop may see this widget (and the dialog with it)
    // deleted when the host closes the window.
    const QPointer<MainWidget> self(this);
    const int result = dialog->exec();
    if (!self)
        return;
    m_nearestColorDialog = nullptr;
    if (!dialog)
        return;
    const DB::ColorEntry chosen = dialog->chosenEntry();
    delete dialog;
    if (result == QDialog::Accepted && chosen.id >= 1)
        goToRow(chosen.id);
}

void MainWidget::importSwatchFile(const QString &path)
{
    const QUuid collection = UserState::lastUsedCollection();
    const SwatchReadResult read = SwatchFile::read(path);
    if (!read.ok()) {
        if (!m_swatchFailureMessage) {
            m_swatchFailureMessage = new QMessageBox(this);
            m_swatchFailureMessage->setIcon(QMessageBox::Warning);
            m_swatchFailureMessage->setStandardButtons(QMessageBox::Ok);
            m_swatchFailureMessage->setWindowModality(Qt::WindowModal);
            // The path and the reason quote the file, which is no markup.
            m_swatchFailureMessage->setTextFormat(Qt::PlainText);
        }
        m_swatchFailureMessage->setWindowTitle(
            DB::localizedString(collection, QStringLiteral("common.filedialog.palettefile.opendialogcaption")));
        m_swatchFailureMessage->setText(localizedTextOr(collection, QStringLiteral("mypalette.swatchfile.failed"),
                                                        QStringLiteral("The swatch file %1 could not be read: %2"))
                                            .arg(QDir::toNativeSeparators(path), read.error));
        m_swatchFailureMessage->open();
        return;
    }
    int freeCells = 0;
    for (int row = 0; row < m_myPalette->rowCount(); ++row) {
        for (int column = 0; column < m_myPalette->columnCount(); ++column)
            freeCells += m_myPalette->cellColorId(QPoint(column, row)) <= 0;
    }
    const QString fileName = QFileInfo(path).fileName();
    QPointer<SwatchMatchDialog> dialog = new SwatchMatchDialog(fileName, read.formatName, read.colors, freeCells, this);
    dialog->setWindowModality(Qt::WindowModal);
    // As for the nearest-colour dialog: the host may close the window, and
    // this widget with it, while the dialog runs.
    const QPointer<MainWidget> self(this);
    const int result = dialog->exec();
    if (!self || !dialog)
        return;
    const QList<QPair<QUuid, DB::ColorEntry>> chosen = dialog->chosenChips();
    delete dialog;
    if (result != QDialog::Accepted || chosen.isEmpty() || freeCells == 0 || !m_myPalette->isEnabled())
        return;
    // Only empty cells are filled: on a full palette placeChip would replace
    // the selected chip, one imported colour after the other.
    QUndoStack *undo = m_myPalette->undoStack();
    undo->beginMacro(tr("Import %1").arg(fileName));
    int placed = 0;
    for (const auto &[chipCollection, chip] : chosen) {
        if (placed == freeCells)
            break;
        placed += m_myPalette->placeImportedChip(chipCollection, chip);
    }
    undo->endMacro();
}

} // namespace Tintor
