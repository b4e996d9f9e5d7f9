// view-gallery: renders the browsing views over every collection, each at
// the size the main widget gives it, and saves a PNG of every view and of
// the whole arrangement, so the views can be looked at on their own.
//
//   view-gallery [--programdata DIR] [--output DIR] [--demo]
//
// Collections come from DIR/Vestrel/Huelink/SQLite (default: the build's
// programdata folder, when it holds collections); --demo, or no such
// folder, renders over a small demo file of the gallery's own. The user
// state lives in a temporary folder, never the user's own.

#include "DemoCollectionFile.h"
#include "GalleryStage.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "engine/inc/AtomicFileWriter.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/browse/MainWidget.h"
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString collectionFolderOf(const QString &databaseFolder)
{
    return databaseFolder + QStringLiteral("/Contents/Resources");
}

bool holdsCollections(const QString &databaseFolder)
{
    return !QDir(collectionFolderOf(databaseFolder)).entryList({QStringLiteral("*.db")}, QDir::Files).isEmpty();
}

// A position worth looking at: the second card, its third chip.
void chooseStartingPosition(const QUuid &collection)
{
    Tintor::UserState::setPageIndex(collection, 2);
    Tintor::UserState::setRowIndex(collection, 3);
}

// Fills My Palette with chips of a few cards of the collection, row by row,
// and selects one cell, so the palette pictures show a palette in use.
void fillPalette(const QUuid &collection)
{
    using namespace Tintor;
    QList<DB::ColorEntry> chips;
    for (int pageIndex = 2; pageIndex < 40 && chips.size() < 20; pageIndex += 3) {
        DB::ColorPage page;
        if (DB::pageAt(collection, pageIndex, page) != 0)
            continue;
        for (int i = 1; i < page.entries.size() && i < 5; i += 2)
            chips.append(page.entries.at(i));
    }
    for (int cell = 0; cell < UserState::kPaletteRows * UserState::kPaletteColumns; ++cell) {
        const int row = cell / UserState::kPaletteColumns;
        const int column = cell % UserState::kPaletteColumns;
        DB::ItemIndex item;
        if (cell < chips.size())
            item = DB::ItemIndex{collection, chips.at(cell).pageId, chips.at(cell).id};
        UserState::setMyPaletteEntry(row, column, item);
        UserState::setMyPaletteCellSelected(row, column, cell == 7 && cell < chips.size());
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir userFolder;
    if (!userFolder.isValid()) {
        std::fprintf(stderr, "view-gallery: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolder.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves pictures of the browsing views."));
    parser.addHelpOption();
    const QCommandLineOption programDataOption(QStringLiteral("programdata"),
                                               QStringLiteral("All-users data folder holding the collections."),
                                               QStringLiteral("dir"),
                                               QStringLiteral(HUELINK_BUILD_DIR "/programdata"));
    const QCommandLineOption outputOption(QStringLiteral("output"), QStringLiteral("Folder for the pictures."),
                                          QStringLiteral("dir"), QStringLiteral("view-gallery"));
    const QCommandLineOption demoOption(QStringLiteral("demo"), QStringLiteral("Use the gallery's own demo file."));
    parser.addOptions({programDataOption, outputOption, demoOption});
    parser.process(app);

    QString databaseFolder = parser.value(programDataOption) + QStringLiteral("/Vestrel/Huelink/SQLite");
    if (parser.isSet(demoOption) || !holdsCollections(databaseFolder)) {
        databaseFolder = userFolder.path() + QStringLiteral("/SQLite");
        if (!Gallery::writeDemoCollectionFile(databaseFolder))
            return 1;
    }
    Tintor::setHostApplicationName(QStringLiteral("Photoshop"));
    Tintor::setDatabaseFolder(databaseFolder);
    if (Tintor::DB::discoverCollections() != 1) {
        std::fprintf(stderr, "view-gallery: no collections in %s\n", qPrintable(databaseFolder));
        return 1;
    }

    const QString output = parser.value(outputOption);
    int saved = 0;
    for (const QUuid &collection : Tintor::DB::collectionUuidsByOrder()) {
        Tintor::UserState::setLastUsedCollection(collection);
        Tintor::CollectionSettings::loadNameOrders(collection);
        Tintor::CollectionSettings::setCurrentCollection(collection);
        chooseStartingPosition(collection);

        const Tintor::DB::CollectionLocation location = Tintor::DB::collectionRegistry().value(collection);
        const QString folder = output + QLatin1Char('/') + location.systemId.toLower();
        QDir().mkpath(folder);

        Gallery::GalleryStage stage(collection);
        stage.show();
        QApplication::processEvents();
        // Views paint over the main widget's background, so each picture is
        // the view's part of the whole stage rather than the view alone.
        auto save = [&](const QRect &area, const QString &name) {
            const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
            QString error;
            if (Tintor::AtomicFileWriter::writeImage(path, stage.grab(area).toImage(), "png", error)) {
                std::printf("%s\n", qPrintable(path));
                ++saved;
            } else {
                std::fprintf(stderr, "view-gallery: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
            }
        };
        save(stage.rect(), QStringLiteral("stage"));
        for (const auto &[name, view] : stage.views()) {
            if (view->isVisibleTo(&stage) && !view->size().isEmpty())
                save(view->geometry(), name);
        }

        // The real main widget, with My Palette in use and its full view.
        fillPalette(collection);
        Tintor::MainWidget *slot = nullptr;
        auto *mainWidget = new Tintor::MainWidget(&slot);
        mainWidget->show();
        QApplication::processEvents();
        auto saveWidget = [&](QWidget *widget, const QString &name) {
            const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
            QString error;
            if (Tintor::AtomicFileWriter::writeImage(path, widget->grab().toImage(), "png", error)) {
                std::printf("%s\n", qPrintable(path));
                ++saved;
            } else {
                std::fprintf(stderr, "view-gallery: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
            }
        };
        saveWidget(mainWidget, QStringLiteral("main-widget"));
        saveWidget(mainWidget->myPalette(), QStringLiteral("my-palette"));
        mainWidget->fullPalette()->setGeometry(mainWidget->rect());
        mainWidget->fullPalette()->show();
        mainWidget->fullPalette()->raise();
        QApplication::processEvents();
        saveWidget(mainWidget->fullPalette(), QStringLiteral("my-palette-full"));
        delete mainWidget;
    }
    return saved > 0 ? 0 : 1;
}
