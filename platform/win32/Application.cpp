#include "platform/win32/Application.h"

namespace spindrel::win32 {

TApplication::TApplication()
{
    FMainThread.SetMessageHandler([this](MSG& Message) { HandleMessage(Message); });
}

void TApplication::HandleMessage(MSG& Message)
{
    bool handled = false;
    if (OnMessage)
        OnMessage(Message, handled);
    if (!handled) {
        TranslateMessage(&Message);
        DispatchMessageA(&Message);
    }
}

void TApplication::Run()
{
    if (!FMainWindow)
        return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        HandleMessage(message);
}

void TApplication::MainWindowDestroyed()
{
    FMainWindow = nullptr;
    Terminate();
}

}  // namespace spindrel::win32
