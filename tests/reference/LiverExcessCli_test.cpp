// End to end: a provisioned working directory and a measurement with a clear liver excess give
// the liver's findings, prescription and diet texts and the liver reference program.

#include "ReferenceData.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oruk {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out, err;
};

CliRun Cli(const QStringList& args, const QString& runtimeDir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    process.setProcessEnvironment(env);
    process.start(ORUK_CLI_PATH, args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// First line of a text: enough to recognise it in the output whatever the indentation.
QString FirstLine(const QString& text) {
    return text.section('\n', 0, 0);
}

TEST(LiverExcessAnalysis, ShowsLiverTextsAndTheLiverProgram) {
    QTemporaryDir tmp, runtime;
    const QString work = tmp.path() + "/work";
    const CliRun init = Cli({"init", "--workdir", work}, runtime.path());
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();

    QStringList values;
    for (int i = 1; i <= 24; ++i)
        values << (i == 14 || i == 20 ? "60" : "40"); // both liver points well above the rest
    const CliRun run = Cli({"analyze", "--workdir", work, "--values", values.join(',')}, runtime.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QJsonObject liver;
    for (const auto& v : testing::ReadSourceJson("texts.json").value("rows").toArray())
        if (v.toObject().value("MKEY").toInt() == 8)
            liver = v.toObject();
    ASSERT_FALSE(liver.isEmpty());
    // Findings (excess state), Ryodoraku view, point combination, prescription, diet.
    for (const char* column : {"DtMA1", "DtMH1", "DtMH5", "DtMH3", "DtMH2", "DtMA3", "DtMH4"}) {
        const QString expected = FirstLine(liver.value(column).toString());
        EXPECT_TRUE(run.out.contains(expected)) << column << " missing: " << expected.toStdString();
    }
    // The deficiency texts do not belong to an excess.
    EXPECT_FALSE(run.out.contains(FirstLine(liver.value("DtML1").toString())));

    QString liverProgram;
    for (const auto& v : testing::ReadSourceJson("programs.json").value("programs").toArray())
        if (v.toObject().value("ProNo").toString() == "R01")
            liverProgram = v.toObject().value("ProName").toString();
    ASSERT_FALSE(liverProgram.isEmpty());
    EXPECT_TRUE(run.out.contains(liverProgram)) << liverProgram.toStdString() << " not suggested";
}

} // namespace
} // namespace oruk
