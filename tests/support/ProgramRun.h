#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// Runs a built program as a separate process and collects what it printed.
struct ProgramRun {
    bool finished = false;
    int exitCode = -1; // -1 when it crashed or was killed
    qint64 elapsedMs = 0;
    QByteArray out;
    QByteArray err;

    QList<QByteArray> outLines() const { return out.split('\n').mid(0, out.count('\n')); }
    QList<QByteArray> errLines() const { return err.split('\n').mid(0, err.count('\n')); }

    // `relative` below the build folder ($HUELINK_BUILD_DIR wins when set).
    static QString builtProgram(const QString &relative);

    // With `root` set, every per-user folder of the child (XDG_*, HOME) is a folder below it, created, and the child
    // starts in `root`; the offscreen platform is always selected. `environment` is added last. A `fileSizeLimit`
    // above 0 caps every file the child writes (RLIMIT_FSIZE, with SIGXFSZ ignored so a write fails instead).
    static ProgramRun run(const QString &program, const QStringList &arguments, int timeoutMs,
        const QString &root = QString(), const QMap<QString, QString> &environment = {}, qint64 fileSizeLimit = 0);

    // Runs `work` in a forked child under that file-size limit; its result is the exit code (-1 when it crashed).
    static int forkedUnderFileSizeLimit(qint64 fileSizeLimit, const std::function<int()> &work);
};
