#pragma once

#include "db/CollectionMatcher.h"
#include "db/ColorEntry.h"
#include "formats/SwatchColor.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPair>
#include <QUuid>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace Tintor {

// "Match colours": the colours of a swatch file, in file order, each with
// the nearest chip of the current collection (or of every enabled one) by
// CIEDE2000, how far it lies and a tick for taking it. A row unfolds into
// its six nearest chips, of which the ticked one is taken. The dialog only
// chooses; the caller places the chosen chips.
class SwatchMatchDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCandidateCount = 6;
    enum Column { SourceColumn, ChipColumn, CollectionColumn, DifferenceColumn, GradeColumn };

    // `freeCells`: how many chips the palette can still take.
    SwatchMatchDialog(const QString &fileName, const QString &formatName, const QList<SwatchColor> &colors,
        int freeCells, QWidget *parent = nullptr);

    // The chip taken for each ticked row that has one, in file order.
    QList<QPair<QUuid, DB::ColorEntry>> chosenChips() const;
    // The matches of `row`, nearest first.
    QList<DB::CollectionMatcher::Match> matches(int row) const;
    int chosenCandidate(int row) const;
    // Takes candidate `candidate` of `row` instead of the one taken now.
    void chooseCandidate(int row, int candidate);

    QCheckBox *allCollectionsBox() const { return m_allCollections; }
    QTreeWidget *matchList() const { return m_list; }
    QDialogButtonBox *buttons() const { return m_buttons; }
    QLabel *statusLabel() const { return m_status; }

private:
    struct Chip {
        DB::ColorEntry entry;
        QString label;
        QString collectionName;
        bool found = false;
    };
    struct Row {
        SwatchColor color;
        QList<DB::CollectionMatcher::Match> matches;
        int chosen = 0;
    };

    void recompute();
    // Widens the name columns to what they show, within bounds.
    void fitColumns(bool growOnly);
    void showCandidate(QTreeWidgetItem *item, const Row &row, int candidate);
    void fillCandidates(QTreeWidgetItem *item);
    void itemChanged(QTreeWidgetItem *item, int column);
    void updateStatus();
    const Chip &chip(const DB::CollectionMatcher::Match &match);
    QString text(const char *key, const QString &fallback) const;

    QUuid m_collection;
    int m_freeCells = 0;
    QList<Row> m_rows;
    QHash<QPair<QUuid, qint64>, Chip> m_chips;
    QHash<QUuid, QString> m_collectionNames;
    QCheckBox *m_allCollections = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

} // namespace Tintor
