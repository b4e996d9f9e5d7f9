#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <QUuid>

class QFileDialog;
class QMessageBox;

namespace Tintor {
class MainWidget;
enum class SwatchFormat;
}

// The window of a pick request: the main widget plus the select-colour and
// create-swatch buttons. It keeps the host's colour and, once the user
// presses the select button (or Ctrl+Return), the colour that goes back to
// the host.
class AddOnMainWindow : public QDialog
{
    Q_OBJECT

public:
    AddOnMainWindow(const QColor &initialColor, const QString &swatchFolder, QWidget *parent = nullptr);
    ~AddOnMainWindow() override;

    // The window of the running pick, or null; cleared when it goes.
    static AddOnMainWindow *current();

    Tintor::MainWidget *mainWidget() const { return m_mainWidget; }
    quint16 selectButtonId() const { return m_selectButtonId; }
    quint16 swatchButtonId() const { return m_swatchButtonId; }
    QColor initialColor() const { return m_initialColor; }
    QColor chosenColor() const { return m_chosenColor; }
    bool initialColorShown() const { return m_initialColorShown; }
    QString swatchFolder() const { return m_swatchFolder; }
    // Null until the first export.
    QFileDialog *swatchDialog() const { return m_swatchDialog; }
    QMessageBox *swatchAlert() const { return m_swatchAlert; }

public Q_SLOTS:
    void collectionChanged(QUuid collectionId);
    void selectColor();
    void createSwatch();
    void showTimerExhausted();
    void onMyPaletteChanged();
    void onSwatchDialogFinished(int button);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The colour of the one selected My Palette cell; transparent unless
    // exactly one cell is selected.
    QColor singleSelectedColor() const;
    // Writes My Palette in one of the exchange formats to the chosen file.
    void exportSwatchesAs(Tintor::SwatchFormat format, bool appendProductCodes);
    // Success after a committed write (naming `writtenPath` when given), or
    // which file failed and why.
    void showSwatchAlert(const QUuid &collection, const QString &failedPath, const QString &reason,
                         const QString &writtenPath = QString());

    Tintor::MainWidget *m_mainWidget = nullptr;
    quint16 m_selectButtonId = 0;
    quint16 m_swatchButtonId = 0;
    QColor m_initialColor;
    bool m_initialColorShown = false;
    QColor m_chosenColor;
    QFileDialog *m_swatchDialog = nullptr;
    QMessageBox *m_swatchAlert = nullptr;
    QString m_swatchFolder;
};
