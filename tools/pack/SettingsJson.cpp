// JSON reading and writing of settings fields, driven by the field tables.
#include "tools/pack/SettingsJson.h"

#include <algorithm>

#include "datafiles/SettingsCodec.h"  // detail::Overloaded
#include "tools/pack/Windows1252.h"

namespace spindrel {

namespace {

TJson FontToJson(const TFontRecord& Font)
{
    return TJson{{"Name", Windows1252ToUtf8(Font.Name)},
                 {"Color", Font.Color},
                 {"Charset", Font.Charset},
                 {"Size", Font.Size},
                 {"Style", Font.Style}};
}

template <class Record>
TJson FieldToJson(const Record& Source, const TField<Record>& Field)
{
    return std::visit(detail::Overloaded{
                          [&](std::int32_t Record::*m) { return TJson(Source.*m); },
                          [&](std::uint32_t Record::*m) { return TJson(Source.*m); },
                          [&](std::uint8_t Record::*m) { return TJson(Source.*m); },
                          [&](std::string Record::*m) { return TJson(Windows1252ToUtf8(Source.*m)); },
                          [&](TFontRecord Record::*m) { return FontToJson(Source.*m); },
                          [&](TTransitionStyles Record::*m) {
                              const TTransitionStyles& styles = Source.*m;
                              TJson list = TJson::array();
                              for (std::int32_t i = 0; i < styles.Count; ++i)
                                  list.push_back(styles.Items[static_cast<std::size_t>(i)]);
                              return list;
                          },
                      },
                      Field.Member);
}

template <class Record>
TJson RecordToJson(const Record& Source, std::span<const TField<Record>> Table)
{
    TJson out = TJson::object();
    for (const TField<Record>& field : Table)
        out[field.Name] = FieldToJson(Source, field);
    return out;
}

[[noreturn]] void Refuse(const std::string& Name, const std::string& Why)
{
    throw EManifestError(Name + ": " + Why);
}

// Integers in int32 range; colours may also be written unsigned (0x80000008 is a system colour).
std::int64_t Integer(const std::string& Name, const TJson& Value, std::int64_t Low, std::int64_t High)
{
    if (!Value.is_number_integer())
        Refuse(Name, "expected a whole number");
    const std::int64_t number = Value.is_number_unsigned() && Value.get<std::uint64_t>() > INT64_MAX
                                    ? INT64_MAX
                                    : Value.get<std::int64_t>();
    if (number < Low || number > High)
        Refuse(Name, std::to_string(number) + " is outside " + std::to_string(Low) + ".." + std::to_string(High));
    return number;
}

std::int32_t Int32(const std::string& Name, const TJson& Value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Integer(Name, Value, INT32_MIN, UINT32_MAX)));
}

std::uint8_t Byte(const std::string& Name, const TJson& Value, bool Flag)
{
    if (Flag && Value.is_boolean())
        return Value.get<bool>() ? 1 : 0;
    return static_cast<std::uint8_t>(Integer(Name, Value, 0, 255));
}

std::string Text(const std::string& Name, const TJson& Value)
{
    if (!Value.is_string())
        Refuse(Name, "expected a text");
    const std::optional<std::string> text = Utf8ToWindows1252(Value.get<std::string>());
    if (!text)
        Refuse(Name, "holds a character that Windows-1252 cannot store");
    if (text->size() > MaxStoredString)
        Refuse(Name, "is " + std::to_string(text->size()) + " bytes long; a settings file holds at most 255");
    return *text;
}

void SetFont(TFontRecord& Font, const std::string& Name, const TJson& Value)
{
    if (!Value.is_object())
        Refuse(Name, "expected an object with Name, Color, Charset, Size and Style");
    for (const auto& [key, item] : Value.items()) {
        const std::string name = Name + "." + key;
        if (key == "Name")
            Font.Name = Text(name, item);
        else if (key == "Color")
            Font.Color = Int32(name, item);
        else if (key == "Charset")
            Font.Charset = Byte(name, item, false);
        else if (key == "Size")
            Font.Size = Int32(name, item);
        else if (key == "Style")
            Font.Style = static_cast<std::uint8_t>(Integer(name, item, 0, FontStyleMask));
        else
            Refuse(name, "is not a font attribute");
    }
}

void SetStyles(TTransitionStyles& Styles, const std::string& Name, const TJson& Value)
{
    if (!Value.is_array() || Value.size() > TTransitionStyles::Capacity)
        Refuse(Name, "expected a list of at most 256 style numbers 0..127");
    Styles = {};
    for (const TJson& style : Value)
        Styles.Items[static_cast<std::size_t>(Styles.Count++)] = static_cast<std::int32_t>(Integer(Name, style, 0, 127));
}

template <class Record>
bool SetField(Record& Target, std::span<const TField<Record>> Table, const std::string& Name, const TJson& Value)
{
    const auto field = std::find_if(Table.begin(), Table.end(), [&](const auto& f) { return Name == f.Name; });
    if (field == Table.end())
        return false;
    std::visit(detail::Overloaded{
                   [&](std::int32_t Record::*m) { Target.*m = Int32(Name, Value); },
                   [&](std::uint32_t Record::*m) { Target.*m = static_cast<std::uint32_t>(Int32(Name, Value)); },
                   [&](std::uint8_t Record::*m) { Target.*m = Byte(Name, Value, field->Flag); },
                   [&](std::string Record::*m) { Target.*m = Text(Name, Value); },
                   [&](TFontRecord Record::*m) { SetFont(Target.*m, Name, Value); },
                   [&](TTransitionStyles Record::*m) { SetStyles(Target.*m, Name, Value); },
               },
               field->Member);
    return true;
}

}  // namespace

TJson SettingsToJson(const TSpindrelFile& Settings)
{
    TJson out = RecordToJson<TSettingsRecord>(Settings, SettingsFields());
    for (const auto& [name, list] : {std::pair{"Slides", &Settings.Slides}, std::pair{"Music", &Settings.Music}}) {
        TJson items = TJson::array();
        for (std::int32_t i = 0; i < list->Count(); ++i)
            items.push_back(RecordToJson<TItemRecord>((*list)[i], ItemFields()));
        out[name] = std::move(items);
    }
    return out;
}

bool SetSettingsField(TSettingsRecord& Settings, const std::string& Name, const TJson& Value)
{
    return SetField<TSettingsRecord>(Settings, SettingsFields(), Name, Value);
}

bool SetItemField(TItemRecord& Item, const std::string& Name, const TJson& Value)
{
    return SetField<TItemRecord>(Item, ItemFields(), Name, Value);
}

}  // namespace spindrel
