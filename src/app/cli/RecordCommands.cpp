#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"

#include <ostream>

namespace oruk::cli {

int RunInit(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunSubjects(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunSubject(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunMeasurements(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunSave(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunExport(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

int RunImport(const CommandArgs&, std::ostream&, std::ostream& err) {
    err << "this command is not available in this build\n";
    return kExitFailure;
}

} // namespace oruk::cli
