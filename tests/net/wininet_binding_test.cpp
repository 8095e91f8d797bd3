// wininet.dll bound by name: every function the transport calls is found,
// and a name that is not there ends the program with a report naming it.

#include <gtest/gtest.h>

#include "net/wininet/wininet_functions.h"
#include "text/fatal.h"

namespace quorvel::wininet {
namespace {

TEST(WinInetBinding, TheSevenFunctionsAreFound) {
    for (const char* name : {"InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "HttpSendRequestA",
                             "InternetReadFile", "HttpQueryInfoA", "InternetCloseHandle"}) {
        EXPECT_NE(WinInetFunction(name), nullptr) << name;
    }
    EXPECT_EQ(reinterpret_cast<AnyFunction>(DynInternetReadFile()), WinInetFunction("InternetReadFile"))
        << "the bound address is the one the library exports";
}

using WinInetBindingDeathTest = ::testing::Test;

TEST(WinInetBindingDeathTest, AMissingFunctionIsFatalAndNamed) {
    EXPECT_EXIT(WinInetFunction("InternetOpenQuorvelA"), ::testing::ExitedWithCode(kFatalExitCode),
                "wininet.dll has no function InternetOpenQuorvelA");
}

}  // namespace
}  // namespace quorvel::wininet
