// Stream helpers shared by every stream, and the memory stream.
#include "platform/files/Stream.h"

#include <algorithm>
#include <cstring>

namespace spindrel {

std::vector<std::uint8_t> TStream::ReadRest()
{
    std::vector<std::uint8_t> bytes;
    const std::int64_t left = Size() - Position();
    if (left > 0)
        bytes.reserve(static_cast<std::size_t>(left));
    std::uint8_t chunk[65536];
    while (std::size_t got = Read(chunk, sizeof chunk))
        bytes.insert(bytes.end(), chunk, chunk + got);
    return bytes;
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count)
{
    const std::int64_t size = Size();
    if (FPosition >= size)
        return 0;
    const std::size_t got = std::min<std::size_t>(Count, static_cast<std::size_t>(size - FPosition));
    std::memcpy(Buffer, FBytes.data() + FPosition, got);
    FPosition += static_cast<std::int64_t>(got);
    return got;
}

void TMemoryStream::Write(const void* Buffer, std::size_t Count)
{
    if (Count == 0)
        return;
    const std::size_t end = static_cast<std::size_t>(FPosition) + Count;
    if (end > FBytes.size())
        FBytes.resize(end);
    std::memcpy(FBytes.data() + FPosition, Buffer, Count);
    FPosition = static_cast<std::int64_t>(end);
}

void TMemoryStream::SetPosition(std::int64_t Position)
{
    if (Position < 0)
        throw EStreamError("stream position " + std::to_string(Position) + " is negative");
    FPosition = Position;
}

void TMemoryStream::SetSize(std::int64_t Size)
{
    if (Size < 0)
        throw EStreamError("stream size " + std::to_string(Size) + " is negative");
    FBytes.resize(static_cast<std::size_t>(Size));
}

void TMemoryStream::Clear()
{
    FBytes.clear();
    FPosition = 0;
}

}  // namespace spindrel
