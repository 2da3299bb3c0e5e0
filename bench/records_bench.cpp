// Record operations on a large database: 100,000 subjects and 1,000,000 measurements, each figure
// beside the same work done row by row (a full result set walked in the program, one commit per
// appended row). Run by hand: build/bin/records_bench [--rows-scale=0.1 for a quick look]
// Generating the database takes a few minutes; every figure is printed by Google Benchmark.

#include "analysis/OleDate.h"
#include "records/DatabaseStartup.h"
#include "records/Records.h"
#include "records/Schema.h"
#include "records/Transfer.h"

#include <QCoreApplication>
#include <QSqlRecord>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace oruk;

namespace {

int g_subjects = 100000;
int g_measurementsPerSubject = 10;
constexpr int kScreenRows = 40;      // the first screen of the subject grid
constexpr int kRowByRowSample = 500; // rows appended one commit each; the rate is extrapolated

fs::path g_dir;
std::unique_ptr<DbSession> g_main;
std::unique_ptr<Records> g_records;

std::string SubjectNumber(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "S%06d", i);
    return buf;
}

void Generate() {
    const auto start = std::chrono::steady_clock::now();
    fs::create_directories(g_dir / "usb");
    CreateTemplateFile(g_dir / dbfiles::Template);
    CreateTemplateFile(g_dir / dbfiles::Main);
    DbSession db(g_dir / dbfiles::Main, DbMode::ReadWrite);
    db.Exec("PRAGMA synchronous=OFF"); // generation only
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> birth(15000, 40000), digit(0, 9), pick(0, 19);
    std::uniform_real_distribution<double> value(20, 90);
    const char* const syllables[] = {"Chen", "Lin",  "Wang", "Li", "Zhang", "Liu", "Huang",
                                     "Wu",   "Tsai", "Yang", "陳", "林",    "黃",  "張",
                                     "李",   "王",   "吳",   "劉", "蔡",    "楊"};
    DbTransaction tx(db);
    QSqlQuery subject =
        db.Prepare("INSERT INTO MECUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, TEL3, EMAIL) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    QString cols = "CUSTNO, MEDATE, MEVOTA", marks = "?, ?, ?";
    for (int i = 1; i <= 24; ++i)
        cols += QString(", ME%1").arg(i), marks += ", ?";
    QSqlQuery measurement = db.Prepare("INSERT INTO MEDATA (" + cols + ", STD) VALUES (" + marks + ", ?)");
    PointValues std{};
    std.fill(87.5);
    const QString stdText = QString::fromStdString(FormatStd(std));
    for (int i = 0; i < g_subjects; ++i) {
        // Numbers are spread over the key space instead of arriving in order.
        const int n = static_cast<int>((static_cast<long long>(i) * 7919) % g_subjects);
        const QString no = QString::fromStdString(SubjectNumber(n));
        QString tel = "09";
        for (int k = 0; k < 8; ++k)
            tel += QChar('0' + digit(rng));
        const QString name = QString(syllables[pick(rng)]) + syllables[pick(rng)];
        DbSession::Run(subject,
                       {no, name, n % 2, birth(rng), QString("台北市 %1 路 %2 號").arg(pick(rng)).arg(n), tel,
                        tel, tel, QString("u%1@example.com").arg(n)});
        for (int m = 0; m < g_measurementsPerSubject; ++m) {
            QVariantList v{no, 44000.0 + m * 30 + (n % 500) + 0.4, m % 2};
            for (int p = 1; p <= 24; ++p)
                v << value(rng);
            v << stdText;
            DbSession::Run(measurement, v);
        }
    }
    RecomputeLatestMeasurementDates(db);
    tx.Commit();
    db.Exec("ANALYZE");
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cerr << "generated " << g_subjects << " subjects and " << g_subjects * g_measurementsPerSubject
              << " measurements in " << s << " s\n";
}

// ---- subject list: first screen in every sort order

void BM_SubjectList_FirstScreen(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto rows = g_records->ListSubjects(sort, 0, kScreenRows);
        benchmark::DoNotOptimize(rows);
        benchmark::DoNotOptimize(g_records->SubjectCount());
    }
    state.SetLabel(SortSql(sort));
}

// The row-by-row way: the sorted query is run and every row read into the grid's result set.
void BM_SubjectList_WholeResultSet(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QSqlQuery q = g_main->Exec(QString::fromStdString(SortSql(sort)));
        int rows = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.value(0));
            ++rows;
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel(SortSql(sort));
}

// ---- search

void BM_PrefixSearch(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    const std::string text = sort == 2 || sort == -2 ? "黃吳" : sort == 7 ? "0912" : "S0777";
    for (auto _ : state)
        benchmark::DoNotOptimize(g_records->Search(sort, text));
    state.SetLabel(SortSql(sort) + " search " + text);
}

// Locating in the program: walk the sorted result set until a row begins with the text.
void BM_PrefixSearch_Walk(benchmark::State& state) {
    const int sort = static_cast<int>(state.range(0));
    const QString text = sort == 2 || sort == -2 ? "黃吳" : sort == 7 ? "0912" : "S0777";
    const QString field = SortField(sort);
    for (auto _ : state) {
        QSqlQuery q = g_main->Exec(QString::fromStdString(SortSql(sort)));
        const int column = q.record().indexOf(field); // names match in any letter case
        int position = 0;
        while (q.next() && !q.value(column).toString().startsWith(text, Qt::CaseInsensitive))
            ++position;
        benchmark::DoNotOptimize(position);
    }
    state.SetLabel(SortSql(sort) + " walk " + text.toStdString());
}

// ---- one subject's measurements

void BM_SubjectMeasurements(benchmark::State& state) {
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(g_records->MeasurementsOf(SubjectNumber(i++ % g_subjects)));
}

void BM_SubjectMeasurements_TableScan(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        QSqlQuery q = g_main->Exec("SELECT * FROM MEDATA NOT INDEXED WHERE CUSTNO = ? ORDER BY MEDATE DESC",
                                   {QString::fromStdString(SubjectNumber(i++ % g_subjects))});
        int rows = 0;
        while (q.next())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
}

// ---- saving one measurement durably

MeasurementRecord SampleRecord(double date) {
    MeasurementRecord r;
    r.MeDate = date;
    r.Values.fill(51.5);
    r.Std.fill(90);
    return r;
}

void BM_SaveMeasurement(benchmark::State& state) {
    double date = 47000;
    for (auto _ : state)
        benchmark::DoNotOptimize(g_records->SaveMeasurement("S000123", SampleRecord(date += 0.001)));
}

// Row by row: the append is posted, then the subject's latest date in a second post.
void BM_SaveMeasurement_TwoPosts(benchmark::State& state) {
    double date = 48000;
    QString cols = "CUSTNO, MEDATE, MEVOTA", marks = "?, ?, ?";
    for (int i = 1; i <= 24; ++i)
        cols += QString(", ME%1").arg(i), marks += ", ?";
    for (auto _ : state) {
        date += 0.001;
        QVariantList v{"S000124", date, 0};
        for (int i = 1; i <= 24; ++i)
            v << 51.5;
        g_main->Exec("INSERT INTO MEDATA (" + cols + ") VALUES (" + marks + ")", v);
        g_main->Exec("UPDATE MECUST SET PREMEA = ? WHERE CUSTNO = ? AND PREMEA < ?", {date, "S000124", date});
    }
}

// ---- export and re-import of everything

void BM_ExportAndReimportAll(benchmark::State& state) {
    TransferObserver observer;
    for (auto _ : state) {
        const auto out = ExportTransfer(*g_main, g_dir, g_dir / "usb", {true, true}, observer);
        if (!out.ok)
            state.SkipWithError(out.message.c_str());
        const auto in = ImportTransfer(*g_main, g_dir, g_dir / "usb", {true, true}, true, observer);
        if (!in.ok)
            state.SkipWithError(in.message.c_str());
    }
    state.counters["rows"] = static_cast<double>(g_subjects) * (1 + g_measurementsPerSubject);
}

// Row by row: every row read and appended to the transfer file with its own commit. Run on a
// sample; the counter extrapolates the seconds for all rows of one export (an import is the same
// work again in the other direction).
void BM_ExportRowByRow_Sample(benchmark::State& state) {
    const fs::path file = g_dir / "rowbyrow.mdb";
    CreateTemplateFile(file);
    DbSession xfer(file, DbMode::ReadWrite);
    QString cols = "CustNo, MeDate, MeVota, MEMO1, MEMO2, AutoKey, STD, PrtFG",
            marks = "?, ?, ?, ?, ?, ?, ?, ?";
    for (int i = 1; i <= 24; ++i)
        cols += QString(", ME%1").arg(i), marks += ", ?";
    QSqlQuery insert = xfer.Prepare("INSERT INTO MEDATA (" + cols + ") VALUES (" + marks + ")");
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QSqlQuery q = g_main->Exec("SELECT " + cols + " FROM MEDATA LIMIT ?", {kRowByRowSample});
        while (q.next()) {
            QVariantList v;
            for (int c = 0; c < 32; ++c)
                v << q.value(c);
            DbSession::Run(insert, v); // autocommit: one durable commit per posted row
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double rows = static_cast<double>(g_subjects) * (1 + g_measurementsPerSubject);
    const double rate = static_cast<double>(state.iterations()) * kRowByRowSample / seconds;
    state.counters["rows/s"] = rate;
    state.counters["sample rows"] = kRowByRowSample;
    // The same rate over every row, exported and imported again.
    state.counters["est. s export+import all"] = 2 * rows / rate;
}

void RegisterAll() {
    for (int sort : {1, -1, 2, -2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        benchmark::RegisterBenchmark(("SubjectList/first_screen/sort:" + std::to_string(sort)).c_str(),
                                     BM_SubjectList_FirstScreen)
            ->Arg(sort)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("SubjectList/row_by_row_whole_set/sort:" + std::to_string(sort)).c_str(),
            BM_SubjectList_WholeResultSet)
            ->Arg(sort)
            ->Iterations(3)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    for (int sort : {1, -1, 2, 7}) {
        benchmark::RegisterBenchmark(("PrefixSearch/indexed/sort:" + std::to_string(sort)).c_str(),
                                     BM_PrefixSearch)
            ->Arg(sort)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PrefixSearch/row_by_row_walk/sort:" + std::to_string(sort)).c_str(),
                                     BM_PrefixSearch_Walk)
            ->Arg(sort)
            ->Iterations(3)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("SubjectMeasurements/indexed", BM_SubjectMeasurements)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SubjectMeasurements/row_by_row_scan", BM_SubjectMeasurements_TableScan)
        ->Iterations(5)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SaveMeasurement/one_transaction", BM_SaveMeasurement)
        ->Iterations(50)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SaveMeasurement/row_by_row_two_posts", BM_SaveMeasurement_TwoPosts)
        ->Iterations(50)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ExportAndReimport/all_rows_bulk", BM_ExportAndReimportAll)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("Export/row_by_row_sample", BM_ExportRowByRow_Sample)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kSecond);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows-scale=", 13) == 0) {
            g_subjects = std::max(100, static_cast<int>(g_subjects * std::atof(argv[i] + 13)));
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    g_dir = fs::temp_directory_path() / ("oruk-records-bench-" + std::to_string(::getpid()));
    Generate();
    g_main = std::make_unique<DbSession>(g_dir / dbfiles::Main, DbMode::ReadWrite);
    g_records = std::make_unique<Records>(*g_main);
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_records.reset();
    g_main.reset();
    std::error_code ec;
    fs::remove_all(g_dir, ec);
    return 0;
}
