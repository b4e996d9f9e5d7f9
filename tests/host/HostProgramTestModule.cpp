// A stand-in colour-picker module for the host program's tests. It reads the
// host's blocks at their byte offsets and calls the host operations as the
// real module does, appends what it saw as one JSON line to the file named by
// HOST_TEST_MODULE_REPORT, and on request shows a dialog (for the automation
// options) or returns a colour.
//
// Switches (environment):
//   HOST_TEST_MODULE_WINDOW=1   show a dialog and wait until it closes
//   HOST_TEST_MODULE_ANSWER=r,g,b  return this 8-bit colour as RGB

#include <QApplication>
#include <QByteArray>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QVBoxLayout>

#include <cstdint>
#include <cstring>

#ifdef HOST_TEST_MODULE_WITHOUT_ENTRY

// Loads fine but offers no PluginMain.
extern "C" __attribute__((visibility("default"))) int hostTestModuleVersion()
{
    return 1;
}

#else

namespace {

template <typename T>
T fieldAt(const void *block, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char *>(block) + offset, sizeof value);
    return value;
}

template <typename T>
void putField(void *block, std::size_t offset, T value)
{
    std::memcpy(static_cast<char *>(block) + offset, &value, sizeof value);
}

using AcquireSuite = std::int32_t (*)(const char *, std::int32_t, const void **);
using ReleaseSuite = std::int32_t (*)(const char *, std::int32_t);
using FileSpecification = std::int32_t (*)(void *, void *);
using GetProperty = std::int16_t (*)(std::uint32_t, std::uint32_t, std::int32_t, std::intptr_t *, void **);

// Asks the host for the module's file as the real module does.
void queryPluginFile(const void *basicSuite, void *pluginRef, QJsonObject &report)
{
    report.insert(QStringLiteral("basicSuite"), basicSuite != nullptr);
    if (!basicSuite)
        return;
    const auto acquire = fieldAt<AcquireSuite>(basicSuite, 0);
    const auto release = fieldAt<ReleaseSuite>(basicSuite, 8);
    const void *pluginsSuite = nullptr;
    report.insert(QStringLiteral("acquire"), acquire("SP Plug-ins Suite", 5, &pluginsSuite));
    char buffer[300];
    std::memset(buffer, 0, sizeof buffer);
    if (pluginsSuite)
        report.insert(QStringLiteral("fileSpec"), fieldAt<FileSpecification>(pluginsSuite, 8 * 8)(pluginRef, buffer));
    report.insert(QStringLiteral("release"), release("SP Plug-ins Suite", 5));
    buffer[sizeof buffer - 1] = '\0';
    report.insert(QStringLiteral("pluginPath"), QString::fromLocal8Bit(buffer));
}

class TestDialog : public QDialog
{
public:
    TestDialog()
    {
        setWindowTitle(QStringLiteral("Host test window"));
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Host test window"), this));
        setFixedSize(240, 160);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(40, 120, 200));
        setPalette(colours);
    }

    int closeEvents = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closeEvents;
        QDialog::closeEvent(event);
    }
};

void showWindow(QJsonObject &report)
{
    int argc = 0;
    QApplication application(argc, nullptr);
    TestDialog dialog;
    const int result = dialog.exec();
    report.insert(QStringLiteral("dialogResult"), result);
    report.insert(QStringLiteral("closeEvents"), dialog.closeEvents);
}

void appendReport(const QJsonObject &report)
{
    const QString path = qEnvironmentVariable("HOST_TEST_MODULE_REPORT");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n');
}

} // namespace

extern "C" __attribute__((visibility("default"))) void PluginMain(std::int16_t selector, void *block,
                                                                  std::intptr_t *data, std::int16_t *result)
{
    if (result)
        *result = 0;
    QJsonObject report;
    report.insert(QStringLiteral("selector"), selector);
    report.insert(QStringLiteral("dataWord"), data ? qint64(*data) : -1);
    if (data)
        ++*data; // the host keeps the word between requests
    if (!block) {
        appendReport(report);
        return;
    }

    const bool about = selector == 0;
    const void *platformData = fieldAt<const void *>(block, about ? 0 : 168);
    report.insert(QStringLiteral("hostWindow"), platformData ? qint64(fieldAt<std::intptr_t>(platformData, 0)) : -1);
    queryPluginFile(fieldAt<const void *>(block, about ? 8 : 208), fieldAt<void *>(block, about ? 16 : 216),
                    report);

    if (selector == 1) {
        if (const void *procs = fieldAt<const void *>(block, 96)) {
            std::intptr_t word = 0;
            const auto getProperty = fieldAt<GetProperty>(procs, 8);
            const std::uint32_t signature = ('8' << 24) | ('B' << 16) | ('I' << 8) | 'M';
            const std::uint32_t key = ('v' << 24) | ('e' << 16) | ('r' << 8) | 's';
            report.insert(QStringLiteral("versStatus"), getProperty(signature, key, 0, &word, nullptr));
            report.insert(QStringLiteral("versWord"), qint64(word));
        }
        report.insert(QStringLiteral("sourceSpace"), fieldAt<std::int16_t>(block, 184));
        report.insert(QStringLiteral("resultSpace"), fieldAt<std::int16_t>(block, 186));
        QJsonArray components;
        for (std::size_t i = 0; i < 4; ++i)
            components.append(fieldAt<std::uint16_t>(block, 188 + 2 * i));
        report.insert(QStringLiteral("components"), components);
        const char *prompt = fieldAt<const char *>(block, 200);
        report.insert(QStringLiteral("prompt"), prompt ? QJsonValue(QString::fromLocal8Bit(prompt)) : QJsonValue());
    }

    if (qEnvironmentVariableIntValue("HOST_TEST_MODULE_WINDOW") == 1)
        showWindow(report);

    const QList<QByteArray> answer = qgetenv("HOST_TEST_MODULE_ANSWER").split(',');
    if (selector == 1 && answer.size() == 3) {
        putField<std::int16_t>(block, 186, 0);
        for (std::size_t i = 0; i < 3; ++i)
            putField<std::uint16_t>(block, 188 + 2 * i, std::uint16_t(answer[int(i)].toInt() * 257));
        putField<std::uint16_t>(block, 194, 0);
    }
    appendReport(report);
}
#endif
