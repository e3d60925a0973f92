// Little- and big-endian reads at checked offsets of a byte buffer, for the
// readers we write ourselves: a read past the end fails instead of reading on.
#pragma once

#include <cstdint>

#include "platform/picture/Picture.h"

namespace spindrel {

class TByteReader {
public:
    explicit TByteReader(TBytes Data) : FData(Data) {}

    std::size_t Size() const { return FData.size(); }
    // True when Count bytes from Offset lie inside the buffer (no overflow).
    bool Has(std::size_t Offset, std::size_t Count) const
    {
        return Offset <= FData.size() && Count <= FData.size() - Offset;
    }
    const std::uint8_t* At(std::size_t Offset) const { return FData.data() + Offset; }

    // Each returns false, leaving Value alone, when the bytes are not all there.
    bool U8(std::size_t Offset, std::uint32_t& Value) const { return Read(Offset, 1, false, Value); }
    bool U16LE(std::size_t Offset, std::uint32_t& Value) const { return Read(Offset, 2, false, Value); }
    bool U32LE(std::size_t Offset, std::uint32_t& Value) const { return Read(Offset, 4, false, Value); }
    bool U16BE(std::size_t Offset, std::uint32_t& Value) const { return Read(Offset, 2, true, Value); }
    bool U32BE(std::size_t Offset, std::uint32_t& Value) const { return Read(Offset, 4, true, Value); }

private:
    bool Read(std::size_t Offset, std::size_t Count, bool BigEndian, std::uint32_t& Value) const
    {
        if (!Has(Offset, Count))
            return false;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            const std::uint32_t byte = FData[Offset + (BigEndian ? i : Count - 1 - i)];
            v = v << 8 | byte;
        }
        Value = v;
        return true;
    }

    TBytes FData;
};

}  // namespace spindrel
