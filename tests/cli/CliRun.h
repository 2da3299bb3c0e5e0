#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

namespace oruk {

// What one run of oruk-cli gave: its exit code (-1 when it crashed or did not finish) and output.
struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the built oruk-cli with args and waits for it; not finishing within timeoutMs fails the test.
inline CliRun RunCli(const QStringList& args,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                     int timeoutMs = 60000) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(ORUK_CLI_PATH, args);
    EXPECT_TRUE(process.waitForFinished(timeoutMs));
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// The environment of a command that draws: no display, and a runtime directory of its own.
inline QProcessEnvironment OffscreenEnvironment(const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    return env;
}

} // namespace oruk
