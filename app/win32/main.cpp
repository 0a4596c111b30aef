#include <windows.h>

#include "main_window/win32/form1_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    velmora::win32::Form1 window;
    if (!window.create(instance, true))
        return 1;
    window.show(showCommand);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.preTranslateMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
