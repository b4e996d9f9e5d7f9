#pragma once

#include "db/ColorEntry.h"

#include <QImage>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <functional>

class QListWidget;
class QListWidgetItem;

namespace Tintor {

class DropDownButton;
class ImageButton;

// The header widget that names the selected collection. Its drop-down
// button opens a list of every available collection (a sibling widget, so
// that it can extend below the header); a pick goes out as
// collectionSelectedInteractively. A Capsure button appears, pulsing, while
// a measurement file waits in the watched folder; clicking it runs the
// measurement import. The selected collection itself is read from the user
// state, never kept. With the focus, Space, Return or Alt+Down opens the
// list as the drop-down button does.
class CollectionSelectWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 234;
    static constexpr int kHeight = 30;
    static constexpr int kListHeight = 128;

    // Reads the measurement file; true with the chip the user chose.
    using CapsureImport = std::function<bool(QWidget *parent, const QString &fileName, DB::ColorEntry &chosen)>;

    explicit CollectionSelectWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The import that the Capsure button runs; without one it does nothing.
    void setCapsureImport(CapsureImport import) { m_capsureImport = std::move(import); }

    QString collectionName() const { return m_collectionName; }
    QColor textColor() const { return m_textColor; }
    // The rectangle the name is centred in.
    QRect textRect() const;
    DropDownButton *dropDownButton() const { return m_dropDownButton; }
    ImageButton *capsureButton() const { return m_capsureButton; }
    QListWidget *collectionList() const { return m_collectionList; }
    QString capsureFileName() const { return m_capsureFileName; }

Q_SIGNALS:
    void collectionSelectedInteractively(const QUuid &collectionId);
    void capsureItemSelectedInteractively(const QUuid &collectionId, const Tintor::DB::ColorEntry &colorEntry);

public Q_SLOTS:
    void selectedCollectionChanged(const QUuid &collectionId);
    void capsureFileChanged(const QString &fileName);
    void dropDownButtonClicked();
    void capsureButtonClicked();
    void listWidgetItemActivated(QListWidgetItem *item);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void reload(const QUuid &collectionId);
    void layoutChildren();
    void placeCollectionList();
    void refreshDropDownBackground();
    void emitPendingCollection();

    QImage m_backgroundImage;
    QString m_collectionName;
    QColor m_textColor;
    DropDownButton *m_dropDownButton = nullptr;
    ImageButton *m_capsureButton = nullptr;
    QString m_capsureFileName;
    QListWidget *m_collectionList = nullptr;
    QUuid m_pendingCollection;
    CapsureImport m_capsureImport;
};

} // namespace Tintor
