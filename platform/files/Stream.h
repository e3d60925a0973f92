// Byte streams in the manner of the form framework's: a file or a block of memory
// with a position, read and written in place. Failures throw EStreamError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace spindrel {

// A stream could not be opened, created, read, written, moved or resized.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to Count bytes at the position; returns how many were read (0 at the end).
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    // Writes all Count bytes at the position, or throws.
    virtual void Write(const void* Buffer, std::size_t Count) = 0;
    virtual std::int64_t Position() const = 0;
    // Positions beyond the end are allowed (as with a file); negative ones throw.
    virtual void SetPosition(std::int64_t Position) = 0;
    virtual std::int64_t Size() const = 0;
    // Truncates or extends; the position is kept.
    virtual void SetSize(std::int64_t Size) = 0;
    // Pushes written bytes down to the storage.
    virtual void Flush() {}

    // Everything from the position to the end; leaves the position at the end.
    std::vector<std::uint8_t> ReadRest();
};

class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

    std::size_t Read(void* Buffer, std::size_t Count) override;
    void Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Position() const override { return FPosition; }
    void SetPosition(std::int64_t Position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(FBytes.size()); }
    void SetSize(std::int64_t Size) override;

    // Empties the stream and rewinds it.
    void Clear();
    // Room for Capacity bytes, so that a known amount is written without regrowing.
    void Reserve(std::size_t Capacity) { FBytes.reserve(Capacity); }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
    std::int64_t FPosition = 0;
};

}  // namespace spindrel
