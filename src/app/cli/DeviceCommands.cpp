// oruk-cli device, measure and calibrate: the device engines on the real or the simulated device.
#include "analysis/OleDate.h"
#include "app/SettingsFile.h"
#include "app/WorkDir.h"
#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"
#include "app/cli/Json.h"
#include "device/HidapiTransport.h"
#include "device/SimulatedDevice.h"
#include "device/StatusCheck.h"
#include "device/TracingTransport.h"
#include "measurement/Calibration.h"
#include "measurement/MeasuringRun.h"
#include "measurement/SimulatedOperator.h"

#include <charconv>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

namespace oruk::cli {

namespace {

// A simulated subject: plausible skin currents of a balanced adult, by point index.
PointValues DefaultSubject() {
    PointValues v{};
    const double hands[6] = {62, 58, 55, 66, 60, 64};
    const double feet[6] = {48, 45, 50, 52, 47, 51};
    for (int i = 0; i < 6; ++i) {
        v[1 + i] = hands[i];
        v[7 + i] = hands[i] + 2.5;
        v[13 + i] = feet[i];
        v[19 + i] = feet[i] - 1.5;
    }
    return v;
}

PointValues ReadSubjectFile(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw CliError("cannot read subject file \"" + path + "\"");
    std::vector<double> values;
    std::string line;
    while (std::getline(in, line)) {
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.resize(hash);
        for (char& c : line)
            if (c == ',' || c == ';' || c == '\t' || c == '\r')
                c = ' ';
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            double v = 0;
            const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
            if (ec != std::errc() || ptr != word.data() + word.size())
                throw CliError("subject file: \"" + word + "\" is not a number");
            if (!(v >= 0 && v <= 200))
                throw CliError("subject file: " + word + " lies outside 0 .. 200 uA");
            values.push_back(v);
        }
    }
    if (values.size() != kPointCount)
        throw CliError("subject file: expected 24 values (uA by point index), found " +
                       std::to_string(values.size()));
    PointValues out{};
    for (int p = 1; p <= kPointCount; ++p)
        out[p] = values[static_cast<std::size_t>(p - 1)];
    return out;
}

std::string Fixed(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// The device a command talks to, with its clock and the command trace.
struct Session {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<DeviceTransport> device;
    SimulatedDevice* sim = nullptr;
    std::unique_ptr<TracingTransport> tracing;
    std::unique_ptr<DeviceLink> link;
    std::ofstream trace;
    std::string tracePath;

    ~Session() {
        if (device)
            device->SetChangeHandler(nullptr);
    }

    void WriteTrace() {
        if (tracePath.empty())
            return;
        tracing->WriteTrace(trace);
        trace.flush();
        if (!trace)
            throw std::runtime_error("cannot write trace file \"" + tracePath + "\"");
    }
};

std::unique_ptr<Session> OpenSession(const CliArgs& cli, const Settings& settings, bool fastAllowed) {
    auto s = std::make_unique<Session>();
    std::optional<std::string> simulate = cli.Value("simulate");
    if (simulate && !simulate->empty() && *simulate != "stored")
        throw CliError("--simulate takes no value or \"stored\", not \"" + *simulate + "\"");
    const bool fast = fastAllowed && cli.Has("fast");
    if (fast && !simulate)
        throw CliError("--fast needs --simulate");
    if (const auto path = cli.Value("trace")) {
        if (path->empty())
            throw CliError("--trace needs a file");
        s->trace.open(*path, std::ios::trunc);
        if (!s->trace)
            throw CliError("cannot write trace file \"" + *path + "\"");
        s->tracePath = *path;
    }
    if (fast)
        s->clock = std::make_unique<SimClock>(OleNow());
    else
        s->clock = std::make_unique<SteadyClock>();
    if (simulate) {
        SimulatedDeviceConfig config;
        config.StoresCalibration = *simulate == "stored";
        // The simulated device measures as the settings say it was calibrated.
        if (!config.StoresCalibration) {
            config.GripCountL = settings.ProbeSdvL;
            config.GripCountH = settings.ProbeSdvH;
        } else
            config.GripCountL = config.SdvL - 20; // a little off: the trim has something to do
        auto sim = std::make_unique<SimulatedDevice>(*s->clock, config);
        s->sim = sim.get();
        s->device = std::move(sim);
    } else {
        s->device = std::make_unique<HidapiTransport>();
    }
    s->tracing = std::make_unique<TracingTransport>(*s->device, *s->clock);
    s->link = std::make_unique<DeviceLink>(*s->tracing, *s->clock);
    DeviceLink* link = s->link.get();
    s->device->SetChangeHandler([link] { link->DeviceChanged(); });
    link->DeviceChanged(true);
    // The trace shows what the command itself sends, not the register reads of the attach.
    s->tracing->Restart();
    return s;
}

std::optional<std::filesystem::path> WorkDirOption(const CliArgs& cli) {
    if (const auto w = cli.Value("workdir")) {
        if (w->empty())
            throw CliError("--workdir needs a directory");
        return std::filesystem::path(*w);
    }
    return std::nullopt;
}

Settings StoredSettings(const std::optional<std::filesystem::path>& workDir) {
    if (auto stored = ReadSettingsFile(ResolveWorkDir(workDir) / kSettingsFileName))
        return *stored;
    return Settings{};
}

void NoPositional(const CliArgs& cli) {
    if (!cli.Positional().empty())
        throw CliError("unexpected argument \"" + cli.Positional().front() + "\"");
}

int DeviceList(std::ostream& out) {
    const auto devices = ListDevices();
    if (devices.empty()) {
        out << "no device (vendor C925, product A13F) found\n";
        return kExitOk;
    }
    for (const auto& d : devices)
        out << d.Path << "  serial " << (d.Serial.empty() ? "-" : d.Serial) << "  hardware "
            << (d.HardwareVersion.empty() ? "-" : d.HardwareVersion) << "  output report "
            << (d.OutputReportLength > 0 ? std::to_string(d.OutputReportLength) + " bytes" : "unreadable")
            << "\n";
    return kExitOk;
}

int DeviceCheck(const CliArgs& cli, std::ostream& out) {
    auto session = OpenSession(cli, Settings{}, false);
    const StatusCheckOutcome outcome = RunStatusCheck(*session->link, *session->clock);
    session->WriteTrace();
    out << "Device Mdl: " << outcome.View.Model << "\n"
        << "Serial Num: " << outcome.View.Serial << "\n"
        << "Hardware Ver: " << outcome.View.HardwareVersion << "\n"
        << outcome.View.StatusText << "\n";
    return outcome.Online ? kExitOk : kExitFailure;
}

struct ConsoleMeasureOperator : MeasureObserver {
    ConsoleMeasureOperator(bool prompt, const DisplayTables& tables, std::ostream& err)
        : prompt(prompt), tables(tables), err(err) {}
    bool prompt;
    DisplayTables tables;
    std::ostream& err;
    void Offline(const std::string& message) override { err << message << "\n"; }
    bool AskHighPotential() override { return true; } // --high asked for it
    bool AskContinueTooLong() override { return true; }
    void WaitingForContact(int position) override {
        if (prompt)
            err << "position " << position << ": touch point " << tables.PointIndexByPos[position] << "\n";
    }
};

} // namespace

int RunDevice(const CommandArgs& args, std::ostream& out, std::ostream&) {
    const CliArgs cli(args, {{"simulate", OptionKind::OptionalValue}, {"trace", OptionKind::Value}});
    const auto& words = cli.Positional();
    if (words.size() != 1 || (words[0] != "list" && words[0] != "check"))
        throw CliError("usage: oruk-cli device list | device check [--simulate[=stored]] [--trace FILE]");
    if (words[0] == "list") {
        if (cli.Has("simulate") || cli.Has("trace"))
            throw CliError("device list takes no options");
        return DeviceList(out);
    }
    return DeviceCheck(cli, out);
}

int RunMeasure(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    const CliArgs cli(args, {{"simulate", OptionKind::OptionalValue},
                             {"fast", OptionKind::Flag},
                             {"subject", OptionKind::Value},
                             {"sound", OptionKind::Value},
                             {"high", OptionKind::Flag},
                             {"trace", OptionKind::Value},
                             {"json", OptionKind::Flag},
                             {"workdir", OptionKind::Value}});
    NoPositional(cli);
    Settings settings = StoredSettings(WorkDirOption(cli));
    if (const auto sound = cli.Value("sound")) {
        if (*sound != "0" && *sound != "1" && *sound != "2")
            throw CliError("--sound takes 0 (mute), 1 (standard) or 2 (single)");
        settings.MeasureSoundMode = (*sound)[0] - '0';
    }
    std::optional<PointValues> subjectValues;
    if (const auto file = cli.Value("subject")) {
        if (!cli.Has("simulate"))
            throw CliError("--subject needs --simulate");
        subjectValues = ReadSubjectFile(*file);
    }
    auto session = OpenSession(cli, settings, true);
    const DisplayTables tables = settings.Tables();
    if (session->sim) {
        VirtualSubject subject;
        subject.Currents = subjectValues.value_or(DefaultSubject());
        session->sim->SetSubject(subject);
    }
    ConsoleMeasureOperator console(session->sim == nullptr, tables, err);
    std::optional<SimulatedMeasureOperator> simulated;
    if (session->sim)
        simulated.emplace(*session->sim, tables, console);
    MeasureObserver& op = simulated ? static_cast<MeasureObserver&>(*simulated) : console;
    MeasuringRun run(*session->link, *session->clock, op);
    MeasureRunInput input;
    input.settings = settings;
    input.tables = tables;
    input.record.HighVoltage = cli.Has("high");
    const MeasureRunResult result = run.Run(input);
    session->WriteTrace();
    if (result.Outcome == RunOutcome::Offline)
        return kExitFailure;
    if (result.Outcome != RunOutcome::Finished) {
        err << "the measuring run did not finish\n";
        return kExitFailure;
    }

    const MeasurementRecord& r = result.Record;
    std::ostringstream text;
    if (cli.Has("json")) {
        auto array = [&](const char* name, const PointValues& v) {
            text << "  \"" << name << "\": [";
            for (int p = 1; p <= kPointCount; ++p)
                text << (p > 1 ? ", " : "") << JsonNumber(v[p]);
            text << "]";
        };
        text << "{\n";
        array("Values", r.Values);
        text << ",\n";
        array("Compensated", r.Compensated);
        text << ",\n";
        array("Std", r.Std);
        text << "\n}\n";
    } else {
        text << "point    value  compensated  quality\n";
        for (int p = 1; p <= kPointCount; ++p)
            text << Fixed("%5.0f", p) << Fixed("%9.1f", r.Values[p]) << Fixed("%13.1f", r.Compensated[p])
                 << Fixed("%9.1f", r.Std[p]) << "\n";
    }
    out << text.str();
    return kExitOk;
}

namespace {

struct ConsoleCalibrationOperator : CalibrationObserver {
    ConsoleCalibrationOperator(bool prompt, std::ostream& err) : prompt(prompt), err(err) {}
    bool prompt;
    std::ostream& err;
    std::string lastStatus;
    void Update(const CalibDisplays& d) override {
        if (d.Status == lastStatus)
            return;
        lastStatus = d.Status;
        if (prompt && !d.Status.empty())
            err << d.Status << "\n";
    }
    void ShowError(const std::string& message) override { err << message << "\n"; }
};

std::string GainsText(const GainRegisters& g) {
    return "CRG-L " + std::to_string(g.CrgL) + "  CRG-H " + std::to_string(g.CrgH) + "  MRG-L " +
           std::to_string(g.MrgL) + "  MRG-H " + std::to_string(g.MrgH);
}

std::string GainsJson(const GainRegisters& g) {
    return "{\"CrgL\": " + std::to_string(g.CrgL) + ", \"CrgH\": " + std::to_string(g.CrgH) +
           ", \"MrgL\": " + std::to_string(g.MrgL) + ", \"MrgH\": " + std::to_string(g.MrgH) + "}";
}

} // namespace

int RunCalibrate(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    const CliArgs cli(args, {{"simulate", OptionKind::OptionalValue},
                             {"pad", OptionKind::Flag},
                             {"fast", OptionKind::Flag},
                             {"trace", OptionKind::Value},
                             {"json", OptionKind::Flag},
                             {"workdir", OptionKind::Value}});
    NoPositional(cli);
    const auto workDirOption = WorkDirOption(cli);
    const Settings settings = StoredSettings(workDirOption);
    auto session = OpenSession(cli, settings, true);
    if (!session->link->Online()) {
        session->WriteTrace();
        err << kOfflineMessage << "\n";
        return kExitFailure;
    }
    ConsoleCalibrationOperator console(session->sim == nullptr, err);
    std::optional<SimulatedCalibrationOperator> simulated;
    if (session->sim)
        simulated.emplace(*session->sim, console);
    CalibrationObserver& op = simulated ? static_cast<CalibrationObserver&>(*simulated) : console;
    Calibration calibration(*session->link, *session->clock, op);
    CalibrationInput input;
    input.settings = settings;
    input.link = session->link->State();
    input.ProbeMode = !cli.Has("pad");
    const CalibrationResult r = calibration.Run(input);
    session->WriteTrace();

    // The real device's results go into the settings file; a simulation only into an explicit --workdir.
    bool written = false;
    if (r.SettingsChanged && (!session->sim || workDirOption)) {
        const auto dir = ResolveWorkDir(workDirOption);
        std::filesystem::create_directories(dir);
        WriteSettingsFile(dir / kSettingsFileName, r.SettingsAfter);
        written = true;
    }

    const bool stores = input.link.DeviceStoresCalibration;
    std::ostringstream text;
    if (cli.Has("json")) {
        text << "{\n  \"Mode\": \"" << (input.ProbeMode ? "probe" : "pad") << "\",\n"
             << "  \"StoresCalibration\": " << (stores ? "true" : "false") << ",\n"
             << "  \"SdvL\": " << r.ActiveSdvL << ",\n  \"SdvH\": " << r.ActiveSdvH << ",\n"
             << "  \"NrmResult\": " << r.NrmResult << ",\n  \"HiResult\": " << r.HiResult << ",\n";
        if (stores && r.Previous && r.Current)
            text << "  \"GainsBefore\": " << GainsJson(*r.Previous)
                 << ",\n  \"GainsAfter\": " << GainsJson(*r.Current) << ",\n";
        text << "  \"NrmPassed\": " << (r.NrmPassed ? "true" : "false") << ",\n"
             << "  \"HiPassed\": " << (r.HiPassed ? "true" : "false") << ",\n"
             << "  \"Passed\": " << (r.Passed ? "true" : "false") << ",\n"
             << "  \"SettingsWritten\": " << (written ? "true" : "false") << "\n}\n";
    } else if (r.Stopped) {
        text << "calibration stopped\n";
    } else {
        if (stores) {
            if (r.Previous)
                text << "Gains before: " << GainsText(*r.Previous) << "\n";
            if (r.Current)
                text << "Gains after:  " << GainsText(*r.Current) << "\n";
            text << "NRM: " << r.NrmResult << " of " << r.ActiveSdvL << "\n"
                 << "HI:  " << r.HiResult << " of " << r.ActiveSdvH << "\n";
        } else {
            text << (input.ProbeMode ? "Probe" : "Channel pad") << " SDV-L: " << r.ActiveSdvL << "\n"
                 << (input.ProbeMode ? "Probe" : "Channel pad") << " SDV-H: " << r.ActiveSdvH << "\n";
        }
        text << "NRM " << (r.NrmPassed ? "pass" : "failure") << ", HI " << (r.HiPassed ? "pass" : "failure")
             << "\n"
             << (r.Passed ? "pass" : "fail") << "\n";
    }
    out << text.str();
    return r.Passed ? kExitOk : kExitFailure;
}

} // namespace oruk::cli
