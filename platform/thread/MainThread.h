// The narrow seam between a worker thread and the main thread: run a call on
// the main thread and wait for it (synchronise), handle pending messages, the
// tick count and sleeping. The show window implements it over its message
// loop; tests use TQueuedMainThread and pump it themselves.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace spindrel {

class TMainThread {
public:
    virtual ~TMainThread() = default;

    // From a worker: runs Call on the main thread and returns once it has run. An
    // exception Call throws is rethrown here, in the worker. On the main thread itself
    // Call runs at once.
    virtual void Synchronize(const std::function<void()>& Call) = 0;
    // On the main thread: handles everything pending (window messages, queued calls).
    virtual void ProcessMessages() = 0;
    // On the main thread: handles pending work until Done() is true; how a wait for a
    // worker keeps serving the calls the worker queues.
    virtual void WaitServing(const std::function<bool()>& Done) = 0;
    virtual bool IsMainThread() const = 0;
    // Milliseconds since some fixed moment, wrapping as the system tick count does.
    virtual std::uint32_t TickCount() const = 0;
    virtual void Sleep(std::uint32_t Milliseconds) = 0;
};

// A main thread made of a queue: Synchronize queues, ProcessMessages runs the queue.
// The thread that creates it is the main thread.
class TQueuedMainThread : public TMainThread {
public:
    TQueuedMainThread();

    void Synchronize(const std::function<void()>& Call) override;
    void ProcessMessages() override;
    void WaitServing(const std::function<bool()>& Done) override;
    bool IsMainThread() const override { return std::this_thread::get_id() == FMainThread; }
    std::uint32_t TickCount() const override;
    void Sleep(std::uint32_t Milliseconds) override;

    // Runs queued calls until Done() is true or Milliseconds have passed; false on time-out.
    bool PumpUntil(const std::function<bool()>& Done, std::uint32_t Milliseconds);

    // Work posted from the main thread itself, run by the next ProcessMessages (a message).
    void Post(std::function<void()> Call);

private:
    struct TCall {
        std::function<void()> Run;
        bool Done = false;
        std::exception_ptr Error;
    };

    bool RunOne();

    std::thread::id FMainThread;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TCall*> FQueue;
    std::deque<std::function<void()>> FPosted;
};

}  // namespace spindrel
