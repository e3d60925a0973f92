#include "platform/win32/WindowClass.h"

#include <stdexcept>
#include <string>

namespace spindrel::win32 {

void RegisterWindowClass(const char* ClassName, WNDPROC Procedure, HICON Icon)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = Icon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);  // fails harmlessly the second time
}

TScopedWindow CreateMessageWindow(const char* ClassName, WNDPROC Procedure, void* Owner, const char* What)
{
    RegisterWindowClass(ClassName, Procedure);
    TScopedWindow window(CreateWindowExA(0, ClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleA(nullptr), nullptr));
    if (!window)
        throw std::runtime_error(std::string("cannot create the window that ") + What);
    SetWindowLongPtrA(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Owner));
    return window;
}

}  // namespace spindrel::win32
