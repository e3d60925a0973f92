// One HTTP transfer of a web picture through WinInet: a GET into a passing file
// that is moved under the picture's name only when complete. Run on a worker; the
// main thread may cancel it at any time.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/win32/Handles.h"

namespace spindrel::win32 {

struct TInternetTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET H) { InternetCloseHandle(H); }
};
using TScopedInternet = TScopedHandle<HINTERNET, TInternetTraits>;

struct TOutcome {
    bool Done = false;
    std::string FileName;  // when done
    std::int64_t Size = 0;
    std::string Message;  // when failed
};

struct TAddress;
class TPartFile;

// One transfer. The worker runs it; the main thread may cancel it at any time by
// closing its handles, which makes the worker's blocking calls return.
class TTransfer {
public:
    TTransfer(std::string URL, std::string Folder) : FURL(std::move(URL)), FFolder(std::move(Folder)) {}

    TOutcome Run() noexcept;
    void Cancel();

private:
    TOutcome Fetch();
    HINTERNET OpenRequest(const TAddress& Address);
    HINTERNET Keep(TScopedInternet& Slot, HINTERNET Handle, const std::string& What);
    std::string PictureName(HINTERNET Request);
    std::int64_t CopyBody(HINTERNET Request, TPartFile& File);
    void Store(TPartFile& File, const std::string& FileName);
    void ThrowIfCancelled();
    void CloseAll();

    const std::string FURL;
    const std::string FFolder;
    std::mutex FLock;  // guards FCancelled and the handles, which either thread may close
    bool FCancelled = false;
    TScopedInternet FSession, FConnection, FRequest;
};

// Text made one line, for an error message.
std::string OneLine(std::string Text);

}  // namespace spindrel::win32
