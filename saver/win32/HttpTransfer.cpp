#include "saver/win32/HttpTransfer.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "saver/ShowRules.h"

namespace spindrel::win32 {

namespace {

constexpr DWORD TimeoutMilliseconds = 15000;
constexpr std::int64_t MaxBodySize = std::int64_t{64} << 20;

}  // namespace

// Messages end up in one log line; an address may carry anything.
std::string OneLine(std::string Text)
{
    for (char& c : Text)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return Text;
}

struct TAddress {
    std::string Host;
    INTERNET_PORT Port = INTERNET_DEFAULT_HTTP_PORT;
    std::string Path;  // with the query
};

namespace {

std::string Describe(DWORD Error)
{
    switch (Error) {
    case ERROR_INTERNET_TIMEOUT: return "timed out";
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return "unknown host";
    case ERROR_INTERNET_CANNOT_CONNECT: return "connection refused";
    case ERROR_INTERNET_CONNECTION_ABORTED: return "connection aborted";
    case ERROR_INTERNET_CONNECTION_RESET: return "connection reset";
    case ERROR_INTERNET_OPERATION_CANCELLED: return "cancelled";
    default: return "error " + std::to_string(Error);
    }
}

std::runtime_error Failure(const std::string& What, DWORD Error)
{
    return std::runtime_error(What + " (" + Describe(Error) + ")");
}

TAddress CrackAddress(const std::string& URL)
{
    // Without decoding no part is longer than the whole address.
    std::string host(URL.size() + 1, '\0'), path(URL.size() + 1, '\0'), extra(URL.size() + 1, '\0');
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (URL.empty() || !InternetCrackUrlA(URL.c_str(), 0, 0, &parts))
        throw std::runtime_error("not a web address");
    if (parts.nScheme != INTERNET_SCHEME_HTTP)
        throw std::runtime_error("not an http address");
    host.resize(parts.dwHostNameLength);
    path.resize(parts.dwUrlPathLength);
    extra.resize(parts.dwExtraInfoLength);
    path += extra;
    const INTERNET_PORT port = parts.nPort ? parts.nPort : INTERNET_PORT{INTERNET_DEFAULT_HTTP_PORT};
    return {host, port, path.empty() ? std::string("/") : path};
}

// A reply header as text; empty when the reply has none.
std::string QueryText(HINTERNET Request, DWORD Info)
{
    DWORD size = 0;
    if (HttpQueryInfoA(Request, Info, nullptr, &size, nullptr) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};
    std::string text(size, '\0');
    if (!HttpQueryInfoA(Request, Info, text.data(), &size, nullptr))
        return {};
    text.resize(size);  // on success the size leaves out the terminator
    return text;
}

std::optional<std::int64_t> ContentLength(HINTERNET Request)
{
    const std::string text = QueryText(Request, HTTP_QUERY_CONTENT_LENGTH);
    std::int64_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || length < 0)
        return std::nullopt;
    return length;
}

}  // namespace

// A file written under a passing name in the target folder, deleted unless it
// was moved into place: a broken transfer never leaves a half picture behind.
class TPartFile {
public:
    explicit TPartFile(const std::string& Folder)
    {
        char name[MAX_PATH];
        if (!GetTempFileNameA(Folder.c_str(), "spd", 0, name))
            throw Failure("cannot create a file in " + Folder, GetLastError());
        FName = name;
        FFile.Reset(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!FFile) {
            const DWORD error = GetLastError();
            DeleteFileA(name);
            throw Failure("cannot write " + FName, error);
        }
    }
    ~TPartFile()
    {
        FFile.Reset();
        if (!FMoved)
            DeleteFileA(FName.c_str());
    }
    TPartFile(const TPartFile&) = delete;
    TPartFile& operator=(const TPartFile&) = delete;

    void Write(const char* Data, DWORD Size)
    {
        DWORD written = 0;
        if (!WriteFile(FFile.Get(), Data, Size, &written, nullptr) || written != Size)
            throw Failure("cannot write " + FName, GetLastError());
    }
    void MoveTo(const std::string& FileName)
    {
        FFile.Reset();
        if (!MoveFileExA(FName.c_str(), FileName.c_str(), MOVEFILE_REPLACE_EXISTING))
            throw Failure("cannot store " + FileName, GetLastError());
        FMoved = true;
    }

private:
    std::string FName;
    TScopedFile FFile;
    bool FMoved = false;
};


TOutcome TTransfer::Run() noexcept
{
    TOutcome outcome;
    try {
        outcome = Fetch();
    } catch (const std::exception& error) {
        outcome.Message = OneLine(FURL + ": " + error.what());
    } catch (...) {
        outcome.Message = OneLine(FURL + ": the download failed");
    }
    CloseAll();
    return outcome;
}

void TTransfer::Cancel()
{
    std::lock_guard lock(FLock);
    FCancelled = true;
    FRequest.Reset();
    FConnection.Reset();
    FSession.Reset();
}

void TTransfer::CloseAll()
{
    std::lock_guard lock(FLock);
    FRequest.Reset();
    FConnection.Reset();
    FSession.Reset();
}

TOutcome TTransfer::Fetch()
{
    const TAddress address = CrackAddress(FURL);
    HINTERNET request = OpenRequest(address);
    if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0))
        throw Failure("cannot reach " + address.Host + ":" + std::to_string(address.Port), GetLastError());
    DWORD status = 0, size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        throw Failure("the reply has no status", GetLastError());
    if (status < 200 || status >= 300)
        throw std::runtime_error("the server answered " + std::to_string(status));
    const std::string fileName = FFolder + PictureName(request);
    const std::optional<std::int64_t> length = ContentLength(request);
    if (length && *length > MaxBodySize)
        throw std::runtime_error("the picture is larger than 64 MiB");
    TPartFile part(FFolder);
    const std::int64_t received = CopyBody(request, part);
    if (length && received != *length)
        throw std::runtime_error("the transfer broke off after " + std::to_string(received) + " of " +
                                 std::to_string(*length) + " bytes");
    Store(part, fileName);
    return {true, fileName, received, {}};
}

HINTERNET TTransfer::OpenRequest(const TAddress& Address)
{
    HINTERNET session = Keep(FSession, InternetOpenA("Spindrel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
                             "cannot start the Internet functions");
    DWORD timeout = TimeoutMilliseconds;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(session, option, &timeout, sizeof(timeout));
    HINTERNET connection = Keep(FConnection,
                                InternetConnectA(session, Address.Host.c_str(), Address.Port, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0),
                                "cannot connect to " + Address.Host);
    // A slide shows the picture once: nothing is read from or written to the cache.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    return Keep(FRequest,
                HttpOpenRequestA(connection, "GET", Address.Path.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0),
                "cannot make the request");
}

// Takes ownership of a handle just made, unless the transfer was cancelled meanwhile.
HINTERNET TTransfer::Keep(TScopedInternet& Slot, HINTERNET Handle, const std::string& What)
{
    const DWORD error = GetLastError();
    TScopedInternet owner(Handle);
    std::lock_guard lock(FLock);
    if (FCancelled)
        throw std::runtime_error("cancelled");
    if (!owner)
        throw Failure(What, error);
    Slot = std::move(owner);
    return Handle;
}

std::string TTransfer::PictureName(HINTERNET Request)
{
    const std::string type = QueryText(Request, HTTP_QUERY_CONTENT_TYPE);
    const std::optional<std::string> name = DownloadFileName(type);
    if (!name)
        throw std::runtime_error("not a picture (" + (type.empty() ? std::string("no content type") : type) + ")");
    return *name;
}

// Wine's reads wait until the whole buffer is filled and a handle closed meanwhile
// does not wake them; reading only what has arrived lets the cancel flag stop the
// copy at the next chunk.
std::int64_t TTransfer::CopyBody(HINTERNET Request, TPartFile& File)
{
    std::vector<char> buffer(64 * 1024);
    std::int64_t total = 0;
    for (;;) {
        DWORD available = 0, read = 0;
        if (!InternetQueryDataAvailable(Request, &available, 0, 0))
            throw Failure("the transfer broke off", GetLastError());
        ThrowIfCancelled();
        // None available is the end; a read of one byte confirms it.
        const DWORD wanted = std::clamp<DWORD>(available, 1, static_cast<DWORD>(buffer.size()));
        if (!InternetReadFile(Request, buffer.data(), wanted, &read))
            throw Failure("the transfer broke off", GetLastError());
        ThrowIfCancelled();
        if (read == 0)
            return total;
        total += read;
        if (total > MaxBodySize)
            throw std::runtime_error("the picture is larger than 64 MiB");
        File.Write(buffer.data(), read);
    }
}

// Under the lock, so a cancel either comes first and nothing is stored, or after
// the picture is complete.
void TTransfer::Store(TPartFile& File, const std::string& FileName)
{
    std::lock_guard lock(FLock);
    if (FCancelled)
        throw std::runtime_error("cancelled");
    File.MoveTo(FileName);
}

void TTransfer::ThrowIfCancelled()
{
    std::lock_guard lock(FLock);
    if (FCancelled)
        throw std::runtime_error("cancelled");
}

}  // namespace spindrel::win32
