#pragma once

#include <array>
#include <cstdint>
#include <string>

// One pick through the installed module, loaded with the host kit as any
// host loads it: the host colour and the prompt in, the picked colour out.
// The module brings up its own application object and ends it before the
// pick returns.
namespace ModulePick {

struct Result {
    enum class Kind { Picked, Cancelled, Failed };
    Kind kind = Kind::Failed;
    std::array<std::uint16_t, 3> rgb16 {}; // 16 bits per channel, as the module answers
    std::string error; // one line, for Failed
};

// $HUELINK_MODULE when set, otherwise the installed module.
std::string modulePath();

// The colour comes in with 8 bits per channel.
Result pick(const std::array<std::uint8_t, 3> &hostRgb, const std::string &prompt);

// Test hook: with $HUELINK_GIMP_TEST_CHOOSE set to a chip code, the host
// kit's automation picks that chip of the current collection as a user would,
// so a test can drive the window without a user.
constexpr const char *testChooseVariable = "HUELINK_GIMP_TEST_CHOOSE";

} // namespace ModulePick
