// Downloads one web picture on a worker thread through the Windows Internet
// functions: an HTTP 1.0 GET whose reply is kept only when its content type is a
// picture's. The result is delivered on the thread that created the object,
// through its message loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/win32/Handles.h"

namespace spindrel::win32 {

class THttpDownload {
public:
    // The stored file's full name and its size in bytes.
    using TDoneFileEvent = std::function<void(THttpDownload& Sender, const std::string& FileName, std::int64_t Size)>;
    // Why the download failed, one line.
    using TErrorEvent = std::function<void(THttpDownload& Sender, const std::string& Message)>;

    THttpDownload();
    ~THttpDownload();  // cancels a running download and waits for its worker; no event follows
    THttpDownload(const THttpDownload&) = delete;
    THttpDownload& operator=(const THttpDownload&) = delete;

    std::string URL;
    // The folder to store in, with its trailing backslash; the name comes from the reply.
    std::string FileName;
    TDoneFileEvent OnDoneFile;
    TErrorEvent OnError;

    // Starts downloading URL; one that is still running is cancelled first, silently.
    void DownloadFile();
    bool Busy() const;

private:
    struct TWork;
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    void Cancel();
    void WorkEnded(WPARAM Generation);

    TScopedWindow FWindow;  // message-only: the workers post their ends to it
    std::unique_ptr<TWork> FWork;  // the running download, or one whose end is not delivered yet
    WPARAM FGeneration = 0;  // tells a cancelled worker's late message from the current one's
};

}  // namespace spindrel::win32
