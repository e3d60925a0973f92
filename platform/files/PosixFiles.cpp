// Files on POSIX systems. There are no share modes here: every open file can
// be read and replaced by others, which is what deny-none asks for on Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/files/FileStream.h"

namespace spindrel {

namespace {

int OpenFlags(TFileMode Mode)
{
    switch (Mode) {
    case TFileMode::OpenRead: return O_RDONLY;
    case TFileMode::OpenReadWrite: return O_RDWR;
    case TFileMode::Create: return O_RDWR | O_CREAT | O_TRUNC;
    }
    return O_RDONLY;
}

int Fd(std::intptr_t Handle) { return static_cast<int>(Handle); }

}  // namespace

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName)
{
    const int fd = ::open(FileName.c_str(), OpenFlags(Mode) | O_CLOEXEC, 0666);
    if (fd < 0)
        throw EStreamError("cannot " + std::string(Mode == TFileMode::Create ? "create" : "open") +
                           " \"" + FileName + "\": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EStreamError("cannot open \"" + FileName + "\": it is a directory");
    }
    FHandle = fd;
}

TFileStream::~TFileStream() { ::close(Fd(FHandle)); }

void TFileStream::Fail(const char* Action) const
{
    throw EStreamError("cannot " + std::string(Action) + " \"" + FFileName + "\": " + std::strerror(errno));
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count)
{
    auto* out = static_cast<char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t got = ::read(Fd(FHandle), out + done, Count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("read");
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void TFileStream::Write(const void* Buffer, std::size_t Count)
{
    const auto* in = static_cast<const char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t put = ::write(Fd(FHandle), in + done, Count - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Fail("write");
        done += static_cast<std::size_t>(put);
    }
}

std::int64_t TFileStream::Position() const
{
    const off_t at = ::lseek(Fd(FHandle), 0, SEEK_CUR);
    if (at < 0)
        Fail("find the position in");
    return at;
}

void TFileStream::SetPosition(std::int64_t Position)
{
    if (Position < 0)
        errno = EINVAL;
    else if (::lseek(Fd(FHandle), static_cast<off_t>(Position), SEEK_SET) >= 0)
        return;
    Fail(("seek to " + std::to_string(Position) + " in").c_str());
}

std::int64_t TFileStream::Size() const
{
    struct stat st {};
    if (::fstat(Fd(FHandle), &st) != 0)
        Fail("read the size of");
    return st.st_size;
}

void TFileStream::SetSize(std::int64_t Size)
{
    if (Size < 0 || ::ftruncate(Fd(FHandle), static_cast<off_t>(Size)) != 0)
        Fail("resize");
}

void TFileStream::Flush()
{
    if (::fsync(Fd(FHandle)) != 0 && errno != EINVAL)
        Fail("flush");
}

bool FileExists(const std::string& FileName)
{
    struct stat st {};
    return ::stat(FileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& FileName) { return ::unlink(FileName.c_str()) == 0; }

std::string PlatformTempPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/";
}

// There is no system folder here; the tools and tests never install into it.
std::string PlatformSystemDirectory() { return "/usr/lib"; }

}  // namespace spindrel
