#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;

namespace Tintor {

// The about box: the last used collection's logo and texts, the version
// line and the licence, with a button for the toolkit's own licence.
// Fixed at 680 x 480 and laid out by hand.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    // A non-empty `text` replaces the product name in the version line,
    // which then names the engine version separately.
    AboutBox(QWidget *parent, const QString &text);

    // The version line as shown.
    static QString versionText(const QString &text, const QString &productVersionLabel);

    QLabel *logoLabel() const { return m_logoLabel; }
    QLabel *titleLabel() const { return m_titleLabel; }
    QLabel *copyrightLabel() const { return m_copyrightLabel; }
    QLabel *versionLabel() const { return m_versionLabel; }
    QTextEdit *licenseText() const { return m_licenseText; }
    QPushButton *qtLicenseButton() const { return m_qtLicenseButton; }
    QPushButton *closeButton() const { return m_closeButton; }

public Q_SLOTS:
    void onQtLicenseClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_background = nullptr;
    QLabel *m_logoLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_copyrightLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QTextEdit *m_licenseText = nullptr;
    QPushButton *m_qtLicenseButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QString m_text;
};

} // namespace Tintor
