#include "support/ProgramRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void limitFileSize(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

QString ProgramRun::builtProgram(const QString &relative)
{
    return qEnvironmentVariable("HUELINK_BUILD_DIR", QStringLiteral(HUELINK_BUILD_DIR)) + QLatin1Char('/') + relative;
}

ProgramRun ProgramRun::run(const QString &program, const QStringList &arguments, int timeoutMs, const QString &root,
    const QMap<QString, QString> &environment, qint64 fileSizeLimit)
{
    QProcessEnvironment childEnvironment = QProcessEnvironment::systemEnvironment();
    if (!root.isEmpty()) {
        const std::pair<const char *, const char *> folders[]
            = { { "XDG_CONFIG_HOME", "config" }, { "XDG_DATA_HOME", "data" }, { "XDG_CACHE_HOME", "cache" },
                  { "XDG_RUNTIME_DIR", "runtime" }, { "HOME", "home" } };
        for (const auto &[variable, name] : folders) {
            const QString path = root + QLatin1Char('/') + QLatin1String(name);
            QDir().mkpath(path);
            childEnvironment.insert(QLatin1String(variable), path);
        }
        QFile::setPermissions(
            root + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    childEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        childEnvironment.insert(it.key(), it.value());

    ProgramRun result;
    QProcess process;
    process.setProcessEnvironment(childEnvironment);
    if (fileSizeLimit > 0)
        process.setChildProcessModifier([fileSizeLimit] { limitFileSize(fileSizeLimit); });
    if (!root.isEmpty())
        process.setWorkingDirectory(root);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return result;
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.elapsedMs = clock.elapsed();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

int ProgramRun::forkedUnderFileSizeLimit(qint64 fileSizeLimit, const std::function<int()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        limitFileSize(fileSizeLimit);
        _exit(work());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
