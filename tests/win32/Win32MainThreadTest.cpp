// Workers handing calls to a real Win32 main thread: order, blocking, exceptions,
// and a wait that serves them without running the rest of the message queue.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/Win32MainThread.h"

using spindrel::win32::TWin32MainThread;

TEST(Win32MainThread, RunsWorkersCallsOnTheMainThreadAndWaitsForThem)
{
    TWin32MainThread main;
    const DWORD mainId = GetCurrentThreadId();
    std::atomic<int> ended{0};
    int sum = 0;  // touched only on the main thread
    bool offMain = false;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            for (int i = 1; i <= 250; ++i) {
                int seen = -1;
                main.Synchronize([&] {
                    offMain |= GetCurrentThreadId() != mainId;
                    sum += i;
                    seen = i;
                });
                if (seen != i)  // Synchronize returned before its call had run
                    offMain = true;
            }
            ++ended;
        });
    const DWORD start = GetTickCount();
    while (ended < 4 && GetTickCount() - start < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        main.ProcessMessages();
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(ended, 4);
    EXPECT_FALSE(offMain);
    EXPECT_EQ(sum, 4 * 250 * 251 / 2);
}

TEST(Win32MainThread, AFailingCallRaisesInItsWorkerAndWaitingServesOnlyCalls)
{
    TWin32MainThread main;
    std::atomic<bool> ended{false};
    std::string caught;
    std::thread worker([&] {
        try {
            main.Synchronize([] { throw std::runtime_error("step failed"); });
        } catch (const std::exception& error) {
            caught = error.what();
        }
        ended = true;
    });
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 7, 0, 0);  // a message that must wait
    main.WaitServing([&] { return ended.load(); });
    worker.join();
    EXPECT_EQ(caught, "step failed");
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 7, WM_USER + 7, PM_REMOVE));
}
