#include "text/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace quorvel {
namespace {
FatalReporter gReporter = nullptr;
}

void SetFatalReporter(FatalReporter reporter) { gReporter = reporter; }

void FatalError(const char* message) {
    std::fprintf(stderr, "Quorvel: fatal error: %s\n", message);
    std::fflush(stderr);
    if (gReporter != nullptr) {
        gReporter(message);
    }
    // _Exit, not abort: no crash dialog on Windows, and nothing half-built
    // is flushed or destroyed on the way out.
    std::_Exit(kFatalExitCode);
}

}  // namespace quorvel
