#include "CliRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace oruk {
namespace {

const QString kValues = "42,38,51,47,35,40,44,39,55,49,33,41,30,36,45,52,28,37,31,35,47,56,26,39";

class ChartCommands : public ::testing::Test {
protected:
    QTemporaryDir workDir, outDir, runtimeDir;

    CliRun Run(QStringList args) const {
        if (!args.contains("--workdir"))
            args << "--workdir" << workDir.path();
        return RunCli(args, OffscreenEnvironment(runtimeDir.path()), 60000);
    }
    QString Out(const QString& name) const { return outDir.filePath(name); }

    // Width and height from a PNG header.
    static std::pair<int, int> PngSize(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {0, 0};
        QByteArray h = f.read(24);
        if (h.size() < 24 || !h.startsWith("\x89PNG"))
            return {0, 0};
        auto be = [&](int at) {
            return (static_cast<unsigned char>(h[at]) << 24) | (static_cast<unsigned char>(h[at + 1]) << 16) |
                   (static_cast<unsigned char>(h[at + 2]) << 8) | static_cast<unsigned char>(h[at + 3]);
        };
        return {be(16), be(20)};
    }

    static int PdfPages(const QString& path) {
        QProcess p;
        p.start("pdfinfo", {path});
        p.waitForFinished(30000);
        QString info = QString::fromUtf8(p.readAllStandardOutput());
        int at = info.indexOf("Pages:");
        return at < 0 ? -1 : info.mid(at + 6).trimmed().split('\n').first().toInt();
    }

    static std::string PdfText(const QString& path) {
        QProcess p;
        p.start("pdftotext", {path, "-"});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput())
            .normalized(QString::NormalizationForm_KC)
            .toStdString();
    }

    // A subject with one stored measurement; returns its MKEY.
    QString StoreMeasurement(const QString& no, const QString& values) const {
        CliRun add = Run(
            {"subject", "add", "--no", no, "--name", "王小明", "--sex", "female", "--birth", "1980-01-01"});
        EXPECT_EQ(add.exitCode, 0) << add.err;
        CliRun save = Run({"save", "--subject", no, "--values", values, "--date", "2025-12-09T10:30",
                           "--memo", "頭痛三日"});
        EXPECT_EQ(save.exitCode, 0) << save.err;
        return QString::fromStdString(save.out).trimmed();
    }
};

TEST_F(ChartCommands, EveryChartAsPngAndSvgFromValues) {
    for (const char* name : {"energy-balance", "eci", "autonomic", "bar", "slope", "ryodoraku", "yin-yang",
                             "qi-blood", "five-elements"}) {
        const QString png = Out(QString(name) + ".png");
        CliRun run = Run({"chart", name, "--values", kValues, "--png", png});
        ASSERT_EQ(run.exitCode, 0) << name << run.err;
        EXPECT_EQ(PngSize(png), (std::pair<int, int>{965, 554})) << name;
    }
    CliRun sized = Run({"chart", "bar", "--values", kValues, "--size", "640x400", "--png", Out("small.png")});
    ASSERT_EQ(sized.exitCode, 0) << sized.err;
    EXPECT_EQ(PngSize(Out("small.png")), (std::pair<int, int>{640, 400}));
    CliRun svg = Run({"chart", "autonomic", "--values", kValues, "--sex", "female", "--svg", Out("a.svg")});
    ASSERT_EQ(svg.exitCode, 0) << svg.err;
    QFile f(Out("a.svg"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("<svg"));
    // --values never touches the working directory
    EXPECT_TRUE(QDir(workDir.path()).isEmpty());
}

TEST_F(ChartCommands, BadInputExitsTwoAndWritesNothing) {
    const QString png = Out("x.png"), pdf = Out("x.pdf");
    const std::vector<QStringList> cases = {
        {"chart", "pie", "--values", kValues, "--png", png},
        {"chart", "--values", kValues, "--png", png},
        {"chart", "bar", "--png", png},
        {"chart", "bar", "--values", kValues},
        {"chart", "bar", "--values", kValues, "--png", png, "--svg", Out("x.svg")},
        {"chart", "bar", "--values", kValues, "--mkey", "1", "--png", png},
        {"chart", "bar", "--values", "1,2,3", "--png", png},
        {"chart", "bar", "--values", QString(kValues).replace(0, 2, "0"), "--png", png},
        {"chart", "bar", "--values", kValues, "--size", "12x", "--png", png},
        {"chart", "bar", "--values", kValues, "--sex", "other", "--png", png},
        {"chart", "bar", "--values", kValues, "--birth", "2030-01-01", "--date", "2025-01-01", "--png", png},
        {"report", "--values", kValues},
        {"report", "--values", kValues, "--pdf", pdf, "--options", "0111"},
        {"report", "--values", kValues, "--pdf", pdf, "--options", QString(42, 'x')},
        {"compare", "--pdf", pdf},
        {"compare", "--mkey", "1", "--pdf", pdf, "--png", png},
        {"compare", "--mkey", "abc", "--pdf", pdf},
    };
    for (const QStringList& args : cases) {
        CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << "\n" << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
}

TEST_F(ChartCommands, ReportFromValuesFollowsTheOptions) {
    const QString pdf = Out("r.pdf");
    CliRun one = Run({"report", "--values", kValues, "--pdf", pdf, "--options",
                      "010000000000000000000000000000100000201111"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(PdfPages(pdf), 1);
    std::string text = PdfText(pdf);
    EXPECT_NE(text.find("ORUK 經絡能量分析報表"), std::string::npos) << text; // the settings' default title
    CliRun all = Run({"report", "--values", kValues, "--pdf", pdf, "--options",
                      "111111111110011111100000010100100000201111"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_GE(PdfPages(pdf), 5);
    text = PdfText(pdf);
    for (const char* part : {"能量平衡分析圖", "自律神經平衡圖", "身體能量狀況", "經絡能量辨證"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(ChartCommands, UnwritableOutputFailsWithoutAFile) {
    CliRun run = Run({"report", "--values", kValues, "--pdf", outDir.filePath("missing/r.pdf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_TRUE(QDir(outDir.path()).isEmpty());
}

TEST_F(ChartCommands, StoredMeasurementsChartReportAndCompare) {
    const QString first = StoreMeasurement("0042", kValues);
    const QString second = StoreMeasurement("0077", QString(kValues).replace("42,", "82,"));
    ASSERT_FALSE(first.isEmpty());
    CliRun chart = Run({"chart", "bar", "--mkey", first, "--png", Out("bar.png")});
    ASSERT_EQ(chart.exitCode, 0) << chart.err;
    EXPECT_EQ(PngSize(Out("bar.png")).first, 965);

    CliRun report = Run({"report", "--mkey", first, "--pdf", Out("r.pdf"), "--options",
                         "111111111110011111100000010100100000201111"});
    ASSERT_EQ(report.exitCode, 0) << report.err;
    std::string text = PdfText(Out("r.pdf"));
    EXPECT_NE(text.find("頭痛三日"), std::string::npos); // the treatment record
    EXPECT_NE(text.find("0042"), std::string::npos);
    EXPECT_NE(text.find("女 性"), std::string::npos);
    EXPECT_NE(text.find("2025/12/09 : 10:30:00"), std::string::npos) << text;

    CliRun single = Run({"compare", "--mkey", first, "--pdf", Out("c1.pdf")});
    ASSERT_EQ(single.exitCode, 0) << single.err;
    EXPECT_EQ(PdfPages(Out("c1.pdf")), 1);
    EXPECT_EQ(PdfText(Out("c1.pdf")).find("0077"), std::string::npos);
    CliRun both = Run({"compare", "--mkey", first, "--with", second, "--line", "--pdf", Out("c2.pdf")});
    ASSERT_EQ(both.exitCode, 0) << both.err;
    EXPECT_NE(PdfText(Out("c2.pdf")).find("0077"), std::string::npos);
    CliRun png = Run({"compare", "--mkey", first, "--with", second, "--png", Out("c.png")});
    ASSERT_EQ(png.exitCode, 0) << png.err;
    EXPECT_EQ(PngSize(Out("c.png")), (std::pair<int, int>{965, 554}));

    CliRun missing = Run({"compare", "--mkey", "9999", "--pdf", Out("none.pdf")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(QFile::exists(Out("none.pdf")));
}

} // namespace
} // namespace oruk
