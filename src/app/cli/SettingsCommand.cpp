#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"

#include <ostream>

namespace oruk::cli {

int RunSettings(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

} // namespace oruk::cli
