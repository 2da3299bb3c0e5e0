#include "ReportFixture.h"
#include "charts/RecordingPrintDevice.h"
#include "charts/painter/PdfPrintDevice.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace oruk {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
using testing::ReportFixture;

std::string Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).toStdString();
}

int PdfPages(const std::string& path) {
    std::string info = Run("pdfinfo", {QString::fromStdString(path)});
    auto pos = info.find("Pages:");
    return pos == std::string::npos ? -1 : std::atoi(info.c_str() + pos + 6);
}

std::string PdfText(const std::string& path, int first = 0, int last = 0) {
    QStringList args{"-layout"};
    if (first > 0)
        args << "-f" << QString::number(first) << "-l" << QString::number(last);
    args << QString::fromStdString(path) << "-";
    return Run("pdftotext", args);
}

// Extracted PDF text compares without blanks (the layout squeezes them) and in compatibility
// form (CJK fonts map some characters to radical forms on extraction).
std::string Squeezed(const std::string& text) {
    QString s = QString::fromStdString(text).normalized(QString::NormalizationForm_KC);
    s.remove(QRegularExpression("\\s"));
    return s.toStdString();
}

bool Has(const std::string& text, const std::string& part) {
    return Squeezed(text).find(Squeezed(part)) != std::string::npos;
}

// Ops between page breaks: the texts of page `page` (1-based).
std::vector<std::string> PageTexts(const RecordingCanvas& rec, int page) {
    std::vector<std::string> out;
    int current = 1;
    for (const Op& op : rec.Ops()) {
        if (op.kind == Kind::NewPage)
            ++current;
        else if (op.kind == Kind::Text && current == page)
            out.push_back(op.text);
    }
    return out;
}

struct PdfOut {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/report.pdf";
};

TEST(AnalysisReport, SubjectBlockAndTableOnlyMakeOnePage) {
    ReportFixture fx;
    fx.in.options = ReportOptions::Parse("010000000000000000000000000000100000201111");
    PdfOut out;
    PdfPrintDevice pdf(out.path, 600);
    std::string error;
    ASSERT_TRUE(PrintAnalysisReport(pdf, fx.in, nullptr, &error)) << error;
    EXPECT_EQ(PdfPages(out.path), 1);
    std::string text = PdfText(out.path);
    EXPECT_TRUE(Has(text, "O.R.U.K.經絡能量分析系統報表")); // empty title: the default
    EXPECT_TRUE(Has(text, "素凡事業有限公司"));
    EXPECT_TRUE(Has(text, "2025/12/10 Printed.  第   1 頁")) << text;
    EXPECT_TRUE(Has(text, "測量日期: 2025/12/09 : 12:00:00"));
    EXPECT_TRUE(Has(text, "編號:  0042"));
    EXPECT_TRUE(Has(text, "王小明"));
    EXPECT_TRUE(Has(text, "受測時年齡:  46.0"));
    EXPECT_TRUE(Has(text, "標準電位測值 (一般測量法)"));
    EXPECT_TRUE(Has(text, "cmp."));
    EXPECT_TRUE(Has(text, "[42.0]"));
}

TEST(AnalysisReport, SubjectBlockCompleteOrSimpleAndHighPotential) {
    ReportFixture fx;
    fx.in.subject.Birth = 0;
    fx.in.record.HighVoltage = true;
    for (bool complete : {true, false}) {
        fx.in.options.subjectComplete = complete;
        fx.in.options.compensatedValues = false;
        RecordingPrintDevice dev(600);
        ASSERT_TRUE(PrintAnalysisReport(dev, fx.in));
        auto& rec = dev.Recording();
        EXPECT_EQ(rec.Texts("受測時年齡:  N.A.").size(), 1u);
        EXPECT_EQ(rec.Texts("地址:  台北市中正區").size(), complete ? 1u : 0u);
        EXPECT_EQ(rec.Texts("生日:   (N.A.)").size(), complete ? 1u : 0u);
        auto mode = rec.Texts("高電位量測值 (擴大測量法)");
        ASSERT_EQ(mode.size(), 1u);
        EXPECT_EQ(mode[0].font.colour, (Rgb{0xFF, 0, 0}));
        EXPECT_TRUE(rec.Texts("cmp.").empty());
        auto sex = rec.Texts("男 性");
        ASSERT_EQ(sex.size(), 1u);
        EXPECT_EQ(sex[0].v[0], dev.Recording().Texts("性別:")[0].v[0] + rec.TextWidth("性別: "));
    }
}

TEST(AnalysisReport, EveryChartStartsWhereItFitsAndLaterPagesAreNumbered) {
    ReportFixture fx;
    fx.in.options = ReportOptions::All();
    RecordingPrintDevice dev(600);
    ASSERT_TRUE(PrintAnalysisReport(dev, fx.in));
    EXPECT_TRUE(dev.Ended());
    auto& rec = dev.Recording();
    PrintLayout probe(dev);
    const int L = rec.TextHeight("X") + probe.MmToDots(1);
    const int limit = dev.PageHeight() - probe.MmToDots(5) - probe.MmToDots(86) - 5 * L;
    int charts = 0;
    for (ChartKind k :
         {ChartKind::Bar, ChartKind::Slope, ChartKind::YinYang, ChartKind::QiBlood, ChartKind::Eci,
          ChartKind::Ryodoraku, ChartKind::Autonomic, ChartKind::EnergyBalance, ChartKind::FiveElements}) {
        auto t = rec.Texts(std::string(ChartPaperTitle(k)));
        ASSERT_EQ(t.size(), 1u) << ChartName(k);
        EXPECT_LE(t[0].v[1] - L, limit) << ChartName(k); // the cursor before its title
        ++charts;
    }
    EXPECT_EQ(charts, 9);
    ASSERT_GE(dev.Pages(), 5);
    for (int page = 2; page <= dev.Pages(); ++page) {
        auto texts = PageTexts(rec, page);
        EXPECT_NE(std::find(texts.begin(), texts.end(), PageNumberText(page)), texts.end()) << page;
    }
    // the first page carries its number only in the header line
    auto first = PageTexts(rec, 1);
    EXPECT_EQ(std::find(first.begin(), first.end(), PageNumberText(1)), first.end());
}

TEST(AnalysisReport, FullReportPdfHasNumberedPagesAndEveryTitle) {
    ReportFixture fx;
    fx.in.options = ReportOptions::All();
    QTemporaryDir tmp;
    const char* keep = std::getenv("ORUK_CHART_OUTPUT");
    std::string path = (keep && *keep ? std::string(keep) : tmp.path().toStdString()) + "/report.pdf";
    PdfPrintDevice pdf(path, 600);
    std::string error;
    ASSERT_TRUE(PrintAnalysisReport(pdf, fx.in, nullptr, &error)) << error;
    int pages = PdfPages(path);
    ASSERT_GE(pages, 5);
    std::string second = PdfText(path, 2, 2);
    EXPECT_TRUE(Has(second, "第   2 頁")) << second;
    std::string all = PdfText(path);
    for (const char* title : {"經絡虛實分析圖 - 斜率曲線", "良導絡分析圖", "自律神經平衡圖", "能量平衡分析圖",
                              "五行分析圖 - 整合", "經絡能量辨證", "專家療程建議", "睡前泡腳"})
        EXPECT_TRUE(Has(all, title)) << title;
}

TEST(AnalysisReport, ConciseAndDetailedStyles) {
    ReportFixture fx;
    fx.in.options = ReportOptions::Parse("000010100000011100000000000000100000200000");
    fx.in.options.diet = true;
    fx.in.result.IndexGrade[1] = -3;
    fx.in.result.IndexGrade[2] = 1;
    auto texts = [&](bool detailed) {
        fx.in.options.detailed = detailed;
        RecordingPrintDevice dev(600);
        EXPECT_TRUE(PrintAnalysisReport(dev, fx.in));
        std::vector<std::string> out;
        for (const Op& op : dev.Recording().Select(Kind::Text))
            out.push_back(op.text);
        return out;
    };
    auto has = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    auto concise = texts(false), detailed = texts(true);
    // item lines in both
    for (const auto* v : {&concise, &detailed}) {
        EXPECT_TRUE(has(*v, "[ 1 ]   身體能量狀況"));
        EXPECT_TRUE(has(*v, "[ 3 ]【腎經異常辨證】"));
        EXPECT_TRUE(has(*v, "[ 1 ]睡眠調理"));
        EXPECT_TRUE(has(*v, "【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】"));
        EXPECT_TRUE(has(*v, "能量偏低的說明第一行"));
        EXPECT_TRUE(has(*v, "精神壓力偏高注意事項"));
        // meridian findings print their full note in both styles, with the Ryodoraku paragraph
        EXPECT_TRUE(has(*v, "腎經虛證第二行"));
        EXPECT_TRUE(has(*v, "腎經良導絡說明"));
        // prescriptions: deficiency texts with the compound paragraph
        EXPECT_TRUE(has(*v, "腎經配穴建議"));
        EXPECT_TRUE(has(*v, "腎經複方建議"));
        EXPECT_TRUE(has(*v, "腎經食療總論"));
    }
    // concise: only the first line of an index note, no main texts, no diet note, no program text
    EXPECT_FALSE(has(concise, "能量偏低的說明第二行"));
    EXPECT_FALSE(has(concise, "細節補充說明"));
    EXPECT_FALSE(has(concise, "身體能量說明第一段"));
    EXPECT_FALSE(has(concise, "腎經主治說明"));
    EXPECT_FALSE(has(concise, "腎經虛證食療"));
    EXPECT_FALSE(has(concise, "睡前泡腳。"));
    EXPECT_TRUE(has(detailed, "能量偏低的說明第二行"));
    EXPECT_TRUE(has(detailed, "身體能量說明第一段"));
    EXPECT_TRUE(has(detailed, "腎經主治說明"));
    EXPECT_TRUE(has(detailed, "腎經虛證食療"));
    EXPECT_TRUE(has(detailed, "睡前泡腳。"));
}

TEST(AnalysisReport, NoteFirstLineRedAndItemColours) {
    ReportFixture fx;
    fx.in.options = ReportOptions::Parse("100010100000000000000000000000100000200000");
    RecordingPrintDevice dev(600);
    ASSERT_TRUE(PrintAnalysisReport(dev, fx.in));
    auto& rec = dev.Recording();
    EXPECT_EQ(rec.Texts("腎經虛證說明")[0].font.colour, (Rgb{0xFF, 0, 0}));
    EXPECT_EQ(rec.Texts("腎經虛證第二行")[0].font.colour, (Rgb{0, 0, 0}));
    EXPECT_EQ(rec.Texts("[ 1 ]睡眠調理")[0].font.colour, (Rgb{0xFF, 0, 0}));
    EXPECT_EQ(rec.Texts("[ 3 ]【腎經異常辨證】")[0].font.colour, (Rgb{0, 0, 0xFF}));
    EXPECT_EQ(rec.Texts("經絡能量辨證  **本資料僅供學術研究參考**")[0].v[0], PrintLayout(dev).MmToDots(20));
}

TEST(AnalysisReport, HeaderSpaceOnTheFirstPageOrOnEveryPage) {
    ReportFixture fx;
    auto titleAndPageTwoTop = [&](const char* flags) {
        fx.in.options = ReportOptions::Parse(flags);
        RecordingPrintDevice dev(600);
        EXPECT_TRUE(PrintAnalysisReport(dev, fx.in));
        auto& rec = dev.Recording();
        int title = rec.Texts("O.R.U.K.經絡能量分析系統報表").at(0).v[1];
        // the first text below the page number on page 2
        int current = 1, top = -1;
        for (const Op& op : rec.Ops()) {
            if (op.kind == Kind::NewPage)
                ++current;
            else if (current == 2 && op.kind == Kind::Text && op.v[1] > 40) {
                top = op.v[1];
                break;
            }
        }
        return std::pair<int, int>{title, top};
    };
    RecordingPrintDevice probeDevice(600);
    PrintLayout probe(probeDevice);
    ASSERT_TRUE(probe.StartJob("t", 10, true, 0));
    const int mm10 = probe.MmToDots(10), mm15 = probe.MmToDots(15), space = probe.MmToDots(25);
    // charts from the third one on start page 2 at its top
    auto none = titleAndPageTwoTop("011000011000000000000000000000100000251111");
    auto first = titleAndPageTwoTop("011000011000000000000000000000101100251111");
    auto every = titleAndPageTwoTop("011000011000000000000000000000101000251111");
    EXPECT_EQ(none.first, mm10);
    EXPECT_EQ(first.first, mm10 + space);
    EXPECT_EQ(every.first, mm10 + space);
    ASSERT_GT(none.second, 0);
    EXPECT_EQ(first.second, none.second);
    EXPECT_EQ(every.second, none.second + space);
    EXPECT_EQ(none.second, mm15 + probe.LineHeight); // a chart title after one line
}

TEST(AnalysisReport, MissingReferenceRowPrintsOnlyTheItemLine) {
    ReportFixture fx;
    fx.in.options = ReportOptions::Parse("100010000000000000000000000000100000200000");
    fx.in.texts.erase(14);
    RecordingPrintDevice dev(600);
    ASSERT_TRUE(PrintAnalysisReport(dev, fx.in));
    auto& rec = dev.Recording();
    const int L = rec.TextHeight("X") + PrintLayout(dev).MmToDots(1);
    auto second = rec.Texts("[ 2 ]   精神壓力狀態"), third = rec.Texts("[ 3 ]【腎經異常辨證】");
    ASSERT_EQ(second.size(), 1u);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].v[1] - second[0].v[1], 2 * L); // the item line and its blank line, nothing else
}

TEST(AnalysisReport, LongTextsWrapAtTheBoxWidth) {
    RecordingCanvas c(1000, 1000, 600);
    c.font.size = 10;
    const int width = 700 * 600 / 96;
    std::string para;
    for (int i = 0; i < 120; ++i)
        para += "經";
    auto lines = WrapText(c, para + "\n\nshort words here", width);
    ASSERT_GE(lines.size(), 4u);
    for (const auto& l : lines)
        EXPECT_LE(c.TextWidth(l), width);
    std::string joined;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i)
        joined += lines[i];
    EXPECT_EQ(joined, para);
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines.back(), "short words here");
    // Latin text breaks between words
    auto words = WrapText(c, "alpha beta gamma delta", c.TextWidth("alpha beta ga"));
    EXPECT_EQ(words, (std::vector<std::string>{"alpha beta", "gamma delta"}));
    EXPECT_EQ(WrapText(c, "", width), (std::vector<std::string>{""}));
    // closing punctuation stays on the line before: "經經，" does not fit, so "經，" moves down
    auto punct = WrapText(c, "經經經，經", c.TextWidth("經經經"));
    EXPECT_EQ(punct, (std::vector<std::string>{"經經", "經，經"}));
}

struct AbortAfterQuestions : PrintObserver {
    int left;
    explicit AbortAfterQuestions(int n) : left(n) {}
    bool AbortRequested() override { return left-- <= 0; }
};

TEST(AnalysisReport, AbortedJobLeavesNoFile) {
    ReportFixture fx;
    fx.in.options = ReportOptions::All();
    PdfOut out;
    PdfPrintDevice pdf(out.path, 600);
    AbortAfterQuestions observer(3);
    std::string error;
    EXPECT_FALSE(PrintAnalysisReport(pdf, fx.in, &observer, &error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(out.path));
    EXPECT_TRUE(std::filesystem::is_empty(out.dir.path().toStdString()));

    RecordingPrintDevice dev(600);
    AbortAfterQuestions again(3);
    EXPECT_FALSE(PrintAnalysisReport(dev, fx.in, &again));
    EXPECT_TRUE(dev.Aborted());
    EXPECT_FALSE(dev.Ended());
    EXPECT_EQ(dev.Pages(), 1);
}

TEST(AnalysisReport, UnwritableTargetFailsWithAReason) {
    ReportFixture fx;
    PdfPrintDevice pdf("/nonexistent-dir/report.pdf", 600);
    std::string error;
    EXPECT_FALSE(PrintAnalysisReport(pdf, fx.in, nullptr, &error));
    EXPECT_FALSE(error.empty());
}

TEST(ReportOptionsString, PositionsAndShortStrings) {
    auto o = ReportOptions::Parse("011100000000000000000000000000100000201111");
    EXPECT_FALSE(o.detailed);
    EXPECT_TRUE(o.measuredValues && o.barChart && o.indexBlock);
    EXPECT_TRUE(o.colour);
    EXPECT_DOUBLE_EQ(o.headerSpaceMm, 20);
    EXPECT_TRUE(o.reportTitle && o.subjectData && o.compensatedValues && o.subjectComplete);
    EXPECT_EQ(o.FontSize(), 10);
    auto s = ReportOptions::Parse("1111");
    EXPECT_TRUE(s.indexBlock);
    EXPECT_FALSE(s.colour);
    EXPECT_DOUBLE_EQ(s.headerSpaceMm, 20);
    auto h = ReportOptions::Parse("000000000000000000000000000000011010250000");
    EXPECT_TRUE(h.smallFont && h.headerSpace && !h.headerFirstPageOnly);
    EXPECT_DOUBLE_EQ(h.headerSpaceMm, 25);
    EXPECT_DOUBLE_EQ(h.TopMarginMm(), 25);
    EXPECT_EQ(h.FontSize(), 8);
    EXPECT_TRUE(IsValidOptionString("011100000000000000000000000000100000201111"));
    EXPECT_FALSE(IsValidOptionString("0111"));
    EXPECT_FALSE(IsValidOptionString("01110000000000000000000000000010000020111x"));
}

} // namespace
} // namespace oruk
