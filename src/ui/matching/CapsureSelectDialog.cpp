#include "ui/matching/CapsureSelectDialog.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "state/UserState.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/TaskButton.h"

#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QResizeEvent>

namespace Tintor {

CapsureSelectDialog::CapsureSelectDialog(const QVector<DB::ColorEntry> &entries, QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
{
    const QUuid collection = UserState::lastUsedCollection();
    setWindowTitle(DB::localizedString(collection, QStringLiteral("capsure.dialog.caption")));
    Qt::WindowFlags flags = windowFlags();
    flags &= ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
               | Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlags(flags | Qt::CustomizeWindowHint);
    setWindowOpacity(1.0);
    setFont(programFont(FontStyle::Normal, 2));

    m_background = new QWidget(this);
    m_background->setStyleSheet(QStringLiteral("background-color: rgb(123, 123, 123);"));

    m_chipList = new QComboBox(this);
    m_chipList->setFont(font());
    m_chipList->setEditable(false);
    m_chipList->setInsertPolicy(QComboBox::InsertAtBottom);
    m_chipList->raise();

    m_colorSwatch = new QWidget(this);
    m_colorSwatch->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    m_colorSwatch->raise();

    m_okButton = new TaskButton(this);
    m_okButton->setText(QStringLiteral("OK"));
    m_okButton->setEnabled(false);
    m_okButton->setDefault(true);
    m_okButton->adjustSize();
    m_okButton->raise();

    m_instruction = new QLabel(DB::localizedString(collection, QStringLiteral("capsure.dialog.todo")), this);
    m_instruction->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_instruction->setStyleSheet(QStringLiteral("color:rgb(240,240,240);border-color:rgb(255,255,255);"));
    m_instruction->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_instruction->raise();

    // The chips' collection IDs come from the device search, which runs on
    // the system-wide collection's file.
    QHash<qint64, QString> collectionNames;
    for (const DB::ColorEntry &entry : std::as_const(m_entries)) {
        if (collectionNames.contains(entry.collectionId))
            continue;
        DB::CollectionPointer record;
        const QUuid uuid = DB::collectionUuidInSystemWideFile(entry.collectionId);
        if (DB::collectionByUuid(uuid, record) == 0 && record)
            collectionNames.insert(entry.collectionId, record->name);
    }
    m_severalCollections = collectionNames.size() > 1;

    for (const DB::ColorEntry &entry : std::as_const(m_entries)) {
        if (m_chipList->findData(entry.id, Qt::UserRole, Qt::MatchExactly) >= 0)
            continue;
        const QString text = m_severalCollections
            ? QStringLiteral("%1 (%2)").arg(entry.code, collectionNames.value(entry.collectionId))
            : entry.code;
        m_chipList->addItem(text, QVariant::fromValue<qint64>(entry.id));
    }
    itemSelectionChanged(m_chipList->currentIndex());

    connect(m_chipList, &QComboBox::currentIndexChanged, this, &CapsureSelectDialog::itemSelectionChanged);
    connect(m_okButton, &QAbstractButton::clicked, this, &CapsureSelectDialog::okBtnClicked);

    setFixedSize(320, 200);
    // Lay out once before the dialog is first shown.
    QResizeEvent initial(size(), size());
    resizeEvent(&initial);
}

void CapsureSelectDialog::itemSelectionChanged(int itemIndex)
{
    QColor color(0, 0, 0, 0);
    m_selectedEntry = DB::ColorEntry();
    if (itemIndex >= 0) {
        const qint64 id = m_chipList->itemData(itemIndex, Qt::UserRole).toLongLong();
        for (const DB::ColorEntry &entry : std::as_const(m_entries)) {
            if (entry.id != id)
                continue;
            m_selectedEntry = entry;
            color = QColor(qBound(0, entry.red, 255), qBound(0, entry.green, 255), qBound(0, entry.blue, 255), 255);
            break;
        }
    }
    m_colorSwatch->setStyleSheet(QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
                                     .arg(color.red())
                                     .arg(color.green())
                                     .arg(color.blue())
                                     .arg(color.alpha()));
    m_okButton->setEnabled(itemIndex >= 0);
}

void CapsureSelectDialog::okBtnClicked()
{
    accept();
}

void CapsureSelectDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int th = fontMetrics().height();
    const int ch = m_chipList->sizeHint().height();
    m_background->setGeometry(rect());
    m_chipList->setGeometry(QRect(QPoint(48, 20), QPoint(w - 49, ch + 21)));
    m_instruction->setGeometry(QRect(QPoint(-1, h - th - 8), QPoint(w, h)));
    m_okButton->setGeometry(QRect((w - 80) / 2, h - th - 42, 80, 22));
    m_colorSwatch->setGeometry(QRect(QPoint(48, ch + 33), QPoint(w - 49, h - th - 54)));
}

} // namespace Tintor
