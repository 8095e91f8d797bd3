#pragma once

// The few failures that end the program: memory running out while a value
// is built, a list element read outside its range, a missing system
// function. They are reported on stderr (and through the reporter the
// front-end installs, a message box on Windows) and the process ends.

namespace quorvel {

inline constexpr int kFatalExitCode = 3;

using FatalReporter = void (*)(const char* message);

// Installs an extra place to show the report; called once at startup.
void SetFatalReporter(FatalReporter reporter);

[[noreturn]] void FatalError(const char* message);

}  // namespace quorvel
