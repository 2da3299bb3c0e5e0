#pragma once

#include "app/Settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oruk {

// One line of the settings file: its name, its value in Settings and how it is written and read.
enum class SettingType { Int, Double, Bool, Text };

struct SettingField {
    std::string Name; // "ProbeSdvL", or "UserFuncHint[3]" for an entry of a list
    int Line = 0;     // 1..78
    SettingType Type = SettingType::Int;
};

// The 78 lines in file order.
const std::vector<SettingField>& SettingFields();

// The field of that name, nullptr when there is none.
const SettingField* FindSettingField(std::string_view name);

// The text a line stores before it is enciphered: integers as plain digits, doubles in general
// form with up to 15 significant digits and a decimal point, flags as "1"/"0", texts as they are.
std::string FormatSetting(const Settings& settings, const SettingField& field);

// Applies the text read from a line: unparsable or blank values take the line's fallback.
// An absent line, or one that is not cipher text, is read as an empty text.
void ReadSetting(Settings& settings, const SettingField& field, const std::string& text);

// Strict form for values typed by a person: sets the value and returns nullopt, or returns the
// reason the text is refused (not a value of the field's type, or one that would not read back
// as given) and leaves the settings unchanged.
std::optional<std::string> SetSetting(Settings& settings, const SettingField& field, const std::string& text);

// Today's date in the system's short date format (the calibration date of a new settings file).
std::string TodayShortDate();

} // namespace oruk
