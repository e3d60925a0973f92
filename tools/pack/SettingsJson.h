// Settings files as JSON: every stored field under its own name, texts as Unicode.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "datafiles/UnitSpindrelFile.h"

namespace spindrel {

using TJson = nlohmann::ordered_json;

// A manifest that cannot be turned into settings; the message names the field.
class EManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole settings object: the fields in file order, then Slides and Music.
TJson SettingsToJson(const TSpindrelFile& Settings);

// Sets one settings field from its JSON value; false when Name is no settings field.
// Throws EManifestError for a value of the wrong type or range.
bool SetSettingsField(TSettingsRecord& Settings, const std::string& Name, const TJson& Value);
// Sets one item field from its JSON value, likewise.
bool SetItemField(TItemRecord& Item, const std::string& Name, const TJson& Value);

}  // namespace spindrel
