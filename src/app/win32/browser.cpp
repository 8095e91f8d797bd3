#include "app/win32/browser.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

namespace quorvel::win32 {
namespace {

std::wstring RegisteredHtmCommand() {
    DWORD length = 0;
    if (AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".htm", L"open", nullptr, &length) != S_FALSE ||
        length == 0) {
        return std::wstring();
    }
    std::wstring command(length, L'\0');
    if (FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".htm", L"open", command.data(), &length))) {
        return std::wstring();
    }
    command.resize(length > 0 ? length - 1 : 0);  // less the zero the length counts
    return command;
}

bool StartCommandLine(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

std::wstring FallbackCommandLine(const std::wstring& registeredCommand, const std::wstring& address) {
    if (registeredCommand.empty()) {
        return std::wstring();
    }
    std::wstring command = registeredCommand;
    const std::size_t placeholder = command.find(L"%1");
    if (placeholder != std::wstring::npos) {
        std::size_t cut = placeholder;
        if (cut > 0 && command[cut - 1] == L'"') {
            --cut;  // "%1" in quotes: the opening quote goes too
        }
        command.erase(cut);
    }
    while (!command.empty() && command.back() == L' ') {
        command.pop_back();
    }
    return command + L" " + address;
}

bool OpenInBrowser(const std::wstring& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) {
        return true;
    }
    const std::wstring commandLine = FallbackCommandLine(RegisteredHtmCommand(), address);
    return !commandLine.empty() && StartCommandLine(commandLine);
}

}  // namespace quorvel::win32
