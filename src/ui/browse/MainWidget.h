#pragma once

#include "color/ColorScience.h"
#include "db/ColorEntry.h"
#include "engine/inc/Enumerations.h"
#include "ui/chips/MainWidgetAccess.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <vector>

class QFileSystemWatcher;
class QLabel;
class QMessageBox;
class QPropertyAnimation;
class QTemporaryFile;

namespace Tintor {

class CardRollerWidget;
class ColorForesightWidget;
class CollectionSelectWidget;
class ColorSchemerPelvonWidget;
class ColorSchemerWidget;
class ColorWheelWidget;
class MoodSelectWidget;
class MyPaletteFullWidget;
class MyPaletteWidget;
class ProductsWidget;
class SearchWidget;
class TabBarWidget;
class TaskButton;
class TexturesWidget;

// The 800 x 600 widget of the add-on window. It creates and lays out every
// view, owns the row of task buttons, applies the current collection's look
// and is the only writer of the user's position: each view reports a choice
// by a signal, a slot here stores it in the user state and repaints exactly
// the views that depend on it. It also keeps the Tab order of the views and
// the window-wide keys Ctrl+F (to the search box) and Ctrl+D (the card
// roller's chip into My Palette).
class MainWidget : public QWidget, public MainWidgetAccess
{
    Q_OBJECT

public:
    enum TaskButtonId : quint16 {
        SaveButtonId = 1,
        LoadButtonId = 2,
        HelpButtonId = 3,
        AboutButtonId = 4,
    };

    // Stores itself in `*instanceSlot` before any child exists and clears
    // the slot again when it goes.
    explicit MainWidget(MainWidget **instanceSlot, QWidget *parent = nullptr);
    ~MainWidget() override;

    QSize sizeHint() const override { return QSize(800, 600); }

    // A new task button placed after `afterId` (at the end when that id is
    // not in use); ids start at 1000.
    quint16 addTaskButton(quint16 afterId);
    // The button of `id`, or a hidden button that belongs to no id.
    TaskButton *taskButton(quint16 id) const;
    QList<quint16> taskButtonOrder() const { return m_buttonOrder; }

    // Goes to the collection colour nearest to `color`; may ask the user.
    void showNearestColor(const QColor &color);
    // Reads a swatch file and lets the user match its colours; the chips
    // taken go into My Palette as one undo step. A refused file is shown in
    // an alert and changes nothing.
    void importSwatchFile(const QString &path);
    // Null until a swatch file is refused.
    QMessageBox *swatchFailureMessage() const { return m_swatchFailureMessage; }

    MyPaletteWidget *myPalette() const { return m_myPalette; }
    MyPaletteFullWidget *fullPalette() const { return m_fullPalette; }
    CardRollerWidget *cardRoller() const { return m_cardRoller; }
    ColorWheelWidget *colorWheel() const { return m_colorWheel; }
    MoodSelectWidget *moodFilter() const { return m_moodFilter; }
    SearchWidget *search() const { return m_search; }
    TabBarWidget *tabBar() const { return m_tabBar; }
    ColorSchemerWidget *colorSchemer() const { return m_colorSchemer; }
    ColorSchemerPelvonWidget *pelvonSchemer() const { return m_pelvonSchemer; }
    CollectionSelectWidget *collectionSelector() const { return m_collectionSelector; }
    ColorForesightWidget *foresightView() const { return m_foresightView; }
    TexturesWidget *texturesView() const { return m_texturesView; }
    ProductsWidget *productsView() const { return m_productsView; }
    QLabel *copyrightLabel() const { return m_copyrightLabel; }
    QLabel *mottoLabel() const { return m_mottoLabel; }
    QRect headerArea() const { return m_headerArea; }
    QString capsureFolder() const { return m_capsureFolder; }
    QString capsureFile() const { return m_capsureFile; }
    QString paletteFilter() const { return m_paletteFilter; }
    QString textFilter() const { return m_textFilter; }
    QString swatchFilter() const { return m_swatchFilter; }
    // The temporary document of a link; null until it was opened once.
    QTemporaryFile *documentFile(const QString &link) const { return m_documentFiles.value(link); }
    QPropertyAnimation *zoomAnimation() const { return m_zoomAnimation; }
    // The dialog currently asking for the nearest colour, if any.
    QWidget *nearestColorDialog() const { return m_nearestColorDialog; }

    // MainWidgetAccess
    // Read on first use: only the nearest-colour steps need them.
    const std::vector<LabCandidate> &colorCandidates() const override;
    QWidget *mainWidgetItself() override { return this; }
    QAbstractButton *taskButtonById(quint16 id) override;

    // The rich text of a link label.
    static QString linkText(const QString &link, const QString &text);
    // The task-button row: within My Palette's width less 12 pixels each
    // side, centred on the search box and at most 23 pixels tall.
    static QRect taskButtonRow(const QRect &myPaletteRect, const QRect &searchRect);

Q_SIGNALS:
    void selectedCollectionChanged(QUuid collectionId);
    void savePaletteTo(Tintor::PaletteFileFormat fileFormat, QString path);
    void loadPaletteFrom(Tintor::PaletteFileFormat expectedFileFormat, QString path);
    void onCapsureFileChanged(QString path);
    void myPaletteChanged();
    void myPaletteSelectionChanged();
    void anEditBoxGotFocus();
    void anEditBoxLostFocus();
    // Enter in My Palette: the window presses its select button.
    void selectColorRequested();

public Q_SLOTS:
    void onMyPaletteChanged();
    void onMyPaletteSelectionChanged();
    void collectionChangedInteractively(QUuid collectionId);
    void segmentChangedInteractivelyByWheel(int newSegment);
    void moodFilterChangedInteractively(Tintor::Mood newMood);
    void exteriorFilterChangedInteractively(bool exteriorFilter);
    void showMtoChangedInteractively(bool newValue);
    void rollCards(Tintor::Direction direction);
    void pageChangedInteractively(int newPage);
    void rowChangedInteractively(int newRow);
    void searchForPhrase(QString phrase);
    void tabPageSelected(Tintor::TabBarPage page);
    void schemeKindChangedInteractively(Tintor::SchemeKind scheme);
    void schemeNeutralSubKindChangedInteractively(Tintor::SchemeKind scheme);
    void saveButtonClicked();
    void loadButtonClicked();
    void helpButtonClicked();
    void capsureDirectoryChanged(QString path);
    void capsureFileChanged(QString path);
    void capsureItemSelectedInteractively(QUuid collectionId, Tintor::DB::ColorEntry colorEntry);
    void linkActivated(QString link);
    void zoomMyPaletteClicked();
    void unzoomMyPaletteClicked();
    void unzoomMyPaletteAnimationFinished();
    void onKeyboardFocusChanged(QWidget *old, QWidget *now);
    void chipChosenForPaletteInteractively(QUuid collectionId, Tintor::DB::ColorEntry chip);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyCollection(const QUuid &collection);
    void layoutChildren();
    void layoutTaskButtons();
    // Tab visits the views in the order they are seen, then the buttons;
    // compound views (search, My Palette) keep their own inner order.
    void updateTabOrder();
    void addKeyboardShortcuts();
    void showTabPage(int page);
    void watchCapsureFolder();
    void setTaskButtonTexts(const QUuid &collection);
    void setLinkLabelTexts(const QUuid &collection);
    TaskButton *createTaskButton(quint16 id);
    // Repaints or reloads the detail views after the current card changed.
    void refreshDetails(bool relayout);
    void refreshAfterFilterChange();
    void goToRow(qint64 rowId);
    // Points the wheel at the card's segment and clears a filter that would
    // hide it; true when anything changed.
    bool revealCard(const QUuid &uuid, int segment, int mood, bool exterior);
    void changeCollection(const QUuid &collection);

    MainWidget **m_instanceSlot = nullptr;
    QImage m_background;
    QImage m_banner;
    QRect m_headerArea;
    QString m_headerLink;
    QHash<QString, QTemporaryFile *> m_documentFiles;
    mutable std::vector<LabCandidate> m_colorCandidates;
    mutable bool m_colorCandidatesRead = false;
    QUuid m_candidatesCollection;
    CollectionSelectWidget *m_collectionSelector = nullptr;
    ColorWheelWidget *m_colorWheel = nullptr;
    MoodSelectWidget *m_moodFilter = nullptr;
    CardRollerWidget *m_cardRoller = nullptr;
    SearchWidget *m_search = nullptr;
    TabBarWidget *m_tabBar = nullptr;
    ColorSchemerWidget *m_colorSchemer = nullptr;
    ColorSchemerPelvonWidget *m_pelvonSchemer = nullptr;
    ColorForesightWidget *m_foresightView = nullptr;
    TexturesWidget *m_texturesView = nullptr;
    ProductsWidget *m_productsView = nullptr;
    MyPaletteWidget *m_myPalette = nullptr;
    MyPaletteFullWidget *m_fullPalette = nullptr;
    QPropertyAnimation *m_zoomAnimation = nullptr;
    QMetaObject::Connection m_unzoomConnection;
    TaskButton *m_nullButton = nullptr;
    QHash<quint16, TaskButton *> m_taskButtons;
    QList<quint16> m_buttonOrder;
    QLabel *m_copyrightLabel = nullptr;
    QLabel *m_mottoLabel = nullptr;
    QFileSystemWatcher *m_fileWatcher = nullptr;
    QString m_capsureFolder;
    QString m_capsureFile;
    QString m_paletteFilter;
    QString m_textFilter;
    QString m_swatchFilter;
    QMessageBox *m_swatchFailureMessage = nullptr;
    QPointer<QWidget> m_nearestColorDialog;
    // The rectangle the schemer and catalog tab pages take.
    QRect m_detailRect;
};

} // namespace Tintor
