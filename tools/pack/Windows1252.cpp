// Windows-1252 <-> UTF-8. Only 0x80..0x9F differ from Latin-1.
#include "tools/pack/Windows1252.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace spindrel {

namespace {

// Code points of bytes 0x80..0x9F; the unassigned bytes keep their own value.
const char32_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePointOf(unsigned char Byte)
{
    return Byte >= 0x80 && Byte < 0xA0 ? HighControls[Byte - 0x80] : Byte;
}

void AppendUtf8(std::string& Out, char32_t c)
{
    if (c < 0x80) {
        Out += static_cast<char>(c);
    } else if (c < 0x800) {
        Out += static_cast<char>(0xC0 | c >> 6);
        Out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        Out += static_cast<char>(0xE0 | c >> 12);
        Out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        Out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at Text[At], advancing At; none when malformed.
std::optional<char32_t> NextUtf8(const std::string& Text, std::size_t& At)
{
    const auto lead = static_cast<unsigned char>(Text[At++]);
    if (lead < 0x80)
        return lead;
    int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (more < 0 || Text.size() - At < static_cast<std::size_t>(more))
        return std::nullopt;
    char32_t c = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        const auto next = static_cast<unsigned char>(Text[At++]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = c << 6 | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[more] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return std::nullopt;
    return c;
}

}  // namespace

std::string Windows1252ToUtf8(const std::string& Text)
{
    std::string out;
    out.reserve(Text.size());
    for (const char byte : Text)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(byte)));
    return out;
}

std::optional<std::string> Utf8ToWindows1252(const std::string& Text)
{
    std::string out;
    std::size_t at = 0;
    while (at < Text.size()) {
        const std::optional<char32_t> c = NextUtf8(Text, at);
        if (!c)
            return std::nullopt;
        if (*c < 0x80 || (*c >= 0xA0 && *c < 0x100)) {
            out += static_cast<char>(*c);
            continue;
        }
        const char32_t* found = std::find(std::begin(HighControls), std::end(HighControls), *c);
        if (found == std::end(HighControls))
            return std::nullopt;
        out += static_cast<char>(0x80 + (found - std::begin(HighControls)));
    }
    return out;
}

}  // namespace spindrel
