#include "app/SettingsFields.h"

#include <QDate>
#include <QLocale>
#include <charconv>
#include <climits>
#include <cmath>
#include <type_traits>
#include <variant>

namespace oruk {

namespace {

using StringList = OneBased<std::string, 6>;
using OrderList = OneBased<int, kMeridianCount>;
using CoefficientList = OneBased<double, kMeridianCount>;

using Member = std::variant<int Settings::*, double Settings::*, bool Settings::*, std::string Settings::*,
                            StringList Settings::*, OrderList Settings::*, CoefficientList Settings::*>;

// How a line is read back.
enum class Rule {
    Integer,         // integer, else the fallback
    ReferenceCount,  // integer, else the fallback; below 2000 the fallback too
    Number,          // decimal number, else the fallback
    Flag,            // true only for exactly "1"
    AsIs,            // any text, blank included
    BlankTakesText,  // blank (after trimming) takes the fallback text
    BlankTakesToday, // blank (after trimming) takes today's date
    FlagString,      // as BlankTakesText; also checked when set by hand
};

struct FieldDef {
    Member member;
    int index = 0; // list entry 1..n, 0 for a single value
    Rule rule = Rule::Integer;
    double fallback = 0;
    std::string fallbackText;
    // When set by hand: the allowed range of an integer, the characters and length of a flag string.
    long long minimum = INT_MIN, maximum = INT_MAX;
    std::string allowedChars;
    std::size_t length = 0;
};

constexpr int kMinimumReferenceCount = 2000;
constexpr int kReferenceCountFallback = 4000;

struct Table {
    std::vector<SettingField> fields;
    std::vector<FieldDef> defs; // parallel to fields
};

void Add(Table& t, std::string name, SettingType type, FieldDef def) {
    t.fields.push_back({std::move(name), static_cast<int>(t.fields.size()) + 1, type});
    t.defs.push_back(std::move(def));
}

FieldDef Def(Member member, Rule rule, double fallback = 0, int index = 0) {
    FieldDef d;
    d.member = member;
    d.rule = rule;
    d.fallback = fallback;
    d.index = index;
    return d;
}

FieldDef TextDef(std::string Settings::*member, Rule rule, std::string fallbackText = {}) {
    FieldDef d = Def(member, rule);
    d.fallbackText = std::move(fallbackText);
    return d;
}

// The lines in file order.
Table BuildTable() {
    using T = SettingType;
    const Settings defaults;
    Table t;
    const std::pair<int Settings::*, const char*> referenceCounts[] = {
        {&Settings::ProbeSdvL, "ProbeSdvL"},
        {&Settings::ProbeSdvH, "ProbeSdvH"},
        {&Settings::ChannelSdvL, "ChannelSdvL"},
        {&Settings::ChannelSdvH, "ChannelSdvH"}};
    for (const auto& [member, name] : referenceCounts) {
        FieldDef d = Def(member, Rule::ReferenceCount, kReferenceCountFallback);
        d.minimum = kMinimumReferenceCount;
        Add(t, name, T::Int, d);
    }
    {
        FieldDef d = TextDef(&Settings::AnalysisOptionFlags, Rule::FlagString, defaults.AnalysisOptionFlags);
        d.allowedChars = "012";
        d.length = 42;
        Add(t, "AnalysisOptionFlags", T::Text, d);
    }
    Add(t, "Sensitivity", T::Double, Def(&Settings::Sensitivity, Rule::Number, 1.0));
    Add(t, "CalibrationDate", T::Text, TextDef(&Settings::CalibrationDate, Rule::BlankTakesToday));
    Add(t, "SystemTitle", T::Text,
        TextDef(&Settings::SystemTitle, Rule::BlankTakesText, defaults.SystemTitle));
    Add(t, "ReportTitle", T::Text,
        TextDef(&Settings::ReportTitle, Rule::BlankTakesText, defaults.ReportTitle));
    Add(t, "OrgName", T::Text, TextDef(&Settings::OrgName, Rule::BlankTakesText, defaults.OrgName));
    Add(t, "OrgUnit", T::Text, TextDef(&Settings::OrgUnit, Rule::BlankTakesText, defaults.OrgUnit));
    Add(t, "OptionString5", T::Text,
        TextDef(&Settings::OptionString5, Rule::BlankTakesText, defaults.OptionString5));
    Add(t, "StoredFlag13", T::Bool, Def(&Settings::StoredFlag13, Rule::Flag));
    Add(t, "StoredFlag14", T::Bool, Def(&Settings::StoredFlag14, Rule::Flag));
    Add(t, "StoredInt15", T::Int, Def(&Settings::StoredInt15, Rule::Integer, 2));
    Add(t, "StoredReal16", T::Double, Def(&Settings::StoredReal16, Rule::Number, 0.0));
    Add(t, "StoredFlag17", T::Bool, Def(&Settings::StoredFlag17, Rule::Flag));
    Add(t, "PointPictureStyle", T::Int, Def(&Settings::PointPictureStyle, Rule::Integer, 1));
    Add(t, "MeasureSoundMode", T::Int, Def(&Settings::MeasureSoundMode, Rule::Integer, 1));
    Add(t, "CalibSoundMode", T::Int, Def(&Settings::CalibSoundMode, Rule::Integer, 1));
    Add(t, "StoredInt21", T::Int, Def(&Settings::StoredInt21, Rule::Integer, 1));
    Add(t, "ContactStartMode", T::Int, Def(&Settings::ContactStartMode, Rule::Integer, 1));
    Add(t, "ChannelMode", T::Int, Def(&Settings::ChannelMode, Rule::Integer, 0));
    Add(t, "LiveChartCustomScale", T::Int, Def(&Settings::LiveChartCustomScale, Rule::Integer, 0));
    Add(t, "LiveChartBase", T::Int, Def(&Settings::LiveChartBase, Rule::Integer, 2000));
    Add(t, "LiveChartMargin", T::Int, Def(&Settings::LiveChartMargin, Rule::Integer, 500));
    {
        // A blank line gives all buttons hidden, not the default of a new file.
        FieldDef d = TextDef(&Settings::UserFuncVisible, Rule::FlagString, "000000");
        d.allowedChars = "01";
        d.length = 6;
        Add(t, "UserFuncVisible", T::Text, d);
    }
    const std::pair<StringList Settings::*, const char*> userFunctionLists[] = {
        {&Settings::UserFuncCaption, "UserFuncCaption"},
        {&Settings::UserFuncHint, "UserFuncHint"},
        {&Settings::UserFuncProgram, "UserFuncProgram"},
        {&Settings::UserFuncParams, "UserFuncParams"}};
    for (const auto& [list, name] : userFunctionLists)
        for (int k = 1; k <= 6; ++k)
            Add(t, std::string(name) + "[" + std::to_string(k) + "]", T::Text, Def(list, Rule::AsIs, 0, k));
    Add(t, "MeridianOrderMode", T::Int, Def(&Settings::MeridianOrderMode, Rule::Integer, 0));
    for (int k = 1; k <= kMeridianCount; ++k) {
        FieldDef d = Def(&Settings::CustomMeridianOrder, Rule::Integer, k, k);
        d.minimum = 1;
        d.maximum = kMeridianCount;
        Add(t, "CustomMeridianOrder[" + std::to_string(k) + "]", T::Int, d);
    }
    Add(t, "CoefficientMode", T::Int, Def(&Settings::CoefficientMode, Rule::Integer, 0));
    // The coefficients are read as decimal numbers, so that any value written reads back as it was.
    for (int k = 1; k <= kMeridianCount; ++k)
        Add(t, "CustomCoefficient[" + std::to_string(k) + "]", T::Double,
            Def(&Settings::CustomCoefficient, Rule::Number, k, k));
    Add(t, "AnalysisChartMode", T::Int, Def(&Settings::AnalysisChartMode, Rule::Integer, 1));
    return t;
}

const Table& TheTable() {
    static const Table table = BuildTable();
    return table;
}

const FieldDef& DefOf(const SettingField& field) {
    return TheTable().defs.at(static_cast<std::size_t>(field.Line - 1));
}

// The value a field names inside one Settings, as a pointer of its type.
template <class S> auto Target(S& s, const FieldDef& d) {
    using Int = std::conditional_t<std::is_const_v<S>, const int*, int*>;
    using Dbl = std::conditional_t<std::is_const_v<S>, const double*, double*>;
    using Bool = std::conditional_t<std::is_const_v<S>, const bool*, bool*>;
    using Str = std::conditional_t<std::is_const_v<S>, const std::string*, std::string*>;
    using Ptr = std::variant<Int, Dbl, Bool, Str>;
    return std::visit(
        [&](auto m) -> Ptr {
            auto& value = s.*m;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, StringList> ||
                          std::is_same_v<std::decay_t<decltype(value)>, OrderList> ||
                          std::is_same_v<std::decay_t<decltype(value)>, CoefficientList>)
                return &value[d.index];
            else
                return &value;
        },
        d.member);
}

bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlankChar(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankChar(s.back()))
        s.remove_suffix(1);
    return s;
}

// A whole text as a 32-bit integer: optional sign, digits only.
std::optional<int> ParseInteger(std::string_view s) {
    const std::size_t size = s.size();
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || (s.size() != size && s.front() == '-'))
        return std::nullopt;
    int v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

// A whole text as a finite decimal number with a decimal point.
std::optional<double> ParseNumber(std::string_view s) {
    const std::size_t size = s.size();
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || (s.size() != size && s.front() == '-'))
        return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

const std::vector<SettingField>& SettingFields() {
    return TheTable().fields;
}

const SettingField* FindSettingField(std::string_view name) {
    for (const SettingField& f : SettingFields())
        if (f.Name == name)
            return &f;
    return nullptr;
}

std::string FormatSetting(const Settings& settings, const SettingField& field) {
    return std::visit(
        [](auto* p) -> std::string {
            using T = std::decay_t<decltype(*p)>;
            if constexpr (std::is_same_v<T, int>) {
                return std::to_string(*p);
            } else if constexpr (std::is_same_v<T, double>) {
                char buf[64];
                const auto res = std::to_chars(buf, buf + sizeof buf, *p, std::chars_format::general, 15);
                return std::string(buf, res.ptr);
            } else if constexpr (std::is_same_v<T, bool>) {
                return *p ? "1" : "0";
            } else {
                return *p;
            }
        },
        Target(settings, DefOf(field)));
}

void ReadSetting(Settings& settings, const SettingField& field, const std::string& text) {
    const FieldDef& d = DefOf(field);
    auto target = Target(settings, d);
    switch (d.rule) {
    case Rule::Integer:
    case Rule::ReferenceCount: {
        // Integers tolerate surrounding blanks, as a hand-edited line may have them.
        int v = ParseInteger(Trimmed(text)).value_or(static_cast<int>(d.fallback));
        if (d.rule == Rule::ReferenceCount && v < kMinimumReferenceCount)
            v = kReferenceCountFallback;
        *std::get<int*>(target) = v;
        break;
    }
    case Rule::Number:
        *std::get<double*>(target) = ParseNumber(Trimmed(text)).value_or(d.fallback);
        break;
    case Rule::Flag:
        *std::get<bool*>(target) = text == "1";
        break;
    case Rule::AsIs:
        *std::get<std::string*>(target) = text;
        break;
    case Rule::BlankTakesText:
    case Rule::FlagString:
        *std::get<std::string*>(target) = Trimmed(text).empty() ? d.fallbackText : text;
        break;
    case Rule::BlankTakesToday:
        *std::get<std::string*>(target) = Trimmed(text).empty() ? TodayShortDate() : text;
        break;
    }
}

std::optional<std::string> SetSetting(Settings& settings, const SettingField& field,
                                      const std::string& text) {
    const FieldDef& d = DefOf(field);
    auto target = Target(settings, d);
    switch (d.rule) {
    case Rule::Integer:
    case Rule::ReferenceCount: {
        const auto v = ParseInteger(text);
        if (!v)
            return "not an integer: \"" + text + "\"";
        if (*v < d.minimum || *v > d.maximum) {
            std::string range = d.maximum == INT_MAX ? "at least " + std::to_string(d.minimum)
                                                     : "from " + std::to_string(d.minimum) + " to " +
                                                           std::to_string(d.maximum);
            return "must be " + range + ": " + text;
        }
        *std::get<int*>(target) = *v;
        return std::nullopt;
    }
    case Rule::Number: {
        const auto v = ParseNumber(text);
        if (!v)
            return "not a decimal number: \"" + text + "\"";
        *std::get<double*>(target) = *v;
        return std::nullopt;
    }
    case Rule::Flag:
        if (text == "1" || text == "true")
            *std::get<bool*>(target) = true;
        else if (text == "0" || text == "false")
            *std::get<bool*>(target) = false;
        else
            return "not a flag (1, 0, true or false): \"" + text + "\"";
        return std::nullopt;
    case Rule::FlagString:
        if (text.size() != d.length || text.find_first_not_of(d.allowedChars) != std::string::npos)
            return "must be " + std::to_string(d.length) + " characters of \"" + d.allowedChars + "\": \"" +
                   text + "\"";
        *std::get<std::string*>(target) = text;
        return std::nullopt;
    case Rule::BlankTakesText:
    case Rule::BlankTakesToday:
        if (Trimmed(text).empty())
            return "must not be blank";
        *std::get<std::string*>(target) = text;
        return std::nullopt;
    case Rule::AsIs:
        *std::get<std::string*>(target) = text;
        return std::nullopt;
    }
    return "unknown field";
}

std::string TodayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

} // namespace oruk
