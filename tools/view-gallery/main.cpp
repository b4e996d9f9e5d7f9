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
#include "host/engine/ModuleValues.h"
#include "state/UserState.h"

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
            if (stage.grab(area).save(path)) {
                std::printf("%s\n", qPrintable(path));
                ++saved;
            } else {
                std::fprintf(stderr, "view-gallery: cannot write %s\n", qPrintable(path));
            }
        };
        save(stage.rect(), QStringLiteral("stage"));
        for (const auto &[name, view] : stage.views()) {
            if (view->isVisibleTo(&stage) && !view->size().isEmpty())
                save(view->geometry(), name);
        }
    }
    return saved > 0 ? 0 : 1;
}
