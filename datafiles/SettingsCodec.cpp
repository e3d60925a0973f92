// Bounds-checked reading and writing of the settings file's encoded values.
#include "datafiles/SettingsCodec.h"

namespace spindrel {

const std::uint8_t* TSettingsReader::Take(std::size_t Count, const char* Field)
{
    if (FBytes.size() - FAt < Count)
        throw ESettingsFormat("the file ends at byte " + std::to_string(FBytes.size()) + " inside " + Field);
    const std::uint8_t* at = FBytes.data() + FAt;
    FAt += Count;
    return at;
}

namespace {

std::uint32_t LittleEndian(const std::uint8_t* p)
{
    return p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

std::int32_t TSettingsReader::Int32(const char* Field)
{
    return static_cast<std::int32_t>(~LittleEndian(Take(4, Field)));
}

std::string TSettingsReader::String(const char* Field)
{
    const std::size_t countAt = FAt;
    const std::int32_t count = static_cast<std::int32_t>(LittleEndian(Take(4, Field)));  // plain, not complemented
    if (count < 0 || count > static_cast<std::int32_t>(MaxStoredString))
        throw ESettingsFormat(std::string(Field) + " has a length of " + std::to_string(count) +
                              " at byte " + std::to_string(countAt) + ", outside 0..255");
    const std::uint8_t* stored = Take(static_cast<std::size_t>(count), Field);
    std::string text;
    text.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const char plain = static_cast<char>(~stored[i]);
        if (plain == 0)
            break;
        text.push_back(plain);
    }
    return text;
}

void TSettingsWriter::Int32(std::int32_t Value)
{
    const std::uint32_t stored = ~static_cast<std::uint32_t>(Value);
    for (int shift = 0; shift < 32; shift += 8)
        FBytes.push_back(static_cast<std::uint8_t>(stored >> shift));
}

void TSettingsWriter::String(const std::string& Text, const char* Field)
{
    if (Text.size() > MaxStoredString)
        throw ESettingsFormat(std::string(Field) + " is " + std::to_string(Text.size()) +
                              " bytes long; a settings file holds at most 255");
    const std::uint32_t count = static_cast<std::uint32_t>(Text.size());
    for (int shift = 0; shift < 32; shift += 8)
        FBytes.push_back(static_cast<std::uint8_t>(count >> shift));
    for (const char c : Text)
        FBytes.push_back(static_cast<std::uint8_t>(~static_cast<std::uint8_t>(c)));
}

}  // namespace spindrel
