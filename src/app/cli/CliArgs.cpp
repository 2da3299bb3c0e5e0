#include "app/cli/CliArgs.h"

#include <algorithm>

namespace oruk::cli {

CliArgs::CliArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            positional_.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto option =
            std::find_if(options.begin(), options.end(), [&](const OptionSpec& s) { return s.name == name; });
        if (option == options.end())
            throw CliError("unknown option --" + name);
        switch (option->kind) {
        case OptionKind::Flag:
            if (inlineValue)
                throw CliError("option --" + name + " takes no value");
            if (Has(name))
                throw CliError("option --" + name + " given twice");
            values_.emplace(name, "");
            break;
        case OptionKind::OptionalValue:
            if (Has(name))
                throw CliError("option --" + name + " given twice");
            values_.emplace(name, inlineValue.value_or(""));
            break;
        case OptionKind::Value:
        case OptionKind::Repeated:
            if (option->kind == OptionKind::Value && Has(name))
                throw CliError("option --" + name + " given twice");
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw CliError("option --" + name + " needs a value");
                inlineValue = args[++i];
            }
            values_.emplace(name, *inlineValue);
            break;
        }
    }
}

std::optional<std::string> CliArgs::Value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> CliArgs::Values(const std::string& name) const {
    std::vector<std::string> out;
    const auto range = values_.equal_range(name);
    for (auto it = range.first; it != range.second; ++it)
        out.push_back(it->second);
    return out;
}

} // namespace oruk::cli
