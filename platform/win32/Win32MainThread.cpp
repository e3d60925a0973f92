// Synchronise over a message-only window, as the form framework's threads do.
#include "platform/win32/Win32MainThread.h"

#include <stdexcept>

#include "platform/win32/WindowClass.h"

namespace spindrel::win32 {

namespace {

constexpr UINT WM_RUN_QUEUED_CALLS = WM_APP + 0x51;
const char WindowClass[] = "SpindrelMainThreadCalls";

}  // namespace

TWin32MainThread::TWin32MainThread()
    : FMainThreadId(GetCurrentThreadId()), FQueued(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    if (!FQueued)
        throw std::runtime_error("cannot create the event that wakes the main thread");
    FWindow = CreateMessageWindow(WindowClass, &WindowProc, this, "serves the worker threads");
}

TWin32MainThread::~TWin32MainThread() { SetWindowLongPtrA(FWindow.Get(), GWLP_USERDATA, 0); }

LRESULT CALLBACK TWin32MainThread::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_RUN_QUEUED_CALLS) {
        if (auto* self = reinterpret_cast<TWin32MainThread*>(GetWindowLongPtrA(Window, GWLP_USERDATA)))
            self->RunQueuedCalls();
        return 0;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

void TWin32MainThread::Synchronize(const std::function<void()>& Call)
{
    if (IsMainThread()) {
        Call();
        return;
    }
    TScopedKernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!done)
        throw std::runtime_error("cannot create an event to wait on the main thread");
    TCall call{&Call, done.Get(), nullptr};
    {
        std::lock_guard lock(FLock);
        FQueue.push_back(&call);
    }
    SetEvent(FQueued.Get());
    PostMessageA(FWindow.Get(), WM_RUN_QUEUED_CALLS, 0, 0);
    WaitForSingleObject(done.Get(), INFINITE);
    if (call.Error)
        std::rethrow_exception(call.Error);
}

void TWin32MainThread::RunQueuedCalls()
{
    for (;;) {
        TCall* call = nullptr;
        {
            std::lock_guard lock(FLock);
            if (FQueue.empty())
                return;
            call = FQueue.front();
            FQueue.pop_front();
        }
        try {
            (*call->Run)();
        } catch (...) {
            call->Error = std::current_exception();
        }
        SetEvent(call->Done);  // the worker may go on, and its call object goes away
    }
}

void TWin32MainThread::ProcessMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the loop that owns it sees it again
            break;
        }
        if (FMessageHandler) {
            FMessageHandler(message);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    RunQueuedCalls();
}

// Serves only the workers' calls, not the whole message queue: what waits here must
// not be re-entered by paints, timers or input.
void TWin32MainThread::WaitServing(const std::function<bool()>& Done)
{
    while (!Done()) {
        RunQueuedCalls();
        if (!Done())
            WaitForSingleObject(FQueued.Get(), 5);
    }
}

}  // namespace spindrel::win32
