#pragma once

#include <string>

// What a host does before it loads the module so that the user sees only
// our own lines: a private runtime folder when the session has none (the
// toolkit warns without one), and a message handler that drops the platform
// plug-in's known harmless notes while every other message still shows.
namespace QuietStart {

// Sets XDG_RUNTIME_DIR to a new private folder when it is unset or empty;
// the folder is removed when the process exits. False with `error` set when
// no folder could be made (the toolkit then falls back with its warning).
bool ensureRuntimeFolder(std::string &error);

// Installs the filtering handler in front of the toolkit's current one.
void installMessageFilter();

} // namespace QuietStart
