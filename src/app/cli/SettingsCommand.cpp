#include "app/SettingsFields.h"
#include "app/SettingsFile.h"
#include "app/WorkDir.h"
#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"
#include "app/cli/Json.h"

#include <ostream>
#include <sstream>

namespace oruk::cli {

namespace {

struct Assignment {
    const SettingField* field;
    std::string value;
};

// Every --set is checked before anything is read or written, so a bad one changes nothing.
std::vector<Assignment> ParseAssignments(const std::vector<std::string>& sets) {
    std::vector<Assignment> out;
    for (const std::string& set : sets) {
        const auto eq = set.find('=');
        if (eq == std::string::npos)
            throw CliError("--set needs NAME=VALUE, got \"" + set + "\"");
        const std::string name = set.substr(0, eq);
        const SettingField* field = FindSettingField(name);
        if (!field)
            throw CliError("unknown setting \"" + name + "\"");
        Assignment a{field, set.substr(eq + 1)};
        Settings scratch;
        if (const auto refused = SetSetting(scratch, *a.field, a.value))
            throw CliError(name + ": " + *refused);
        out.push_back(std::move(a));
    }
    return out;
}

// A JSON value of one field: numbers as the file stores them, flags as true/false.
std::string JsonValue(const Settings& settings, const SettingField& field) {
    const std::string text = FormatSetting(settings, field);
    switch (field.Type) {
    case SettingType::Int:
    case SettingType::Double: // finite, general form: already a JSON number
        return text;
    case SettingType::Bool:
        return text == "1" ? "true" : "false";
    case SettingType::Text:
        return JsonString(text);
    }
    return "null";
}

// Lists ("UserFuncHint[3]") become arrays under their base name, in file order.
std::string JsonObject(const Settings& settings) {
    std::ostringstream out;
    out << "{";
    const auto& fields = SettingFields();
    bool first = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const SettingField& f = fields[i];
        const auto bracket = f.Name.find('[');
        out << (first ? "\n  " : ",\n  ");
        first = false;
        if (bracket == std::string::npos) {
            out << JsonString(f.Name) << ": " << JsonValue(settings, f);
            continue;
        }
        const std::string base = f.Name.substr(0, bracket);
        out << JsonString(base) << ": [";
        for (bool firstItem = true;
             i < fields.size() && fields[i].Name.compare(0, bracket + 1, base + "[") == 0;
             ++i, firstItem = false)
            out << (firstItem ? "" : ", ") << JsonValue(settings, fields[i]);
        --i;
        out << "]";
    }
    out << "\n}\n";
    return out.str();
}

std::string TextListing(const Settings& settings) {
    std::string out;
    for (const SettingField& f : SettingFields())
        out += f.Name + "=" + FormatSetting(settings, f) + "\n";
    return out;
}

} // namespace

int RunSettings(const CommandArgs& args, std::ostream& out, std::ostream&) {
    const CliArgs cli(
        args, {{"workdir", OptionKind::Value}, {"json", OptionKind::Flag}, {"set", OptionKind::Repeated}});
    if (!cli.Positional().empty())
        throw CliError("unexpected argument \"" + cli.Positional().front() + "\"");
    const std::vector<Assignment> assignments = ParseAssignments(cli.Values("set"));

    std::optional<std::filesystem::path> workDirOption;
    if (const auto w = cli.Value("workdir")) {
        if (w->empty())
            throw CliError("--workdir needs a directory");
        workDirOption = *w;
    }
    const std::filesystem::path workDir = ResolveWorkDir(workDirOption);

    Settings settings = LoadOrCreateSettings(workDir);
    for (const Assignment& a : assignments)
        SetSetting(settings, *a.field, a.value);
    const std::filesystem::path file = workDir / kSettingsFileName;
    WriteSettingsFile(file, settings);
    // Show what the file now holds (numbers keep 15 significant digits there).
    settings = ReadSettingsFile(file).value_or(settings);

    out << (cli.Has("json") ? JsonObject(settings) : TextListing(settings));
    return kExitOk;
}

} // namespace oruk::cli
