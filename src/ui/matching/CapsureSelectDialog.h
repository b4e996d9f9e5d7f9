#pragma once

#include "db/ColorEntry.h"

#include <QDialog>
#include <QVector>

class QComboBox;
class QLabel;

namespace Tintor {

class TaskButton;

// Lets the user pick one of the chips a Capsure measurement named. The
// chips come grouped by collection in priority order; each is listed once,
// by its code, followed by its collection's name when they come from more
// than one collection. The swatch shows the current item's colour; OK
// accepts with that chip in selectedEntry().
class CapsureSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CapsureSelectDialog(const QVector<DB::ColorEntry> &entries, QWidget *parent = nullptr);

    // The chip of the current item; cleared (id -1) while there is none.
    DB::ColorEntry selectedEntry() const { return m_selectedEntry; }

    QComboBox *chipList() const { return m_chipList; }
    QWidget *colorSwatch() const { return m_colorSwatch; }
    TaskButton *okButton() const { return m_okButton; }
    QLabel *instructionLabel() const { return m_instruction; }

public Q_SLOTS:
    void itemSelectionChanged(int itemIndex);
    void okBtnClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_severalCollections = false;
    QVector<DB::ColorEntry> m_entries;
    DB::ColorEntry m_selectedEntry;
    QWidget *m_background = nullptr;
    QLabel *m_instruction = nullptr;
    QComboBox *m_chipList = nullptr;
    QWidget *m_colorSwatch = nullptr;
    TaskButton *m_okButton = nullptr;
};

} // namespace Tintor
