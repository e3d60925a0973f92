// The application object: the message loop of the main thread, the hook that sees
// every message taken from the queue before it is dispatched, and the main form,
// whose end ends the loop.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/Win32MainThread.h"

namespace spindrel::win32 {

class TApplication {
public:
    // Sees a message before dispatch; setting Handled keeps it from being dispatched.
    using TMessageEvent = std::function<void(MSG& Message, bool& Handled)>;

    TApplication();  // on the main thread
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Runs until the main window has gone (or Terminate); returns at once without one.
    void Run();
    // Handles every pending message through the hook, then returns.
    void ProcessMessages() { FMainThread.ProcessMessages(); }
    void Terminate() { PostQuitMessage(0); }

    // The window whose destruction ends Run; the forms set it.
    HWND MainWindow() const { return FMainWindow; }
    void SetMainWindow(HWND Window) { FMainWindow = Window; }
    void MainWindowDestroyed();

    // The main thread as the workers see it (synchronise).
    TWin32MainThread& MainThread() { return FMainThread; }

    TMessageEvent OnMessage;

private:
    void HandleMessage(MSG& Message);

    TWin32MainThread FMainThread;
    HWND FMainWindow = nullptr;
};

}  // namespace spindrel::win32
