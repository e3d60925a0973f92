// Commands about top-level windows and processes: wait for a window of a class,
// wait until it has gone, and run a program while watching for its window.
#include <cstdio>

#include "DriverCommand.h"
#include "platform/win32/Handles.h"

namespace spindrel::driver {
namespace {

struct TWindowQuery {
    std::string ClassName;
    DWORD ProcessId = 0;  // 0: any process
    bool VisibleOnly = false;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND Window, LPARAM Param)
{
    auto& query = *reinterpret_cast<TWindowQuery*>(Param);
    char className[256] = {};
    GetClassNameA(Window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(Window, &processId);
    if (query.ClassName != className || (query.ProcessId && query.ProcessId != processId)
        || (query.VisibleOnly && !IsWindowVisible(Window)))
        return TRUE;
    query.Found = Window;
    return FALSE;
}

HWND FindTopWindow(const std::string& ClassName, DWORD ProcessId, bool VisibleOnly)
{
    TWindowQuery query{ClassName, ProcessId, VisibleOnly};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.Found;
}

void PrintWindow(HWND Window, DWORD WaitedMs)
{
    RECT rect{};
    GetWindowRect(Window, &rect);
    DWORD processId = 0;
    GetWindowThreadProcessId(Window, &processId);
    const LONG style = GetWindowLongA(Window, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(Window, GWL_EXSTYLE);
    const bool framed = style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME);
    std::printf("window %p pid=%lu rect=%ld,%ld,%ld,%ld topmost=%d framed=%d after=%lu tick=%lu\n",
                static_cast<void*>(Window), processId, rect.left, rect.top, rect.right, rect.bottom,
                (exStyle & WS_EX_TOPMOST) ? 1 : 0, framed ? 1 : 0, WaitedMs, GetTickCount());
}

BOOL CALLBACK PrintListedWindow(HWND Window, LPARAM)
{
    char className[256] = {}, caption[256] = {};
    GetClassNameA(Window, className, sizeof className);
    GetWindowTextA(Window, caption, sizeof caption);
    std::printf("class=%s caption=\"%s\" visible=%d ", className, caption, IsWindowVisible(Window) ? 1 : 0);
    PrintWindow(Window, 0);
    return TRUE;
}

// The command line of CreateProcess: each argument quoted when it holds a space.
std::string JoinCommandLine(const TArgs& Args, size_t First)
{
    std::string line;
    for (size_t i = First; i < Args.size(); ++i) {
        if (!line.empty())
            line += ' ';
        const bool quote = Args[i].find(' ') != std::string::npos;
        line += quote ? '"' + Args[i] + '"' : Args[i];
    }
    return line;
}

}  // namespace

int CommandWindows(const TArgs& Args)
{
    if (!Args.empty())
        throw EUsage("windows takes no arguments");
    EnumWindows(PrintListedWindow, 0);
    return 0;
}

int CommandWindow(const TArgs& Args)
{
    if (Args.size() != 2)
        throw EUsage("window CLASS TIMEOUT_MS");
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    PollUntil(ParseInt(Args[1], "time-out"), [&] { return (window = FindTopWindow(Args[0], 0, true)) != nullptr; });
    if (!window) {
        std::printf("no visible window of class %s after %lu ms\n", Args[0].c_str(), GetTickCount() - start);
        return 1;
    }
    PrintWindow(window, GetTickCount() - start);
    return 0;
}

int CommandGone(const TArgs& Args)
{
    if (Args.size() != 2)
        throw EUsage("gone CLASS TIMEOUT_MS");
    const DWORD start = GetTickCount();
    const bool gone = PollUntil(ParseInt(Args[1], "time-out"), [&] { return !FindTopWindow(Args[0], 0, false); });
    std::printf("%s after=%lu tick=%lu\n", gone ? "gone" : "still there", GetTickCount() - start, GetTickCount());
    return gone ? 0 : 1;
}

int CommandRun(const TArgs& Args)
{
    if (Args.size() < 3)
        throw EUsage("run TIMEOUT_MS CLASS PROGRAM [ARG...]");
    const DWORD timeout = ParseInt(Args[0], "time-out");
    std::string commandLine = JoinCommandLine(Args, 2);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        throw std::runtime_error("cannot start " + commandLine + ", error " + std::to_string(GetLastError()));
    win32::TScopedKernelHandle process(started.hProcess), thread(started.hThread);
    const DWORD start = GetTickCount();
    bool windowSeen = false;
    const bool ended = PollUntil(timeout, [&] {
        windowSeen |= FindTopWindow(Args[1], started.dwProcessId, false) != nullptr;
        return WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
    });
    const DWORD waited = GetTickCount() - start;
    if (!ended) {
        TerminateProcess(process.Get(), 1);
        std::printf("still running after=%lu window-seen=%d (ended it)\n", waited, windowSeen ? 1 : 0);
        return 1;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    std::printf("ended exit=%lu after=%lu window-seen=%d\n", exitCode, waited, windowSeen ? 1 : 0);
    return 0;
}

}  // namespace spindrel::driver
