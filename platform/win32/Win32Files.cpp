// Files on Windows through the kernel's file handles. Existing files are opened
// deny-none (FILE_SHARE_READ | FILE_SHARE_WRITE), so other programs can read and
// rewrite a settings file while the saver holds it open.
#include <windows.h>

#include <algorithm>

#include "platform/files/FileStream.h"

namespace spindrel {

namespace {

HANDLE Handle(std::intptr_t Value) { return reinterpret_cast<HANDLE>(Value); }

std::string LastErrorText()
{
    const DWORD code = GetLastError();
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.'))
        text[--length] = 0;
    return length ? std::string(text, length) : "error " + std::to_string(code);
}

}  // namespace

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName)
{
    const bool create = Mode == TFileMode::Create;
    const DWORD access = Mode == TFileMode::OpenRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD share = create ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE file = CreateFileA(FileName.c_str(), access, share, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EStreamError("cannot " + std::string(create ? "create" : "open") + " \"" + FileName +
                           "\": " + LastErrorText());
    FHandle = reinterpret_cast<std::intptr_t>(file);
}

TFileStream::~TFileStream() { CloseHandle(Handle(FHandle)); }

void TFileStream::Fail(const char* Action) const
{
    throw EStreamError("cannot " + std::string(Action) + " \"" + FFileName + "\": " + LastErrorText());
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count)
{
    auto* out = static_cast<char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(Count - done, 1u << 30));
        if (!ReadFile(Handle(FHandle), out + done, want, &got, nullptr))
            Fail("read");
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void TFileStream::Write(const void* Buffer, std::size_t Count)
{
    const auto* in = static_cast<const char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(Count - done, 1u << 30));
        if (!WriteFile(Handle(FHandle), in + done, want, &put, nullptr) || put == 0)
            Fail("write");
        done += put;
    }
}

std::int64_t TFileStream::Position() const
{
    LARGE_INTEGER zero{}, at{};
    if (!SetFilePointerEx(Handle(FHandle), zero, &at, FILE_CURRENT))
        Fail("find the position in");
    return at.QuadPart;
}

void TFileStream::SetPosition(std::int64_t Position)
{
    LARGE_INTEGER to{};
    to.QuadPart = Position;
    if (Position < 0)
        SetLastError(ERROR_NEGATIVE_SEEK);
    else if (SetFilePointerEx(Handle(FHandle), to, nullptr, FILE_BEGIN))
        return;
    Fail(("seek to " + std::to_string(Position) + " in").c_str());
}

std::int64_t TFileStream::Size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Handle(FHandle), &size))
        Fail("read the size of");
    return size.QuadPart;
}

void TFileStream::SetSize(std::int64_t Size)
{
    const std::int64_t keep = Position();
    SetPosition(Size);
    if (!SetEndOfFile(Handle(FHandle)))
        Fail("resize");
    SetPosition(keep);
}

void TFileStream::Flush()
{
    if (!FlushFileBuffers(Handle(FHandle)))
        Fail("flush");
}

bool FileExists(const std::string& FileName)
{
    const DWORD attributes = GetFileAttributesA(FileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& FileName) { return DeleteFileA(FileName.c_str()) != 0; }

}  // namespace spindrel

namespace spindrel {

std::string PlatformTempPath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, path);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string PlatformSystemDirectory()
{
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace spindrel
