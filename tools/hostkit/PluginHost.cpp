#include "PluginHost.h"

#include <dlfcn.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The host's blocks, by byte offset (64-bit layout).
constexpr std::size_t kAboutRecordSize = 64;
constexpr std::size_t kAboutPlatformData = 0;
constexpr std::size_t kAboutBasicSuite = 8;
constexpr std::size_t kAboutPluginRef = 16;

constexpr std::size_t kPickBlockSize = 256;
constexpr std::size_t kPickPropertyProcs = 96;
constexpr std::size_t kPickPlatformData = 168;
constexpr std::size_t kPickSourceSpace = 184;
constexpr std::size_t kPickResultSpace = 186;
constexpr std::size_t kPickComponents = 188;
constexpr std::size_t kPickColorFieldsEnd = kPickComponents + 4 * sizeof(std::uint16_t);
constexpr std::size_t kPickPrompt = 200;
constexpr std::size_t kPickBasicSuite = 208;
constexpr std::size_t kPickPluginRef = 216;

// Function tables: one pointer-sized slot per operation.
constexpr std::size_t kSlot = sizeof(void *);
constexpr std::size_t kBasicSuiteSlots = 8;    // acquire, release, then operations the module never uses
constexpr std::size_t kPluginsSuiteSlots = 16; // the ninth is the plug-in file query
constexpr std::size_t kPluginFileSpecSlot = 8;
constexpr std::size_t kPropertyProcsSize = 24; // header word, get-property, set-property
constexpr std::size_t kGetPropertyOffset = 8;
constexpr std::size_t kSetPropertyOffset = 16;

constexpr std::size_t kFileSpecSize = 300;

const char kPluginsSuiteName[] = "SP Plug-ins Suite";
constexpr std::int32_t kPluginsSuiteVersion = 5;

constexpr std::int32_t kNoError = 0;
constexpr std::int32_t kHostError = -1;
// Pre-set in the status word so a module that never writes it shows up.
constexpr std::int16_t kUnsetStatus = -1;

constexpr std::uint32_t fourCharCode(const char (&code)[5])
{
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16)
         | (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

template <typename T>
void putField(unsigned char *buffer, std::size_t offset, T value)
{
    std::memcpy(buffer + offset, &value, sizeof value);
}

template <typename T>
T fieldAt(const unsigned char *buffer, std::size_t offset)
{
    T value;
    std::memcpy(&value, buffer + offset, sizeof value);
    return value;
}

// What the host operations answer during one request. The operations are
// plain C callbacks without a context argument, hence one per process.
struct RequestContext
{
    std::string modulePath;
    const void *pluginRef = nullptr;
    const void *pluginsSuite = nullptr;
    int hostMajorVersion = 0;
    int acquired = 0;
    int released = 0;
    std::string warnings;

    void warn(const std::string &line)
    {
        if (warnings.find(line) == std::string::npos)
            warnings += line + '\n';
    }
};

RequestContext *currentRequest = nullptr;

// The plug-in reference the host hands out: any address the host recognises.
const char pluginRecord = 0;

std::int32_t acquireSuite(const char *name, std::int32_t version, const void **suite)
{
    if (!currentRequest)
        return kHostError;
    if (suite)
        *suite = nullptr;
    if (!name || !suite || std::strcmp(name, kPluginsSuiteName) != 0 || version != kPluginsSuiteVersion) {
        currentRequest->warn(std::string("the module asked for suite '") + (name ? name : "(null)") + "' version "
                             + std::to_string(version) + ", which this host does not offer");
        return kHostError;
    }
    *suite = currentRequest->pluginsSuite;
    ++currentRequest->acquired;
    return kNoError;
}

std::int32_t releaseSuite(const char *name, std::int32_t version)
{
    if (!currentRequest)
        return kHostError;
    if (!name || std::strcmp(name, kPluginsSuiteName) != 0 || version != kPluginsSuiteVersion) {
        currentRequest->warn(std::string("the module released suite '") + (name ? name : "(null)") + "' version "
                             + std::to_string(version) + ", which it never acquired");
        return kHostError;
    }
    ++currentRequest->released;
    return kNoError;
}

// Writes the module's path as NUL-terminated text into the module's
// 300-byte path buffer.
std::int32_t pluginFileSpecification(const void *pluginRef, void *fileSpec)
{
    if (!currentRequest || !fileSpec)
        return kHostError;
    if (pluginRef != currentRequest->pluginRef) {
        currentRequest->warn("the module asked for the file of a plug-in reference this host never gave out");
        return kHostError;
    }
    const std::string &path = currentRequest->modulePath;
    if (path.size() >= kFileSpecSize) {
        // A cut path would name another file; leave the buffer as it is.
        currentRequest->warn("the module's path is longer than the 300-byte path buffer");
        return kHostError;
    }
    std::memcpy(fileSpec, path.c_str(), path.size() + 1);
    return kNoError;
}

std::int16_t getProperty(std::uint32_t signature, std::uint32_t key, std::int32_t index,
                         std::intptr_t *simpleProperty, void **complexProperty)
{
    (void)index;
    (void)complexProperty;
    if (!currentRequest)
        return std::int16_t(kHostError);
    if (signature != fourCharCode("8BIM") || key != fourCharCode("vers") || !simpleProperty) {
        currentRequest->warn("the module asked for a host property other than 'vers'");
        return std::int16_t(kHostError);
    }
    // Major version in bits 16 and up, minor and fix version 0.
    *simpleProperty = static_cast<std::intptr_t>(currentRequest->hostMajorVersion) << 16;
    return std::int16_t(kNoError);
}

// Fills the slots the module has no business calling; a call is reported
// instead of jumping to a null pointer.
template <int Table, int Slot>
std::int32_t unofferedOperation()
{
    if (currentRequest) {
        static const char *const tableNames[] = {"basic suite", "plug-ins suite", "property procedures"};
        currentRequest->warn(std::string("the module called ") + tableNames[Table] + " function "
                             + std::to_string(Slot + 1) + ", which this host does not offer");
    }
    return kHostError;
}

template <typename Function>
void putFunction(unsigned char *table, std::size_t offset, Function function)
{
    static_assert(sizeof function == kSlot, "function pointers must fill one slot");
    std::memcpy(table + offset, &function, sizeof function);
}

template <int Table, int... Slots>
void fillUnoffered(unsigned char *table, std::integer_sequence<int, Slots...>)
{
    (putFunction(table, std::size_t(Slots) * kSlot, &unofferedOperation<Table, Slots>), ...);
}

// The host-side tables of one request; they live on the caller's stack for
// the duration of PluginMain.
struct HostTables
{
    alignas(8) unsigned char basicSuite[kBasicSuiteSlots * kSlot] = {};
    alignas(8) unsigned char pluginsSuite[kPluginsSuiteSlots * kSlot] = {};
    alignas(8) unsigned char propertyProcs[kPropertyProcsSize] = {};
    // First field: the host's main window handle; this host has none.
    alignas(8) unsigned char platformData[16] = {};

    HostTables()
    {
        fillUnoffered<0>(basicSuite, std::make_integer_sequence<int, int(kBasicSuiteSlots)>());
        putFunction(basicSuite, 0 * kSlot, &acquireSuite);
        putFunction(basicSuite, 1 * kSlot, &releaseSuite);
        fillUnoffered<1>(pluginsSuite, std::make_integer_sequence<int, int(kPluginsSuiteSlots)>());
        putFunction(pluginsSuite, kPluginFileSpecSlot * kSlot, &pluginFileSpecification);
        putFunction(propertyProcs, kGetPropertyOffset, &getProperty);
        putFunction(propertyProcs, kSetPropertyOffset, &unofferedOperation<2, 2>);
        putField<std::uintptr_t>(platformData, 0, 0);
    }
};

RequestContext contextFor(const std::string &modulePath, const HostTables &tables, int hostMajorVersion)
{
    RequestContext context;
    context.modulePath = modulePath;
    context.pluginRef = &pluginRecord;
    context.pluginsSuite = tables.pluginsSuite;
    context.hostMajorVersion = hostMajorVersion;
    return context;
}

// What the module said during one request, and any plug-ins suite it kept.
std::string warningsOf(const RequestContext &context)
{
    std::string warnings = context.warnings;
    if (context.acquired != context.released)
        warnings += "the module acquired the plug-ins suite " + std::to_string(context.acquired)
                  + " times but released it " + std::to_string(context.released) + " times\n";
    return warnings;
}

} // namespace

PluginHost::~PluginHost()
{
    if (m_handle)
        dlclose(m_handle);
}

bool PluginHost::load(const std::string &path, std::string &error)
{
    // The path is resolved first: the loader would search its library
    // folders for a bare name instead of taking the file meant.
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) {
        error = "cannot load module '" + path + "': " + std::strerror(errno);
        return false;
    }
    void *handle = dlopen(resolved, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *reason = dlerror();
        error = "cannot load module '" + path + "': " + (reason ? reason : "unknown loader error");
        return false;
    }
    void *symbol = dlsym(handle, "PluginMain");
    if (!symbol) {
        dlclose(handle);
        error = "module '" + path + "' has no PluginMain";
        return false;
    }
    m_handle = handle;
    m_modulePath = resolved;
    // The loader hands out a data pointer; POSIX guarantees it converts to a
    // function pointer.
    std::memcpy(&m_entry, &symbol, sizeof m_entry);
    return true;
}

PluginHost::Outcome PluginHost::about()
{
    HostTables tables;
    alignas(8) unsigned char record[kAboutRecordSize] = {};
    putField<const void *>(record, kAboutPlatformData, tables.platformData);
    putField<const void *>(record, kAboutBasicSuite, tables.basicSuite);
    putField<const void *>(record, kAboutPluginRef, &pluginRecord);

    RequestContext context = contextFor(m_modulePath, tables, 0);
    currentRequest = &context;
    const Outcome outcome = call(0, record, sizeof record);
    currentRequest = nullptr;
    m_warnings += warningsOf(context);
    return outcome;
}

PluginHost::Outcome PluginHost::pick(const PickRequest &request)
{
    HostTables tables;
    alignas(8) unsigned char block[kPickBlockSize] = {};
    // The module may only read the prompt; a private copy keeps the caller's
    // text safe all the same.
    std::vector<char> prompt;
    if (request.prompt)
        prompt.assign(request.prompt->c_str(), request.prompt->c_str() + request.prompt->size() + 1);

    putField<const void *>(block, kPickPropertyProcs, tables.propertyProcs);
    putField<const void *>(block, kPickPlatformData, tables.platformData);
    putField<std::int16_t>(block, kPickSourceSpace, request.colorSpace);
    // Unchanged, the components stay in the space they came in.
    putField<std::int16_t>(block, kPickResultSpace, request.colorSpace);
    for (std::size_t i = 0; i < 4; ++i)
        putField<std::uint16_t>(block, kPickComponents + i * 2, request.components[i]);
    putField<const char *>(block, kPickPrompt, request.prompt ? prompt.data() : nullptr);
    putField<const void *>(block, kPickBasicSuite, tables.basicSuite);
    putField<const void *>(block, kPickPluginRef, &pluginRecord);

    RequestContext context = contextFor(m_modulePath, tables, request.hostMajorVersion);
    currentRequest = &context;
    const Outcome outcome = call(1, block, sizeof block);
    currentRequest = nullptr;
    m_warnings += warningsOf(context);
    return outcome;
}

PluginHost::Outcome PluginHost::call(std::int16_t selector, unsigned char *block, std::size_t blockSize)
{
    m_warnings.clear();
    const std::vector<unsigned char> before(block, block + blockSize);
    std::int16_t status = kUnsetStatus;
    m_entry(selector, block, &m_pluginData, &status);

    Outcome outcome;
    outcome.selector = selector;
    outcome.status = status;
    const bool pick = selector == 1;
    const std::size_t colorBegin = pick ? kPickResultSpace : blockSize;
    const std::size_t colorEnd = pick ? kPickColorFieldsEnd : blockSize;
    bool wroteOutside = false;
    for (std::size_t offset = 0; offset < blockSize; ++offset) {
        if (block[offset] == before[offset])
            continue;
        if (offset >= colorBegin && offset < colorEnd) {
            outcome.changed = true;
        } else if (!wroteOutside) {
            wroteOutside = true;
            m_warnings += "the module wrote outside the colour fields of the block (offset " + std::to_string(offset)
                        + ")\n";
        }
    }
    if (pick) {
        outcome.resultSpace = fieldAt<std::int16_t>(block, kPickResultSpace);
        for (std::size_t i = 0; i < 4; ++i)
            outcome.components[i] = fieldAt<std::uint16_t>(block, kPickComponents + i * 2);
    }
    return outcome;
}
