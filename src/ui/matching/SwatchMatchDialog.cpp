#include "ui/matching/SwatchMatchDialog.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "formats/ColorGrade.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace Tintor {

namespace {

constexpr int kRowRole = Qt::UserRole;

QIcon swatchIcon(QRgb rgb, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(QColor::fromRgb(rgb));
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

SwatchMatchDialog::SwatchMatchDialog(const QString &fileName, const QString &formatName,
    const QList<SwatchColor> &colors, int freeCells, QWidget *parent)
    : QDialog(parent)
    , m_collection(UserState::lastUsedCollection())
    , m_freeCells(freeCells)
{
    setObjectName(QStringLiteral("swatchMatchDialog"));
    setWindowTitle(text("mypalette.swatchmatch.caption", QStringLiteral("Match colours")));
    setWindowFlags(
        (windowFlags() & ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint)) | Qt::CustomizeWindowHint);

    auto *instruction
        = new QLabel(text("mypalette.swatchmatch.instruction",
                         QStringLiteral("%1 (%2): the nearest chip for each colour. Untick the colours to leave out; "
                                        "unfold a row to take one of its next five chips instead."))
                         .arg(fileName, formatName),
            this);
    // The file's name is the user's, not markup.
    instruction->setTextFormat(Qt::PlainText);
    instruction->setWordWrap(true);

    m_allCollections
        = new QCheckBox(text("mypalette.swatchmatch.allcollections", QStringLiteral("All enabled collections")), this);
    m_allCollections->setObjectName(QStringLiteral("allEnabledCollections"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("matchList"));
    m_list->setColumnCount(5);
    m_list->setHeaderLabels({ text("mypalette.swatchmatch.column.colour", QStringLiteral("Colour in the file")),
        text("mypalette.swatchmatch.column.chip", QStringLiteral("Nearest chip")),
        text("mypalette.swatchmatch.column.collection", QStringLiteral("Collection")),
        text("mypalette.swatchmatch.column.difference", QStringLiteral("\u0394E")),
        text("mypalette.swatchmatch.column.grade", QStringLiteral("Difference")) });
    m_list->headerItem()->setTextAlignment(DifferenceColumn, Qt::AlignRight | Qt::AlignVCenter);
    // Up to ten thousand rows: no measuring of every row.
    m_list->setUniformRowHeights(true);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    m_list->setIconSize(QSize(2 * em, fontMetrics().height() - 2));
    m_list->setColumnWidth(DifferenceColumn, 4 * em);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(GradeColumn, QHeaderView::Stretch);

    QList<QTreeWidgetItem *> items;
    for (const SwatchColor &color : colors) {
        auto *item = new QTreeWidgetItem;
        item->setData(SourceColumn, kRowRole, int(m_rows.size()));
        item->setIcon(SourceColumn, swatchIcon(color.rgb, m_list->iconSize()));
        // Swatch names may run over several lines (the host's own files do).
        QString name = color.name.isEmpty()
            ? QColor::fromRgb(color.rgb).name().toUpper()
            : color.name.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QStringLiteral(" \u00B7 ")).simplified();
        if (color.approximate)
            name += QStringLiteral(" (%1)").arg(
                text("mypalette.swatchmatch.approximate", QStringLiteral("approximate")));
        item->setText(SourceColumn, name);
        item->setToolTip(SourceColumn, color.name.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
        item->setTextAlignment(DifferenceColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setCheckState(SourceColumn, Qt::Checked);
        items.append(item);
        m_rows.append(Row { color, {}, 0 });
    }
    m_list->addTopLevelItems(items);

    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addWidget(m_allCollections);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_buttons);
    // Within the add-on window's 800 pixels where the font allows.
    resize(qMin(76 * em, 780), 36 * fontMetrics().height());

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_allCollections, &QCheckBox::toggled, this, &SwatchMatchDialog::recompute);
    connect(m_list, &QTreeWidget::itemExpanded, this, &SwatchMatchDialog::fillCandidates);
    connect(m_list, &QTreeWidget::itemChanged, this, &SwatchMatchDialog::itemChanged);
    recompute();
}

QString SwatchMatchDialog::text(const char *key, const QString &fallback) const
{
    return localizedTextOr(m_collection, QLatin1String(key), fallback);
}

const SwatchMatchDialog::Chip &SwatchMatchDialog::chip(const DB::CollectionMatcher::Match &match)
{
    const QPair<QUuid, qint64> key(match.collection, match.rowId);
    auto known = m_chips.find(key);
    if (known != m_chips.end())
        return *known;
    Chip chip;
    chip.found = DB::entryById(match.collection, match.rowId, chip.entry) == DB::StatusOk && chip.entry.id >= 1;
    if (chip.found) {
        const QString name = chipShownName(match.collection, chip.entry);
        chip.label = name.isEmpty() ? chip.entry.code : chip.entry.code + QLatin1Char(' ') + name;
    }
    auto name = m_collectionNames.find(match.collection);
    if (name == m_collectionNames.end()) {
        DB::CollectionPointer collection;
        name = m_collectionNames.insert(match.collection,
            DB::collectionByUuid(match.collection, collection) == DB::StatusOk && collection ? collection->name
                                                                                             : QString());
    }
    chip.collectionName = *name;
    return *m_chips.insert(key, chip);
}

void SwatchMatchDialog::recompute()
{
    // Thousands of colours against every collection take seconds.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    DB::CollectionMatcher matcher;
    const QList<QUuid> collections
        = m_allCollections->isChecked() ? DB::collectionUuidsByOrder() : QList<QUuid> { m_collection };
    // An unreadable collection leaves no candidate: every row says so.
    matcher.load(collections);
    const QSignalBlocker blocker(m_list);
    for (int index = 0; index < m_rows.size(); ++index) {
        Row &row = m_rows[index];
        row.matches = matcher.nearest(row.color.lab, kCandidateCount);
        // Chips that cannot be read are not offered.
        row.matches.erase(std::remove_if(row.matches.begin(), row.matches.end(),
                              [this](const DB::CollectionMatcher::Match &match) { return !chip(match).found; }),
            row.matches.end());
        row.chosen = 0;
        QTreeWidgetItem *item = m_list->topLevelItem(index);
        qDeleteAll(item->takeChildren());
        item->setChildIndicatorPolicy(
            row.matches.size() > 1 ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
        Qt::ItemFlags flags = item->flags() & ~Qt::ItemIsUserCheckable;
        if (!row.matches.isEmpty())
            flags |= Qt::ItemIsUserCheckable;
        item->setFlags(flags);
        showCandidate(item, row, 0);
    }
    fitColumns(false);
    updateStatus();
}

void SwatchMatchDialog::fitColumns(bool growOnly)
{
    // The view measures a bounded number of rows, however long the file.
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    for (int column : { SourceColumn, ChipColumn, CollectionColumn }) {
        const int before = m_list->columnWidth(column);
        m_list->resizeColumnToContents(column);
        const int fitted = qBound(8 * em, m_list->columnWidth(column) + em, 26 * em);
        m_list->setColumnWidth(column, growOnly ? qMax(before, fitted) : fitted);
    }
}

void SwatchMatchDialog::showCandidate(QTreeWidgetItem *item, const Row &row, int candidate)
{
    if (candidate < 0 || candidate >= row.matches.size()) {
        item->setIcon(ChipColumn, QIcon());
        item->setText(ChipColumn, text("mypalette.swatchmatch.nochip", QStringLiteral("no chip to match")));
        for (int column : { CollectionColumn, DifferenceColumn, GradeColumn })
            item->setText(column, QString());
        return;
    }
    const DB::CollectionMatcher::Match &match = row.matches.at(candidate);
    const Chip &shown = chip(match);
    item->setIcon(ChipColumn,
        swatchIcon(
            qRgb(qBound(0, shown.entry.red, 255), qBound(0, shown.entry.green, 255), qBound(0, shown.entry.blue, 255)),
            m_list->iconSize()));
    item->setText(ChipColumn, shown.label);
    item->setToolTip(ChipColumn, shown.label);
    item->setText(CollectionColumn, shown.collectionName);
    item->setToolTip(CollectionColumn, shown.collectionName);
    item->setText(DifferenceColumn, QString::number(match.deltaE, 'f', 1));
    item->setText(GradeColumn, ColorGrade::text(ColorGrade::of(match.deltaE)));
}

void SwatchMatchDialog::fillCandidates(QTreeWidgetItem *item)
{
    if (item->parent() || item->childCount() > 0)
        return;
    const int index = item->data(SourceColumn, kRowRole).toInt();
    const Row &row = m_rows.at(index);
    const QSignalBlocker blocker(m_list);
    for (int candidate = 0; candidate < row.matches.size(); ++candidate) {
        auto *child = new QTreeWidgetItem(item);
        child->setData(SourceColumn, kRowRole, candidate);
        child->setText(SourceColumn, QString::number(candidate + 1));
        child->setTextAlignment(DifferenceColumn, Qt::AlignRight | Qt::AlignVCenter);
        child->setCheckState(SourceColumn, candidate == row.chosen ? Qt::Checked : Qt::Unchecked);
        showCandidate(child, row, candidate);
    }
    fitColumns(true);
}

void SwatchMatchDialog::itemChanged(QTreeWidgetItem *item, int column)
{
    if (column != SourceColumn)
        return;
    QTreeWidgetItem *parent = item->parent();
    if (!parent) {
        updateStatus();
        return;
    }
    const int index = parent->data(SourceColumn, kRowRole).toInt();
    const int candidate = item->data(SourceColumn, kRowRole).toInt();
    // One chip per row: ticking one takes it, the taken one cannot be unticked.
    if (item->checkState(SourceColumn) == Qt::Checked || candidate == m_rows.at(index).chosen)
        chooseCandidate(index, candidate);
}

void SwatchMatchDialog::chooseCandidate(int row, int candidate)
{
    if (row < 0 || row >= m_rows.size() || candidate < 0 || candidate >= m_rows.at(row).matches.size())
        return;
    m_rows[row].chosen = candidate;
    const QSignalBlocker blocker(m_list);
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    showCandidate(item, m_rows.at(row), candidate);
    for (int child = 0; child < item->childCount(); ++child)
        item->child(child)->setCheckState(SourceColumn, child == candidate ? Qt::Checked : Qt::Unchecked);
}

void SwatchMatchDialog::updateStatus()
{
    int ticked = 0;
    for (int index = 0; index < m_rows.size(); ++index) {
        ticked += !m_rows.at(index).matches.isEmpty()
            && m_list->topLevelItem(index)->checkState(SourceColumn) == Qt::Checked;
    }
    QString status = text(
        "mypalette.swatchmatch.status", QStringLiteral("%1 of %2 colours ticked; My Palette has %3 empty cells."))
                         .arg(ticked)
                         .arg(m_rows.size())
                         .arg(m_freeCells);
    if (ticked > m_freeCells) {
        status += QLatin1Char(' ')
            + text("mypalette.swatchmatch.overflow", QStringLiteral("Only the first %1 ticked are placed."))
                  .arg(m_freeCells);
    }
    m_status->setText(status);
}

QList<QPair<QUuid, DB::ColorEntry>> SwatchMatchDialog::chosenChips() const
{
    QList<QPair<QUuid, DB::ColorEntry>> chosen;
    for (int index = 0; index < m_rows.size(); ++index) {
        const Row &row = m_rows.at(index);
        if (row.chosen >= row.matches.size() || m_list->topLevelItem(index)->checkState(SourceColumn) != Qt::Checked)
            continue;
        const DB::CollectionMatcher::Match &match = row.matches.at(row.chosen);
        chosen.append({ match.collection, m_chips.value({ match.collection, match.rowId }).entry });
    }
    return chosen;
}

QList<DB::CollectionMatcher::Match> SwatchMatchDialog::matches(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).matches : QList<DB::CollectionMatcher::Match>();
}

int SwatchMatchDialog::chosenCandidate(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).chosen : -1;
}

} // namespace Tintor
