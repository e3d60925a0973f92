// The queued main thread used by tests and tools.
#include "platform/thread/MainThread.h"

#include <chrono>

namespace spindrel {

TQueuedMainThread::TQueuedMainThread() : FMainThread(std::this_thread::get_id()) {}

void TQueuedMainThread::Synchronize(const std::function<void()>& Call)
{
    if (IsMainThread()) {
        Call();
        return;
    }
    TCall call;
    call.Run = Call;
    std::unique_lock lock(FLock);
    FQueue.push_back(&call);
    FChanged.notify_all();
    FChanged.wait(lock, [&] { return call.Done; });
    if (call.Error)
        std::rethrow_exception(call.Error);
}

// Runs one queued call or posted message; false when there was none.
bool TQueuedMainThread::RunOne()
{
    std::unique_lock lock(FLock);
    if (!FQueue.empty()) {
        TCall* call = FQueue.front();
        FQueue.pop_front();
        lock.unlock();
        try {
            call->Run();
        } catch (...) {
            call->Error = std::current_exception();
        }
        lock.lock();
        call->Done = true;
        FChanged.notify_all();
        return true;
    }
    if (!FPosted.empty()) {
        std::function<void()> posted = std::move(FPosted.front());
        FPosted.pop_front();
        lock.unlock();
        posted();
        return true;
    }
    return false;
}

void TQueuedMainThread::ProcessMessages()
{
    while (RunOne()) {
    }
}

void TQueuedMainThread::WaitServing(const std::function<bool()>& Done)
{
    while (!Done()) {
        if (RunOne())
            continue;
        std::unique_lock lock(FLock);
        FChanged.wait_for(lock, std::chrono::milliseconds(1), [&] { return !FQueue.empty(); });
    }
}

bool TQueuedMainThread::PumpUntil(const std::function<bool()>& Done, std::uint32_t Milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (RunOne())
            continue;
        std::unique_lock lock(FLock);
        FChanged.wait_for(lock, std::chrono::milliseconds(1), [&] { return !FQueue.empty(); });
    }
    return true;
}

void TQueuedMainThread::Post(std::function<void()> Call)
{
    std::lock_guard lock(FLock);
    FPosted.push_back(std::move(Call));
}

std::uint32_t TQueuedMainThread::TickCount() const
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TQueuedMainThread::Sleep(std::uint32_t Milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

}  // namespace spindrel
