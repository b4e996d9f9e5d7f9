#include "ui/browse/MainWidget.h"

#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "db/SearchQueries.h"
#include "engine/inc/ModuleValues.h"
#include "platform/Platform.h"
#include "ui/browse/AccessibleNames.h"
#include "state/UserState.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/RollButton.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesWidget.h"
#include "ui/look/AboutButton.h"
#include "ui/look/HelpButton.h"
#include "ui/look/ImageButton.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/TaskButton.h"
#include "ui/look/Theme.h"
#include "ui/matching/CapsureImport.h"
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace Tintor {

namespace {

constexpr int kHeaderHeight = 70;
constexpr int kDetailHeight = 226;
constexpr int kZoomDuration = 350;

const QString kHeaderLinkName = QStringLiteral("links/header");
const QString kCopyrightLink = QStringLiteral("links/copyright");
const QString kMottoLink = QStringLiteral("links/motto");

// Inclusive rectangle from edges, as the layout rules are written.
QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

MainWidget::MainWidget(MainWidget **instanceSlot, QWidget *parent)
    : QWidget(parent)
    , m_instanceSlot(instanceSlot)
{
    if (m_instanceSlot)
        *m_instanceSlot = this;
    MainWidgetAccess::setCurrent(this);

    setObjectName(QStringLiteral("MainWidget"));
    setAttribute(Qt::WA_MouseTracking);
    setMouseTracking(true);
    setFixedSize(800, 600);
    // A click on the background still takes the focus, and the window
    // starts with it here as before, but Tab passes over the background.
    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);
    setFont(programFont(FontStyle::Normal, 2));

    m_nullButton = new TaskButton(this);
    m_nullButton->hide();
    for (quint16 id : {SaveButtonId, LoadButtonId, HelpButtonId}) {
        m_taskButtons.insert(id, createTaskButton(id));
        m_buttonOrder.append(id);
    }

    const QUuid collection = UserState::lastUsedCollection();
    applyCollection(collection);

    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setBrush(group, QPalette::Window, QBrush(m_background));
        pal.setBrush(group, QPalette::Base, QBrush(m_background));
    }
    setPalette(pal);

    m_collectionSelector = new CollectionSelectWidget(this);
    m_collectionSelector->setCapsureImport(&CapsureImport::run);
    m_colorWheel = new ColorWheelWidget(this);
    m_moodFilter = new MoodSelectWidget(this);
    m_search = new SearchWidget(this);
    m_cardRoller = new CardRollerWidget(this);
    m_tabBar = new TabBarWidget(this);
    m_colorSchemer = new ColorSchemerWidget(this);
    m_colorSchemer->hide();
    m_pelvonSchemer = new ColorSchemerPelvonWidget(this);
    m_pelvonSchemer->hide();
    // The catalog tabs start hidden and take m_detailRect.
    m_foresightView = new ColorForesightWidget(this);
    m_texturesView = new TexturesWidget(this);
    m_productsView = new ProductsWidget(this);
    for (QWidget *view : {static_cast<QWidget *>(m_foresightView), static_cast<QWidget *>(m_texturesView),
                          static_cast<QWidget *>(m_productsView)})
        view->hide();
    m_myPalette = new MyPaletteWidget(this);
    m_fullPalette = new MyPaletteFullWidget(this);
    m_fullPalette->hide();
    m_zoomAnimation = new QPropertyAnimation(m_fullPalette, "pos", this);

    setTaskButtonTexts(collection);
    connect(m_taskButtons.value(SaveButtonId), &QAbstractButton::clicked, this, &MainWidget::saveButtonClicked);
    connect(m_taskButtons.value(LoadButtonId), &QAbstractButton::clicked, this, &MainWidget::loadButtonClicked);
    connect(m_taskButtons.value(HelpButtonId), &QAbstractButton::clicked, this, &MainWidget::helpButtonClicked);

    for (QLabel **label : {&m_copyrightLabel, &m_mottoLabel}) {
        *label = new QLabel(this);
        (*label)->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        (*label)->setOpenExternalLinks(false);
        (*label)->setFont(programFont(FontStyle::Normal, 1));
    }
    setLinkLabelTexts(collection);

    m_paletteFilter = QStringLiteral("%1 (*.palette)")
                          .arg(DB::localizedString(collection, QStringLiteral("common.filedialog.palettefile.filtername")));
    m_textFilter = QStringLiteral("%1 (*.txt)")
                       .arg(DB::localizedString(collection, QStringLiteral("common.filedialog.textfile.filtername")));
    m_swatchFilter = QStringLiteral("%1 (*.ase *.aco *.gpl *.css)")
                         .arg(localizedTextOr(collection, QStringLiteral("common.filedialog.swatchfile.filtername"),
                                              QStringLiteral("Swatch files")));

    layoutChildren();
    showTabPage(UserState::tabPageIndex(collection));

    m_fileWatcher = new QFileSystemWatcher(this);
    m_fileWatcher->blockSignals(true);
    watchCapsureFolder();

    connect(m_collectionSelector, &CollectionSelectWidget::collectionSelectedInteractively, this,
            &MainWidget::collectionChangedInteractively);
    connect(this, &MainWidget::onCapsureFileChanged, m_collectionSelector, &CollectionSelectWidget::capsureFileChanged);
    connect(m_colorWheel, &ColorWheelWidget::segmentChangedInteractively, this,
            &MainWidget::segmentChangedInteractivelyByWheel);
    connect(m_moodFilter, &MoodSelectWidget::moodFilterChangedInteractively, this,
            &MainWidget::moodFilterChangedInteractively);
    connect(m_moodFilter, &MoodSelectWidget::exteriorFilterChangedInteractively, this,
            &MainWidget::exteriorFilterChangedInteractively);
    connect(m_moodFilter, &MoodSelectWidget::showMtoChangedInteractively, this,
            &MainWidget::showMtoChangedInteractively);
    connect(m_cardRoller, &CardRollerWidget::roll, this, &MainWidget::rollCards);
    connect(m_cardRoller, &CardRollerWidget::pageChangedInteractively, this, &MainWidget::pageChangedInteractively);
    connect(m_cardRoller, &CardRollerWidget::rowChangedInteractively, this, &MainWidget::rowChangedInteractively);
    connect(m_cardRoller, &CardRollerWidget::collectionSelectedInteractively, this,
            &MainWidget::collectionChangedInteractively);
    connect(m_search, &SearchWidget::roll, this, &MainWidget::rollCards);
    connect(m_search, &SearchWidget::searchForPhrase, this, &MainWidget::searchForPhrase);
    connect(m_tabBar, &TabBarWidget::tabPageSelected, this, &MainWidget::tabPageSelected);
    connect(m_colorSchemer, &ColorSchemerWidget::schemeKindChangedInteractively, this,
            &MainWidget::schemeKindChangedInteractively);
    connect(m_colorSchemer, &ColorSchemerWidget::schemeNeutralSubKindChangedInteractively, this,
            &MainWidget::schemeNeutralSubKindChangedInteractively);
    connect(this, &MainWidget::savePaletteTo, m_myPalette, &MyPaletteWidget::savePaletteTo);
    connect(this, &MainWidget::loadPaletteFrom, m_myPalette, &MyPaletteWidget::loadPaletteFrom);
    connect(m_myPalette, &MyPaletteWidget::myPaletteChanged, this, &MainWidget::onMyPaletteChanged);
    connect(m_myPalette, &MyPaletteWidget::myPaletteSelectionChanged, this, &MainWidget::onMyPaletteSelectionChanged);
    connect(m_myPalette, &MyPaletteWidget::zoomMyPaletteClicked, this, &MainWidget::zoomMyPaletteClicked);
    connect(m_fullPalette, &MyPaletteFullWidget::backButtonClicked, this, &MainWidget::unzoomMyPaletteClicked);
    m_fullPalette->setUndoStack(m_myPalette->undoStack());
    connect(this, &MainWidget::selectedCollectionChanged, m_collectionSelector,
            &CollectionSelectWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_colorWheel, &ColorWheelWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_moodFilter, &MoodSelectWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_cardRoller, &CardRollerWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_search, &SearchWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_tabBar, &TabBarWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_colorSchemer,
            &ColorSchemerWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_pelvonSchemer,
            &ColorSchemerPelvonWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_foresightView,
            &ColorForesightWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_texturesView, &TexturesWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_productsView, &ProductsWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_myPalette, &MyPaletteWidget::selectedCollectionChanged);
    connect(this, &MainWidget::selectedCollectionChanged, m_fullPalette,
            &MyPaletteFullWidget::selectedCollectionChanged);
    connect(m_collectionSelector, &CollectionSelectWidget::capsureItemSelectedInteractively, this,
            &MainWidget::capsureItemSelectedInteractively);
    connect(m_copyrightLabel, &QLabel::linkActivated, this, &MainWidget::linkActivated);
    connect(m_mottoLabel, &QLabel::linkActivated, this, &MainWidget::linkActivated);
    connect(qApp, &QApplication::focusChanged, this, &MainWidget::onKeyboardFocusChanged);
    // Enter on a scheme or trend chip places it as a drop on My Palette would.
    connect(m_colorSchemer, &ColorSchemerWidget::chipChosenInteractively, m_myPalette, &MyPaletteWidget::placeChip);
    connect(m_pelvonSchemer, &ColorSchemerPelvonWidget::chipChosenInteractively, m_myPalette,
            &MyPaletteWidget::placeChip);
    connect(m_foresightView, &ColorForesightWidget::chipChosenInteractively, m_myPalette, &MyPaletteWidget::placeChip);
    connect(m_myPalette, &MyPaletteWidget::selectColorRequested, this, &MainWidget::selectColorRequested);
    applyAccessibleNames(*this, collection);
    connect(this, &MainWidget::selectedCollectionChanged, this,
            [this](QUuid collectionId) { applyAccessibleNames(*this, collectionId); });
    connect(m_cardRoller, &CardRollerWidget::chipChosenForPaletteInteractively, this,
            &MainWidget::chipChosenForPaletteInteractively);
    addKeyboardShortcuts();
    updateTabOrder();

    Q_EMIT onCapsureFileChanged(m_capsureFile);
}

void MainWidget::addKeyboardShortcuts()
{
    // Apart from the schemes' Ctrl+S and the tabs' Ctrl+T chords.
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] {
        if (m_search->isEnabled() && m_search->isVisible())
            m_search->lineEdit()->setFocus(Qt::ShortcutFocusReason);
    });
    auto *toPalette = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(toPalette, &QShortcut::activated, m_cardRoller, &CardRollerWidget::chooseSelectedChipForPalette);
}

void MainWidget::updateTabOrder()
{
    // The stops inside the search box and My Palette are listed one by one:
    // setTabOrder moves only the widget it is given and would leave their
    // children wherever they were first put in the chain.
    QList<QWidget *> order;
    order << m_collectionSelector << m_collectionSelector->collectionList() << m_colorWheel << m_moodFilter
          << m_cardRoller << m_search->lineEdit() << m_search->rollButton(Backward) << m_search->rollButton(Forward)
          << m_colorSchemer << m_pelvonSchemer << m_foresightView << m_texturesView << m_productsView << m_tabBar
          << m_myPalette->zoomButton() << m_myPalette->eraseButton() << m_myPalette->clearButton()
          << m_myPalette->gridButton() << m_myPalette << m_myPalette->descriptionEdit();
    for (const quint16 id : std::as_const(m_buttonOrder))
        order.append(m_taskButtons.value(id));
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void MainWidget::chipChosenForPaletteInteractively(QUuid collectionId, DB::ColorEntry chip)
{
    if (m_myPalette->isEnabled())
        m_myPalette->placeChip(collectionId, chip);
}

MainWidget::~MainWidget()
{
    // Deleting a focused child moves the focus while this object is only a
    // QWidget any more: the slot must not run then.
    disconnect(qApp, &QApplication::focusChanged, this, &MainWidget::onKeyboardFocusChanged);
    // The documents go with the widget, and nothing may reach a widget
    // that is gone through the module-wide pointer.
    qDeleteAll(m_documentFiles);
    m_documentFiles.clear();
    if (MainWidgetAccess::current() == this)
        MainWidgetAccess::setCurrent(nullptr);
    if (m_instanceSlot && *m_instanceSlot == this)
        *m_instanceSlot = nullptr;
}

TaskButton *MainWidget::createTaskButton(quint16 id)
{
    TaskButton *button = nullptr;
    if (id == HelpButtonId)
        button = new HelpButton(this);
    else if (id == AboutButtonId)
        button = new AboutButton(this);
    else
        button = new TaskButton(this);
    button->show();
    return button;
}

quint16 MainWidget::addTaskButton(quint16 afterId)
{
    quint16 largest = 999;
    for (auto it = m_taskButtons.cbegin(); it != m_taskButtons.cend(); ++it)
        largest = std::max(largest, it.key());
    const quint16 id = quint16(largest + 1);
    m_taskButtons.insert(id, createTaskButton(id));
    const qsizetype afterPosition = afterId >= 1 ? m_buttonOrder.indexOf(afterId) : -1;
    if (afterPosition >= 0)
        m_buttonOrder.insert(afterPosition + 1, id);
    else
        m_buttonOrder.append(id);
    layoutTaskButtons();
    if (m_myPalette)
        updateTabOrder();
    return id;
}

TaskButton *MainWidget::taskButton(quint16 id) const
{
    return m_taskButtons.value(id, m_nullButton);
}

QAbstractButton *MainWidget::taskButtonById(quint16 id)
{
    return m_taskButtons.value(id, nullptr);
}

QString MainWidget::linkText(const QString &link, const QString &text)
{
    return QStringLiteral("<a href=\"%1\"><span style=\"text-decoration: none; color: #ffffff;\">%2</span></a>")
        .arg(link, text);
}

void MainWidget::setTaskButtonTexts(const QUuid &collection)
{
    m_taskButtons.value(SaveButtonId)->setText(DB::localizedString(collection, QStringLiteral("mypalette.palette.save")));
    m_taskButtons.value(LoadButtonId)->setText(DB::localizedString(collection, QStringLiteral("mypalette.palette.load")));
}

void MainWidget::setLinkLabelTexts(const QUuid &collection)
{
    if (m_copyrightLabel)
        m_copyrightLabel->setText(
            linkText(kCopyrightLink, DB::localizedString(collection, QStringLiteral("color.palette.copyright"))));
    if (m_mottoLabel)
        m_mottoLabel->setText(
            linkText(kMottoLink, DB::localizedString(collection, QStringLiteral("color.palette.motto"))));
}

void MainWidget::applyCollection(const QUuid &collection)
{
    m_background = themeImage(ThemeItem::MainBackground, size());
    m_banner = themeImage(collection, ThemeItem::Banner, QSize(width(), kHeaderHeight));
    m_headerLink = CollectionSettings::headerLink(collection);

    if (UserState::tabPageIndex(collection) == 0) {
        const int available = CollectionSettings::availableTabBarPages(collection);
        for (int page : CollectionSettings::tabBarPages(collection)) {
            if (page == 0 && available != 0)
                continue;
            if ((available & page) == page) {
                UserState::setTabPageIndex(collection, page);
                break;
            }
        }
    }
    if (UserState::schemeKind(collection) == 0) {
        const QList<int> kinds = CollectionSettings::schemeKinds(collection);
        UserState::setSchemeKind(collection, kinds.isEmpty() ? 0 : kinds.first());
    }
    setLinkLabelTexts(collection);

    m_colorCandidates.clear();
    m_colorCandidatesRead = false;
    m_candidatesCollection = collection;

    m_capsureFolder.clear();
    m_capsureFile.clear();
    if (CollectionSettings::isCapsureEnabled(collection)) {
        m_capsureFolder = CollectionSettings::capsureFolderToWatch(collection);
        m_capsureFolder.replace(QStringLiteral("%PROGRAMDATA%"), Platform::commonApplicationDataFolder());
        m_capsureFile = m_capsureFolder + QDir::separator() + CollectionSettings::capsureFileNameToWatch(collection);
    }
}

const std::vector<LabCandidate> &MainWidget::colorCandidates() const
{
    if (!m_colorCandidatesRead) {
        m_colorCandidatesRead = true;
        DB::matchCandidates(m_candidatesCollection, m_colorCandidates);
    }
    return m_colorCandidates;
}

void MainWidget::layoutChildren()
{
    if (!m_collectionSelector)
        return;
    const int w = width();
    const QUuid collection = UserState::lastUsedCollection();

    m_moodFilter->setVisible(CollectionSettings::isMoodVisible(collection));
    m_headerArea = fromEdges(0, 0, w - 1, kHeaderHeight - 1);
    QRect content = rect();
    content.setTop(kHeaderHeight + 1);
    m_fullPalette->setGeometry(rect());

    const QFontMetrics metrics(m_copyrightLabel->font());
    const QSize mottoSize =
        metrics.size(Qt::TextSingleLine, DB::localizedString(collection, QStringLiteral("color.palette.motto")))
        + QSize(1, 2);
    m_mottoLabel->setGeometry(12, content.bottom() - mottoSize.height() - 6, mottoSize.width(), mottoSize.height());
    const QSize copyrightSize =
        metrics.size(Qt::TextSingleLine, DB::localizedString(collection, QStringLiteral("color.palette.copyright")))
        + QSize(1, 2);
    m_copyrightLabel->setGeometry(content.right() - copyrightSize.width() - 12,
                                  content.bottom() - copyrightSize.height() - 6, copyrightSize.width(),
                                  copyrightSize.height());
    content.setBottom(content.bottom() - (12 + metrics.height()));

    const QRect selector(content.topLeft(), m_collectionSelector->size());
    m_collectionSelector->setGeometry(selector);

    const QSize wheelSize = m_colorWheel->size();
    m_colorWheel->setGeometry(selector.left() + (selector.width() - wheelSize.width()) / 2, selector.bottom() + 10,
                              wheelSize.width(), wheelSize.height());

    m_moodFilter->layoutContents();
    const QSize moodSize = m_moodFilter->sizeHint();
    m_moodFilter->resize(moodSize);
    m_moodFilter->move(selector.left() + (selector.width() - m_moodFilter->width()) / 2,
                       m_colorWheel->geometry().bottom() + 10);

    const QSize searchSize = m_search->size();
    m_search->setGeometry(content.left() + 12, content.bottom() - searchSize.height() + 1, searchSize.width(),
                          searchSize.height());
    const int aboveRoller = m_moodFilter->isVisibleTo(this) ? m_moodFilter->geometry().bottom()
                                                      : m_colorWheel->geometry().bottom();
    m_cardRoller->setGeometry(fromEdges(m_search->geometry().left(), aboveRoller + 6, m_search->geometry().right(),
                                        m_search->geometry().top() - 7));

    const QRect tabBar = fromEdges(selector.right() + 1, selector.top(), selector.left() + w - 1, selector.bottom());
    m_tabBar->setGeometry(tabBar);

    m_detailRect = tabBar.translated(1, tabBar.height());
    m_detailRect.setSize(QSize(m_detailRect.width() - 1, kDetailHeight));
    m_colorSchemer->setGeometry(m_detailRect);
    m_pelvonSchemer->setGeometry(m_detailRect);

    for (QWidget *view : {static_cast<QWidget *>(m_foresightView), static_cast<QWidget *>(m_texturesView),
                          static_cast<QWidget *>(m_productsView)})
        view->setGeometry(m_detailRect);

    m_myPalette->setGeometry(fromEdges(m_detailRect.left(), m_detailRect.bottom() + 1, m_detailRect.right(),
                                       m_cardRoller->geometry().bottom()));

    m_search->setBackgroundImage(m_background.copy(m_search->geometry()));
    layoutTaskButtons();
}

QRect MainWidget::taskButtonRow(const QRect &myPaletteRect, const QRect &searchRect)
{
    int top = searchRect.top();
    int bottom = searchRect.bottom();
    // Shrinks from both sides so the row stays centred on the search box.
    while (bottom - top + 1 > 23) {
        ++top;
        --bottom;
    }
    return fromEdges(myPaletteRect.left() + 12, top, myPaletteRect.right() - 12, bottom);
}

void MainWidget::layoutTaskButtons()
{
    if (m_taskButtons.isEmpty() || !m_myPalette || !m_search)
        return;
    const QRect row = taskButtonRow(m_myPalette->geometry(), m_search->geometry());
    const int left = row.left();
    const int top = row.top();
    const int rowHeight = row.height();
    int count = m_taskButtons.size();
    double share = double(row.width()) - 4.0 * (count - 1);
    for (quint16 roundId : {HelpButtonId, AboutButtonId}) {
        if (m_taskButtons.contains(roundId)) {
            share -= rowHeight - 2;
            count -= 1;
        }
    }
    if (count > 0)
        share /= count;
    double x = left;
    for (quint16 id : std::as_const(m_buttonOrder)) {
        TaskButton *button = m_taskButtons.value(id);
        if (!button)
            continue;
        if (id == HelpButtonId || id == AboutButtonId) {
            button->setGeometry(int(std::trunc(x)), top + 1, rowHeight - 2, rowHeight - 2);
            x += button->width() + 4;
        } else {
            button->setGeometry(int(std::trunc(x)), top, int(std::trunc(share)), rowHeight);
            x += share + 4.0;
        }
    }
}

void MainWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void MainWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, m_background);
    if (!m_banner.isNull())
        painter.drawImage((width() - m_banner.width()) / 2, (kHeaderHeight - m_banner.height()) / 2, m_banner);
    if (m_collectionSelector) {
        painter.setPen(QColor(188, 188, 188));
        const int x = m_collectionSelector->geometry().right() + 1;
        painter.drawLine(x, m_collectionSelector->geometry().top(), x, height());
    }
}

void MainWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool overLink = !m_headerLink.isEmpty() && m_headerArea.contains(event->position().toPoint());
    setCursor(overLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void MainWidget::mousePressEvent(QMouseEvent *event)
{
    if (!m_headerLink.isEmpty() && m_headerArea.contains(event->position().toPoint())) {
        linkActivated(kHeaderLinkName);
        return;
    }
    QWidget::mousePressEvent(event);
}

void MainWidget::showTabPage(int page)
{
    m_colorSchemer->hide();
    m_pelvonSchemer->hide();
    m_foresightView->hide();
    m_texturesView->hide();
    m_productsView->hide();
    if (page == PageOfColorSchemes) {
        const CardType type = CollectionSettings::cardType(UserState::lastUsedCollection());
        if (type == CardNormal)
            m_colorSchemer->show();
        else if (type == CardPelvon)
            m_pelvonSchemer->show();
    } else if (page == PageOfProducts) {
        m_productsView->show();
    } else if (page == PageOfColorForesight) {
        m_foresightView->setGeometry(m_detailRect);
        m_foresightView->show();
    } else if (page == PageOfTextures) {
        m_texturesView->setGeometry(m_detailRect);
        m_texturesView->show();
        m_texturesView->selectedPageChanged();
    }
}

void MainWidget::watchCapsureFolder()
{
    m_fileWatcher->blockSignals(true);
    const QStringList watched = m_fileWatcher->files() + m_fileWatcher->directories();
    if (!watched.isEmpty())
        m_fileWatcher->removePaths(watched);
    disconnect(m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &MainWidget::capsureFileChanged);
    disconnect(m_fileWatcher, &QFileSystemWatcher::directoryChanged, this, &MainWidget::capsureDirectoryChanged);
    if (m_capsureFolder.isEmpty() || !QFileInfo(m_capsureFolder).isDir())
        return;
    m_fileWatcher->addPath(m_capsureFolder);
    if (QFileInfo::exists(m_capsureFile))
        m_fileWatcher->addPath(m_capsureFile);
    connect(m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &MainWidget::capsureFileChanged);
    connect(m_fileWatcher, &QFileSystemWatcher::directoryChanged, this, &MainWidget::capsureDirectoryChanged);
    m_fileWatcher->blockSignals(false);
}

void MainWidget::capsureDirectoryChanged(QString path)
{
    Q_UNUSED(path);
    const QSignalBlocker blocker(m_fileWatcher);
    if (QFileInfo::exists(m_capsureFile))
        m_fileWatcher->addPath(m_capsureFile);
    else if (m_fileWatcher->files().contains(m_capsureFile))
        m_fileWatcher->removePath(m_capsureFile);
    Q_EMIT onCapsureFileChanged(m_capsureFile);
}

void MainWidget::capsureFileChanged(QString path)
{
    Q_UNUSED(path);
    const QSignalBlocker blocker(m_fileWatcher);
    Q_EMIT onCapsureFileChanged(m_capsureFile);
}

void MainWidget::onMyPaletteChanged()
{
    Q_EMIT myPaletteChanged();
}

void MainWidget::onMyPaletteSelectionChanged()
{
    Q_EMIT myPaletteSelectionChanged();
}

void MainWidget::onKeyboardFocusChanged(QWidget *old, QWidget *now)
{
    Q_UNUSED(old);
    if (now && (now == m_search->lineEdit() || now == m_myPalette->descriptionEdit()))
        Q_EMIT anEditBoxGotFocus();
    else
        Q_EMIT anEditBoxLostFocus();
}

void MainWidget::linkActivated(QString link)
{
    if (link == kHeaderLinkName) {
        if (!m_headerLink.isEmpty())
            QDesktopServices::openUrl(QUrl(m_headerLink));
        return;
    }
    if (link != kCopyrightLink && link != kMottoLink)
        return;
    QTemporaryFile *file = m_documentFiles.value(link);
    if (!file) {
        file = new QTemporaryFile(QDir::toNativeSeparators(
            QStringLiteral("%1%2qt_temp_XXXXXX.html").arg(QDir::tempPath(), QDir::separator())));
        m_documentFiles.insert(link, file);
    }
    if (file->open()) {
        const QString key = link == kCopyrightLink ? QStringLiteral("license.copyright") : QStringLiteral("motto");
        file->resize(0);
        file->write(DB::localizedDocument(UserState::lastUsedCollection(), key).toUtf8());
        file->close();
    }
    if (QFileInfo::exists(file->fileName()))
        QDesktopServices::openUrl(QUrl::fromLocalFile(file->fileName()));
}

void MainWidget::helpButtonClicked()
{
    QString address = CollectionSettings::helpLink(UserState::lastUsedCollection());
    if (address.contains(QStringLiteral("%APP%")))
        address.replace(QStringLiteral("%APP%"), QFileInfo(pluginFilePath()).canonicalPath());
    const QUrl url(address);
    if (!address.isEmpty() && url.isValid())
        QDesktopServices::openUrl(url);
}

namespace {

QString initialPalettePath(const QUuid &collection)
{
    const QString last = UserState::myPaletteLastSavePath();
    const QFileInfo info(last);
    if (!last.isEmpty() && info.exists() && info.dir().exists())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QDir::separator()
         + DB::localizedString(collection, QStringLiteral("common.filedialog.palettefile.defaultfilename"));
}

} // namespace

void MainWidget::saveButtonClicked()
{
    const QUuid collection = UserState::lastUsedCollection();
    const bool offersText = CollectionSettings::savesPaletteAsText(collection, false);
    QStringList filters{m_paletteFilter};
    if (offersText)
        filters << m_textFilter;
    QString selectedFilter =
        offersText && UserState::myPaletteSaveFileFormat() ? m_textFilter : m_paletteFilter;
    const QString path = QFileDialog::getSaveFileName(
        this, DB::localizedString(collection, QStringLiteral("common.filedialog.palettefile.savedialogcaption")),
        initialPalettePath(collection), filters.join(QStringLiteral(";;")), &selectedFilter);
    if (path.isEmpty())
        return;
    const PaletteFileFormat format =
        offersText && selectedFilter.compare(m_textFilter, Qt::CaseInsensitive) == 0 ? PaletteText : PaletteXml;
    Q_EMIT savePaletteTo(format, path);
    UserState::setMyPaletteSaveFileFormat(format);
    UserState::setMyPaletteLastSavePath(path);
}

void MainWidget::loadButtonClicked()
{
    const QUuid collection = UserState::lastUsedCollection();
    QString selectedFilter = m_paletteFilter;
    const QString path = QFileDialog::getOpenFileName(
        this, DB::localizedString(collection, QStringLiteral("common.filedialog.palettefile.opendialogcaption")),
        initialPalettePath(collection), QStringList{m_paletteFilter, m_swatchFilter}.join(QStringLiteral(";;")),
        &selectedFilter);
    if (path.isEmpty())
        return;
    // A swatch file's own extension decides too: the dialog lets a name
    // typed under the palette filter through.
    static const QStringList swatchSuffixes{QStringLiteral("ase"), QStringLiteral("aco"), QStringLiteral("gpl"),
                                            QStringLiteral("css")};
    if (selectedFilter == m_swatchFilter || swatchSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive)) {
        importSwatchFile(path);
        return;
    }
    Q_EMIT loadPaletteFrom(PaletteXml, path);
    UserState::setMyPaletteSaveFileFormat(PaletteXml);
    UserState::setMyPaletteLastSavePath(path);
}

void MainWidget::zoomMyPaletteClicked()
{
    m_fullPalette->raise();
    m_fullPalette->move(width(), 0);
    m_fullPalette->show();
    // An unzoom still under way must not hide the view once this slide ends.
    disconnect(m_unzoomConnection);
    m_zoomAnimation->stop();
    m_zoomAnimation->setDuration(kZoomDuration);
    m_zoomAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_zoomAnimation->setStartValue(QPoint(width(), 0));
    m_zoomAnimation->setEndValue(QPoint(0, 0));
    m_zoomAnimation->start();
}

void MainWidget::unzoomMyPaletteClicked()
{
    m_fullPalette->raise();
    m_zoomAnimation->stop();
    m_zoomAnimation->setDuration(kZoomDuration);
    m_zoomAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_zoomAnimation->setStartValue(m_fullPalette->pos());
    m_zoomAnimation->setEndValue(QPoint(-width(), 0));
    disconnect(m_unzoomConnection);
    m_unzoomConnection = connect(m_zoomAnimation, &QPropertyAnimation::finished, this,
                                 &MainWidget::unzoomMyPaletteAnimationFinished);
    m_zoomAnimation->start();
}

void MainWidget::unzoomMyPaletteAnimationFinished()
{
    disconnect(m_unzoomConnection);
    m_fullPalette->hide();
}

} // namespace Tintor
