// Files on disk: a stream over an open file, and the few file-system calls the
// portable code needs. Paths are the platform's own strings (ANSI on Windows).
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/Stream.h"

namespace spindrel {

enum class TFileMode {
    OpenRead,       // an existing file, read only, shared with all readers and writers
    OpenReadWrite,  // an existing file, read and write, shared with all readers and writers
    Create,         // a new empty file (an existing one is truncated), read and write
};

class TFileStream final : public TStream {
public:
    // Throws EStreamError naming the file when it cannot be opened or created.
    TFileStream(const std::string& FileName, TFileMode Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    void Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Position() const override;
    void SetPosition(std::int64_t Position) override;
    std::int64_t Size() const override;
    void SetSize(std::int64_t Size) override;
    void Flush() override;

    const std::string& FileName() const { return FFileName; }

private:
    [[noreturn]] void Fail(const char* Action) const;

    std::string FFileName;
    std::intptr_t FHandle;  // a file descriptor, or a Windows file handle
};

// True when a file (not a directory) of that name exists.
bool FileExists(const std::string& FileName);
// Deletes a file; false when it could not be deleted.
bool RemoveFile(const std::string& FileName);

// The system's folders as the platform reports them (Windows: GetTempPathA and
// GetSystemDirectoryA, each with a 260-character buffer), trailing separator and all.
std::string PlatformTempPath();
std::string PlatformSystemDirectory();

}  // namespace spindrel
