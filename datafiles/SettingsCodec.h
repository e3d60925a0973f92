// The settings file's value encodings: complemented little-endian int32s, bytes
// in the low byte of an int32, strings as a plain count and complemented bytes.
// Readers stay inside their buffer and throw ESettingsFormat when it is not a settings file's.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "datafiles/TSettingsRecord.h"

namespace spindrel {

// Bytes that cannot be read as, or values that cannot be written as, a settings file.
class ESettingsFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::size_t MaxStoredString = 255;  // the reader's buffer holds 256 bytes with the end mark

class TSettingsReader {
public:
    explicit TSettingsReader(std::span<const std::uint8_t> Bytes) : FBytes(Bytes) {}

    std::int32_t Int32(const char* Field);
    std::uint8_t Byte(const char* Field) { return static_cast<std::uint8_t>(Int32(Field)); }
    // The text ends at the first byte that is 0 once complemented back.
    std::string String(const char* Field);
    std::size_t Consumed() const { return FAt; }

    // Reads the fields that a file of this version holds into Record.
    template <class Record>
    void Fields(Record& Target, std::span<const TField<Record>> Table, std::uint32_t FileVersion);
    template <class Record>
    void Field(Record& Target, const TField<Record>& Field);

private:
    const std::uint8_t* Take(std::size_t Count, const char* Field);

    std::span<const std::uint8_t> FBytes;
    std::size_t FAt = 0;
};

class TSettingsWriter {
public:
    void Int32(std::int32_t Value);
    void Byte(std::uint8_t Value) { Int32(Value); }
    // Refuses (throws ESettingsFormat) a text the reader could not read back.
    void String(const std::string& Text, const char* Field);

    template <class Record>
    void Fields(const Record& Source, std::span<const TField<Record>> Table);
    template <class Record>
    void Field(const Record& Source, const TField<Record>& Field);

    std::vector<std::uint8_t>& Bytes() { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};

// ---- the field walkers ---------------------------------------------------------

namespace detail {
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
}  // namespace detail

template <class Record>
void TSettingsReader::Fields(Record& Target, std::span<const TField<Record>> Table, std::uint32_t FileVersion)
{
    for (const TField<Record>& field : Table)
        if (FileVersion >= field.Since)
            Field(Target, field);
}

template <class Record>
void TSettingsReader::Field(Record& Target, const TField<Record>& F)
{
    const char* name = F.Name;
    std::visit(detail::Overloaded{
                   [&](std::int32_t Record::*m) { Target.*m = Int32(name); },
                   [&](std::uint32_t Record::*m) { Target.*m = static_cast<std::uint32_t>(Int32(name)); },
                   [&](std::uint8_t Record::*m) { Target.*m = Byte(name); },
                   [&](std::string Record::*m) { Target.*m = String(name); },
                   [&](TFontRecord Record::*m) {
                       TFontRecord& font = Target.*m;
                       font.Name = String(name);
                       font.Color = Int32(name);
                       font.Charset = Byte(name);
                       font.Size = Int32(name);
                       font.Style = Byte(name) & FontStyleMask;
                   },
                   [&](TTransitionStyles Record::*m) {
                       TTransitionStyles& styles = Target.*m;
                       const std::int32_t count = Int32(name);
                       if (count > TTransitionStyles::Capacity)
                           throw ESettingsFormat(std::string(name) + " counts " + std::to_string(count) +
                                                 " entries, more than " +
                                                 std::to_string(TTransitionStyles::Capacity));
                       styles.Count = count;
                       for (std::int32_t i = 0; i < count; ++i)
                           styles.Items[static_cast<std::size_t>(i)] = Int32(name);
                   },
               },
               F.Member);
}

template <class Record>
void TSettingsWriter::Fields(const Record& Source, std::span<const TField<Record>> Table)
{
    for (const TField<Record>& field : Table)
        Field(Source, field);
}

template <class Record>
void TSettingsWriter::Field(const Record& Source, const TField<Record>& F)
{
    const char* name = F.Name;
    std::visit(detail::Overloaded{
                   [&](std::int32_t Record::*m) { Int32(Source.*m); },
                   [&](std::uint32_t Record::*m) { Int32(static_cast<std::int32_t>(Source.*m)); },
                   [&](std::uint8_t Record::*m) { Byte(Source.*m); },
                   [&](std::string Record::*m) { String(Source.*m, name); },
                   [&](TFontRecord Record::*m) {
                       const TFontRecord& font = Source.*m;
                       String(font.Name, name);
                       Int32(font.Color);
                       Byte(font.Charset);
                       Int32(font.Size);
                       Byte(font.Style & FontStyleMask);
                   },
                   [&](TTransitionStyles Record::*m) {
                       const TTransitionStyles& styles = Source.*m;
                       if (styles.Count > TTransitionStyles::Capacity)
                           throw ESettingsFormat(std::string(name) + " counts more than 256 entries");
                       Int32(styles.Count);
                       for (std::int32_t i = 0; i < styles.Count; ++i)
                           Int32(styles.Items[static_cast<std::size_t>(i)]);
                   },
               },
               F.Member);
}

}  // namespace spindrel
