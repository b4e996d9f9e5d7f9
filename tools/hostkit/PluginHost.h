#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Plays the host editor towards a colour-picker module: loads it with the
// platform's loader, lays out the about record or the picker parameter block
// byte by byte in the host's 64-bit layout, offers the host operations the
// module may call (basic suite, plug-ins suite, property procedure) and calls
// its PluginMain.
class PluginHost
{
public:
    struct PickRequest
    {
        std::int16_t colorSpace = 0;
        std::array<std::uint16_t, 4> components{};
        std::optional<std::string> prompt; // absent: null pointer
        int hostMajorVersion = 13;
    };

    struct Outcome
    {
        std::int16_t selector = 0;
        std::int16_t status = 0;
        bool changed = false; // result space or components differ from what was passed in
        std::int16_t resultSpace = 0;
        std::array<std::uint16_t, 4> components{};
    };

    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost &) = delete;
    PluginHost &operator=(const PluginHost &) = delete;

    // Loads the module; false with `error` set (one line) when it cannot be
    // loaded or has no PluginMain.
    bool load(const std::string &path, std::string &error);
    const std::string &modulePath() const { return m_modulePath; }

    Outcome about();
    Outcome pick(const PickRequest &request);

    // Problems seen during the last request (the module wrote outside the
    // colour fields, left a suite acquired, called an operation this host
    // does not offer); empty when none.
    const std::string &lastWarnings() const { return m_warnings; }

private:
    using EntryPoint = void (*)(std::int16_t selector, void *parameterBlock, std::intptr_t *data,
                                std::int16_t *result);

    Outcome call(std::int16_t selector, unsigned char *block, std::size_t blockSize);

    void *m_handle = nullptr;
    EntryPoint m_entry = nullptr;
    std::string m_modulePath;
    // The plug-in's private data word; the host keeps it between requests.
    std::intptr_t m_pluginData = 0;
    std::string m_warnings;
};
