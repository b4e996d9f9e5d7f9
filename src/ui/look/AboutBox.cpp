#include "ui/look/AboutBox.h"

#include "db/CollectionLookups.h"
#include "state/UserState.h"
#include "ui/look/ApplicationIcon.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

namespace Tintor {

namespace {

const char kEngineVersion[] = HUELINK_VERSION_TEXT;
constexpr int kPointerBits = int(sizeof(void *)) * 8;
constexpr int kMargin = 16;
constexpr int kLineGap = 5;

void fitToText(QLabel *label)
{
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(label->text()), metrics.height());
}

} // namespace

QString AboutBox::versionText(const QString &text, const QString &productVersionLabel)
{
    if (!text.isEmpty())
        return QStringLiteral("%1 (engine %2) (%3bit)")
            .arg(text, QString::fromLatin1(kEngineVersion))
            .arg(kPointerBits);
    return QStringLiteral("%1 %2 (%3bit)")
        .arg(productVersionLabel, QString::fromLatin1(kEngineVersion))
        .arg(kPointerBits);
}

AboutBox::AboutBox(QWidget *parent, const QString &text)
    : QDialog(parent)
    , m_text(text)
{
    const QUuid collection = UserState::lastUsedCollection();
    const auto localized = [&collection](const char *key) {
        return DB::localizedString(collection, QString::fromLatin1(key));
    };

    setAttribute(Qt::WA_NativeWindow);
    setWindowTitle(localized("aboutbox.caption"));
    setWindowIcon(applicationIcon());
    Qt::WindowFlags flags = windowFlags();
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint);
    // With the customize hint a title bar is only there when asked for.
    flags |= Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    setSizeGripEnabled(false);

    QFont dialogFont = programFont(FontStyle::Normal, 2);
    dialogFont.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferQuality));
    setFont(dialogFont);

    m_logoLabel = new QLabel(this);
    m_logoLabel->setFrameShape(QFrame::NoFrame);
    m_logoLabel->setPixmap(QPixmap::fromImage(themeImage(collection, ThemeItem::AboutLogo, QSize(128, 64))));
    m_logoLabel->setAlignment(Qt::AlignCenter);
    m_logoLabel->setFixedSize(128, 48);

    QFont titleFont(dialogFont.family(), dialogFont.pointSize() + 2, QFont::Bold);
    m_titleLabel = new QLabel(localized("aboutbox.main"), this);
    m_titleLabel->setFont(titleFont);
    fitToText(m_titleLabel);

    m_copyrightLabel = new QLabel(localized("aboutbox.copyright"), this);
    fitToText(m_copyrightLabel);

    QFont versionFont(dialogFont.family(), dialogFont.pointSize() - 2);
    m_versionLabel = new QLabel(versionText(m_text, localized("aboutbox.version")), this);
    m_versionLabel->setFont(versionFont);
    fitToText(m_versionLabel);

    m_licenseText = new QTextEdit(this);
    m_licenseText->setReadOnly(true);
    m_licenseText->setAcceptRichText(true);
    m_licenseText->setHtml(DB::localizedDocument(collection, QStringLiteral("license.copyright")));

    m_qtLicenseButton = new QPushButton(localized("aboutbox.qt.license.button"), this);
    m_qtLicenseButton->setAutoDefault(false);
    m_qtLicenseButton->adjustSize();
    m_closeButton = new QPushButton(localized("aboutbox.close.button"), this);
    m_closeButton->setAutoDefault(false);
    m_closeButton->setDefault(true);
    m_closeButton->adjustSize();
    const int buttonWidth = qMax(m_qtLicenseButton->width(), m_closeButton->width()) + 6;
    m_qtLicenseButton->resize(buttonWidth, m_qtLicenseButton->height());
    m_closeButton->resize(buttonWidth, m_closeButton->height());

    m_background = new QWidget(this);
    m_background->lower();
    m_background->setStyleSheet(
        QStringLiteral("background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0.5, y2:1, stop:0 rgba(238, "
                       "238, 238, 255), stop:1 rgba(218, 218, 218, 255));"));

    setFixedSize(680, 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect screenRect = screen->geometry();
        move((screenRect.width() - width()) / 2, screenRect.height() / 3);
    }

    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_qtLicenseButton, &QPushButton::clicked, this, &AboutBox::onQtLicenseClicked);
}

void AboutBox::onQtLicenseClicked()
{
    QApplication::aboutQt();
}

void AboutBox::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    m_background->setGeometry(0, 0, w, h);
    m_logoLabel->move(kMargin, kMargin);
    const bool hasLogo = m_logoLabel->pixmap().isNull() == false;
    const int x0 = hasLogo ? m_logoLabel->width() + 2 * kMargin : kMargin;
    m_titleLabel->move(x0, kMargin);
    m_copyrightLabel->move(x0, m_titleLabel->geometry().bottom() + kLineGap);
    m_versionLabel->move(x0, m_copyrightLabel->geometry().bottom() + kLineGap);
    const int buttonHeight = m_qtLicenseButton->height();
    m_licenseText->setGeometry(QRect(QPoint(x0, m_versionLabel->geometry().bottom() + kLineGap),
                                     QPoint(w - 17, h - buttonHeight - 33)));
    m_qtLicenseButton->move(x0, h - buttonHeight - kMargin);
    m_closeButton->move(w - m_closeButton->width() - kMargin, h - buttonHeight - kMargin);
}

} // namespace Tintor
