// Quorvel for Windows: one window, its event loop, exit code 0.

#include <windows.h>
#include <commctrl.h>

#include "app/actions.h"
#include "app/win32/browser.h"
#include "app/win32/encoding.h"
#include "app/win32/main_window.h"
#include "net/internet.h"
#include "text/fatal.h"

namespace {

void ShowFatalError(const char* message) {
    MessageBoxW(nullptr, quorvel::win32::WideFromUtf8(message).c_str(), L"Quorvel", MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    quorvel::SetFatalReporter(&ShowFatalError);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    quorvel::win32::MainWindow window(instance, quorvel::SystemInternet(),
                                      quorvel::RequestPrefix(QUORVEL_SERVICE_HOST),
                                      quorvel::win32::WideFromUtf8(QUORVEL_PUBLISHER_URL),
                                      &quorvel::win32::OpenInBrowser);
    if (!window.Create(showCommand)) {
        ShowFatalError("the main window could not be created");
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
