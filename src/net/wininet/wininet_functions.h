#pragma once

// The WinINet functions the transport calls, bound by name from
// wininet.dll in the system directory when each is first called, and kept.
// A missing library or function ends the program with a report naming it.

#include <windows.h>
#include <wininet.h>

namespace quorvel::wininet {

#define QUORVEL_WININET_FUNCTIONS(X) \
    X(InternetOpenA)                 \
    X(InternetConnectA)              \
    X(HttpOpenRequestA)              \
    X(HttpSendRequestA)              \
    X(InternetReadFile)              \
    X(HttpQueryInfoA)                \
    X(InternetCloseHandle)

using AnyFunction = void (*)();

// The address of the named function of wininet.dll, looked up now; the
// program ends with a report naming the library or the function when either
// cannot be found.
AnyFunction WinInetFunction(const char* name);

// DynInternetOpenA() and so on: the bound address, with the exact signature
// of the declaration in <wininet.h>.
#define QUORVEL_DECLARE_BINDING(name) decltype(&::name) Dyn##name();
QUORVEL_WININET_FUNCTIONS(QUORVEL_DECLARE_BINDING)
#undef QUORVEL_DECLARE_BINDING

}  // namespace quorvel::wininet
