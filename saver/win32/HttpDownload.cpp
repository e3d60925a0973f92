// The download's worker thread, and its end posted to the window of the thread
// that started it.
#include "saver/win32/HttpDownload.h"

#include <stdexcept>
#include <system_error>
#include <thread>

#include "platform/win32/WindowClass.h"
#include "saver/win32/HttpTransfer.h"

namespace spindrel::win32 {

namespace {

constexpr UINT WM_DOWNLOAD_ENDED = WM_APP + 0x52;
const char WindowClass[] = "SpindrelHttpDownload";

}  // namespace

struct THttpDownload::TWork {
    TWork(std::string URL, std::string Folder) : Transfer(std::move(URL), std::move(Folder)) {}
    TTransfer Transfer;
    TOutcome Outcome;  // written by the worker before it posts; read after the join
    std::thread Worker;
};

THttpDownload::THttpDownload()
{
    FWindow = CreateMessageWindow(WindowClass, &WindowProc, this, "receives the downloads");
}

THttpDownload::~THttpDownload() { Cancel(); }

LRESULT CALLBACK THttpDownload::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_DOWNLOAD_ENDED) {
        if (auto* self = reinterpret_cast<THttpDownload*>(GetWindowLongPtrA(Window, GWLP_USERDATA)))
            self->WorkEnded(WParam);
        return 0;
    }
    return DefWindowProcA(Window, Message, WParam, LParam);
}

void THttpDownload::DownloadFile()
{
    Cancel();
    auto work = std::make_unique<TWork>(URL, FileName);
    TWork& running = *work;
    const HWND window = FWindow.Get();
    const WPARAM generation = ++FGeneration;
    try {
        running.Worker = std::thread([&running, window, generation] {
            running.Outcome = running.Transfer.Run();
            PostMessageA(window, WM_DOWNLOAD_ENDED, generation, 0);
        });
    } catch (const std::system_error&) {
        running.Outcome.Message = OneLine(URL + ": cannot start the download's thread");
        PostMessageA(window, WM_DOWNLOAD_ENDED, generation, 0);
    }
    FWork = std::move(work);
}

bool THttpDownload::Busy() const { return FWork != nullptr; }

void THttpDownload::Cancel()
{
    if (!FWork)
        return;
    FWork->Transfer.Cancel();
    if (FWork->Worker.joinable())
        FWork->Worker.join();
    FWork.reset();
}

void THttpDownload::WorkEnded(WPARAM Generation)
{
    if (!FWork || Generation != FGeneration)
        return;  // a cancelled worker's
    if (FWork->Worker.joinable())
        FWork->Worker.join();
    const TOutcome outcome = std::move(FWork->Outcome);
    FWork.reset();
    // The handler may start the next download or even destroy this object: copy it
    // and touch nothing after the call.
    if (outcome.Done) {
        if (TDoneFileEvent handler = OnDoneFile)
            handler(*this, outcome.FileName, outcome.Size);
    } else if (TErrorEvent handler = OnError) {
        handler(*this, outcome.Message);
    }
}

}  // namespace spindrel::win32
