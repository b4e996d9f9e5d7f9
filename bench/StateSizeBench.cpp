// How the time of a pick grows with the size of the user state and of the
// collection's locale texts: the engine start's reads and writes of the
// state, the main widget built for the first collection and one grab of
// it, over a copy of the demo collections.
//
//   StateSizeBench [DEMO_DATABASE_FOLDER]
//
// The folder defaults to the build's programdata/Vestrel/Huelink/SQLite.
// The user state is padded with keys of 100 bytes each up to 10 KB, 1 MB and
// 10 MB; the locale texts are padded to 1 KB, 100 KB and 1 MB each.

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/browse/MainWidget.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#ifndef HUELINK_BUILD_DIR
#define HUELINK_BUILD_DIR "."
#endif

namespace {

constexpr int kRuns = 3;

QString stateFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vestrel"),
                     Tintor::settingsApplicationName())
        .fileName();
}

// Writes the padding straight into the file, as another program would.
void padUserState(qint64 bytes)
{
    QFile file(stateFile());
    QDir().mkpath(QFileInfo(file).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write("[Padding]\n");
    const QByteArray value(84, 'x');
    for (qint64 written = 0, key = 0; written < bytes; ++key) {
        const QByteArray line = "k" + QByteArray::number(key) + "=" + value + "\n";
        file.write(line);
        written += line.size();
    }
}

void padLocaleTexts(const QString &databaseFolder, int bytes)
{
    QDirIterator files(databaseFolder + QStringLiteral("/Contents/Resources"), {QStringLiteral("*.db")});
    while (files.hasNext()) {
        const QString path = files.next();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pad"));
            db.setDatabaseName(path);
            if (db.open()) {
                QSqlQuery query(db);
                query.prepare(QStringLiteral("UPDATE LOCALE SET STRING = substr(STRING || ?, 1, ?)"));
                query.addBindValue(QString(bytes, QLatin1Char(' ')));
                query.addBindValue(bytes);
                query.exec();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pad"));
    }
}

// One pick as the module makes it, minus the host block: the engine start's
// state reads and writes, the window's main widget, one grab.
double pickMs(const QString &databaseFolder)
{
    QElapsedTimer timer;
    timer.start();
    Tintor::setDatabaseFolder(databaseFolder);
    Tintor::DB::discoverCollections();
    const QList<QUuid> collections = Tintor::DB::collectionUuidsByOrder();
    if (collections.isEmpty())
        return -1;
    if (Tintor::UserState::hostApplicationPid() != QCoreApplication::applicationPid()) {
        Tintor::UserState::setLastUsedCollection(collections.first());
        Tintor::UserState::setHostApplicationPid(QCoreApplication::applicationPid());
    }
    Tintor::CollectionSettings::loadNameOrders(Tintor::UserState::lastUsedCollection());
    Tintor::MainWidget *slot = nullptr;
    {
        Tintor::MainWidget widget(&slot);
        widget.resize(widget.sizeHint());
        widget.grab();
    }
    return timer.nsecsElapsed() / 1e6;
}

double medianPick(const QString &databaseFolder)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(pickMs(databaseFolder));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool copyFolder(const QString &from, const QString &to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString target = to + path.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(path, target))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path() + QStringLiteral("/config")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QApplication app(argc, argv);
    Tintor::setHostApplicationName(Tintor::moduleHostApplicationName());
    const QString demo = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(HUELINK_BUILD_DIR "/programdata/Vestrel/Huelink/SQLite");
    const QString copy = scratch.path() + QStringLiteral("/SQLite");
    if (!copyFolder(demo, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(demo));
        return 1;
    }
    std::printf("StateSizeBench: one pick (engine start, main widget, one grab), median of %d\n", kRuns);
    if (pickMs(copy) < 0) {
        std::fprintf(stderr, "no collection in %s\n", qPrintable(demo));
        return 1;
    }
    for (const qint64 bytes : {qint64(10) << 10, qint64(1) << 20, qint64(10) << 20}) {
        padUserState(bytes);
        std::printf("  user state %8lld KB: %9.1f ms\n", bytes >> 10, medianPick(copy));
    }
    padUserState(0);
    for (const int bytes : {1 << 10, 100 << 10, 1 << 20}) {
        // A fresh registry and connections, as a new host run would have.
        Tintor::DB::collectionRegistry().clear();
        for (const QString &name : QSqlDatabase::connectionNames())
            QSqlDatabase::removeDatabase(name);
        padLocaleTexts(copy, bytes);
        std::printf("  locale texts %6d KB each: %9.1f ms\n", bytes >> 10, medianPick(copy));
    }
    return 0;
}
