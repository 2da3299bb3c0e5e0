// Painting each screen chart at the chart box's design size, and printing the full analysis report
// (every section ticked) as a PDF at 600 dpi.
#include "analysis/Analysis.h"
#include "charts/AnalysisReport.h"
#include "charts/Charts.h"
#include "charts/painter/ChartOutput.h"
#include "charts/painter/GuiApp.h"
#include "charts/painter/PdfPrintDevice.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace oruk;

struct Sample {
    MeasurementRecord record;
    DisplayTables tables = DefaultDisplayTables();
    AnalysisResult result;
    Sample() {
        const double v[24] = {42, 38, 51, 47, 35, 40, 44, 39, 55, 49, 33, 41,
                              30, 36, 45, 52, 28, 37, 31, 35, 47, 56, 26, 39};
        for (int i = 1; i <= 24; ++i)
            record.Values[i] = v[i - 1];
        record.MeDate = 46000.5;
        result = Analyse(record, true, 29221, tables);
    }
};

const Sample& TheSample() {
    static Sample s;
    return s;
}

void BM_ScreenChart(benchmark::State& state) {
    EnsureGuiApplication();
    const Sample& s = TheSample();
    ChartInput in;
    in.result = &s.result;
    in.tables = &s.tables;
    const auto kind = static_cast<ChartKind>(state.range(0));
    for (auto _ : state) {
        QImage img = RenderChartImage(kind, in, 965, 554);
        benchmark::DoNotOptimize(img.bits());
    }
    state.SetLabel(std::string(ChartName(kind)));
}
BENCHMARK(BM_ScreenChart)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

void BM_FullReportPdf(benchmark::State& state) {
    EnsureGuiApplication();
    const Sample& s = TheSample();
    ReportInput in;
    in.subject.CustNo = "0042";
    in.subject.Name = "王小明";
    in.subject.Birth = 29221;
    in.record = s.record;
    in.result = s.result;
    in.tables = s.tables;
    in.options = ReportOptions::All();
    in.orgName = "素凡事業有限公司";
    in.orgUnit = "自然醫學研究中心";
    in.today = 46001;
    ReferenceTopic t;
    t.DtMA[1] = t.DtMA[2] = t.DtMA[3] = std::string(40, 'x') + "經絡說明文字，用於測試換行與分頁。";
    t.DtMH[1] = t.DtML[1] = t.DtMH[2] = t.DtML[2] = t.DtMH[3] = t.DtML[3] = t.DtMH[4] = t.DtML[4] =
        t.DtMH[5] = t.DtML[5] = t.DtMA[1];
    for (int code = 1; code <= 17; ++code)
        in.texts[code] = t;
    in.findings = {{13, "   身體能量狀況"}, {14, "   精神壓力狀態"}, {15, "   肌肉骨骼系統"},
                   {16, "   機體新陳代謝"}, {17, "   自律神經功能"}, {9, "【腎經異常辨證】"}};
    in.prescriptions = {{9, "【腎經異常】"}};
    in.diet = {{9, "【腎經異常食療】"}};
    in.programs = {{"睡眠調理", "每日按摩湧泉穴十分鐘。"}};
    in.treatmentRecord = "頭痛三日，建議休息。";
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/report.pdf";
    for (auto _ : state) {
        PdfPrintDevice device(path, 600);
        if (!PrintAnalysisReport(device, in))
            state.SkipWithError("report failed");
    }
}
BENCHMARK(BM_FullReportPdf)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
