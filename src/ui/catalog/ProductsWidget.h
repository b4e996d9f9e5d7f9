#pragma once

#include <QUuid>
#include <QWidget>

class QLabel;
class QListWidget;

namespace Tintor {

class VestrelCustomStyle;

// The products tab: the selected chip's code over the list of products (or
// product groups) it is sold in. Passive: it reads the current collection,
// card and chip from the user state whenever it refreshes.
class ProductsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ProductsWidget(QWidget *parent = nullptr);

    QLabel *codeLabel() const { return m_label; }
    QListWidget *list() const { return m_list; }

public Q_SLOTS:
    void selectedCollectionChanged(QUuid collectionId);
    void selectedColorChanged();
    // Reads the selected chip again; the main widget calls it when the
    // card or the chip changes.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_label = nullptr;
    QListWidget *m_list = nullptr;
    VestrelCustomStyle *m_style = nullptr;
};

} // namespace Tintor
