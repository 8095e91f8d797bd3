#include "net/wininet/wininet_functions.h"

#include <string>

#include "text/fatal.h"

namespace quorvel::wininet {
namespace {

// Loaded by full path from the system directory, never from the program's
// folder or the search path, so no look-alike DLL can be picked up.
HMODULE Library() {
    static const HMODULE library = [] {
        wchar_t directory[MAX_PATH];
        const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
        HMODULE loaded = nullptr;
        if (length > 0 && length < MAX_PATH) {
            loaded = LoadLibraryW((std::wstring(directory, length) + L"\\wininet.dll").c_str());
        }
        if (loaded == nullptr) {
            FatalError("wininet.dll could not be loaded from the system directory");
        }
        return loaded;
    }();
    return library;
}

// The address of `name`, as a function pointer of type Function.
template <class Function>
Function Bind(const char* name) {
    return reinterpret_cast<Function>(WinInetFunction(name));
}

}  // namespace

AnyFunction WinInetFunction(const char* name) {
    const FARPROC address = GetProcAddress(Library(), name);
    if (address == nullptr) {
        const std::string message = std::string("wininet.dll has no function ") + name;
        FatalError(message.c_str());
    }
    // Through void(*)(), the one cast between function pointer types that
    // says "the real type is known elsewhere".
    return reinterpret_cast<AnyFunction>(address);
}

#define QUORVEL_DEFINE_BINDING(name)                                               \
    decltype(&::name) Dyn##name() {                                                \
        static const auto function = Bind<decltype(&::name)>(#name);               \
        return function;                                                           \
    }
QUORVEL_WININET_FUNCTIONS(QUORVEL_DEFINE_BINDING)
#undef QUORVEL_DEFINE_BINDING

}  // namespace quorvel::wininet
