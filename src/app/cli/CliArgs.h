#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace oruk::cli {

// Bad input on the command line: one message on stderr, exit code 2, nothing written.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class OptionKind {
    Flag,          // --json
    Value,         // --values V  or  --values=V
    OptionalValue, // --simulate  or  --simulate=stored
    Repeated,      // --set A=1 --set B=2
};

struct OptionSpec {
    std::string name; // without the leading dashes
    OptionKind kind;
};

// Options of one command; everything that is not an option is a positional word.
class CliArgs {
public:
    CliArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& options);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

private:
    std::multimap<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadInput = 2;

} // namespace oruk::cli
