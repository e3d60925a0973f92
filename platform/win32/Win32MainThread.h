// The main thread of a Win32 program as the workers see it: calls they hand over
// are posted to a hidden message-only window and run by the message loop, or by
// a wait that serves them.
#pragma once

#include <windows.h>

#include <deque>
#include <mutex>

#include "platform/thread/MainThread.h"
#include "platform/win32/Handles.h"

namespace spindrel::win32 {

class TWin32MainThread : public TMainThread {
public:
    TWin32MainThread();  // on the main thread
    ~TWin32MainThread() override;

    void Synchronize(const std::function<void()>& Call) override;
    void ProcessMessages() override;
    void WaitServing(const std::function<bool()>& Done) override;
    bool IsMainThread() const override { return GetCurrentThreadId() == FMainThreadId; }
    std::uint32_t TickCount() const override { return GetTickCount(); }
    void Sleep(std::uint32_t Milliseconds) override { ::Sleep(Milliseconds); }

    // How ProcessMessages handles each message it takes from the queue; unset, it
    // translates and dispatches. The application object puts its hook in here.
    using TMessageHandler = std::function<void(MSG& Message)>;
    void SetMessageHandler(TMessageHandler Handler) { FMessageHandler = std::move(Handler); }

private:
    struct TCall {
        const std::function<void()>* Run;
        HANDLE Done;  // an event of the calling worker
        std::exception_ptr Error;
    };

    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void RunQueuedCalls();

    DWORD FMainThreadId;
    TMessageHandler FMessageHandler;
    TScopedWindow FWindow;
    TScopedKernelHandle FQueued;  // set while calls wait, for WaitServing to wake on
    std::mutex FLock;
    std::deque<TCall*> FQueue;
};

}  // namespace spindrel::win32
