// Reads the host's blocks as the real module does and appends what it saw as JSON to $HOST_TEST_MODULE_REPORT.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

using AcquireSuite = std::int32_t (*)(const char *, std::int32_t, const void **);
using ReleaseSuite = std::int32_t (*)(const char *, std::int32_t);
using FileSpecification = std::int32_t (*)(void *, void *);
using GetProperty = std::int16_t (*)(std::uint32_t, std::uint32_t, std::int32_t, std::intptr_t *, void **);

void queryPluginFile(const void *basicSuite, void *pluginRef, QJsonObject &report)
{
    if (!basicSuite)
        return;
    const void *pluginsSuite = nullptr;
    report.insert("acquire", fieldAt<AcquireSuite>(basicSuite, 0)("SP Plug-ins Suite", 5, &pluginsSuite));
    char buffer[300] = {};
    if (pluginsSuite)
        report.insert("fileSpec", fieldAt<FileSpecification>(pluginsSuite, 8 * 8)(pluginRef, buffer));
    report.insert("release", fieldAt<ReleaseSuite>(basicSuite, 8)("SP Plug-ins Suite", 5));
    buffer[sizeof buffer - 1] = '\0';
    report.insert("pluginPath", QString::fromLocal8Bit(buffer));
}

} // namespace

extern "C" __attribute__((visibility("default"))) void PluginMain(std::int16_t selector, void *block,
                                                                  std::intptr_t *data, std::int16_t *result)
{
    if (result)
        *result = 0;
    QJsonObject report{{"selector", selector}, {"dataWord", data ? qint64(*data) : -1}};
    if (data)
        ++*data; // the host keeps the word between requests
    if (block) {
        const bool about = selector == 0;
        const void *platformData = fieldAt<const void *>(block, about ? 0 : 168);
        report.insert("hostWindow", platformData ? qint64(fieldAt<std::intptr_t>(platformData, 0)) : -1);
        queryPluginFile(fieldAt<const void *>(block, about ? 8 : 208), fieldAt<void *>(block, about ? 16 : 216),
                        report);
    }
    if (block && selector == 1) {
        if (const void *procs = fieldAt<const void *>(block, 96)) {
            std::intptr_t word = 0;
            const std::uint32_t signature = ('8' << 24) | ('B' << 16) | ('I' << 8) | 'M';
            const std::uint32_t key = ('v' << 24) | ('e' << 16) | ('r' << 8) | 's';
            report.insert("versStatus", fieldAt<GetProperty>(procs, 8)(signature, key, 0, &word, nullptr));
            report.insert("versWord", qint64(word));
        }
        report.insert("sourceSpace", fieldAt<std::int16_t>(block, 184));
        report.insert("resultSpace", fieldAt<std::int16_t>(block, 186));
        QJsonArray components;
        for (std::size_t i = 0; i < 4; ++i)
            components.append(fieldAt<std::uint16_t>(block, 188 + 2 * i));
        report.insert("components", components);
        const char *prompt = fieldAt<const char *>(block, 200);
        report.insert("prompt", prompt ? QJsonValue(QString::fromLocal8Bit(prompt)) : QJsonValue());
    }
    QFile file(qEnvironmentVariable("HOST_TEST_MODULE_REPORT"));
    if (file.open(QIODevice::Append))
        file.write(QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n');
}
#endif
