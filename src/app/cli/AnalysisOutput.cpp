#include "app/cli/AnalysisOutput.h"

#include "analysis/IndexTexts.h"
#include "analysis/OleDate.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <ostream>

namespace oruk::cli {

namespace {

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Terminal columns of a UTF-8 text: the Chinese characters take two.
std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        width += length >= 3 ? 2 : 1;
        i += length;
    }
    return width;
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string out(text);
    const std::size_t w = DisplayWidth(text);
    if (w < width)
        out.append(width - w, ' ');
    return out;
}

std::string PadLeft(std::string_view text, std::size_t width) {
    const std::size_t w = DisplayWidth(text);
    std::string out(w < width ? width - w : 0, ' ');
    out += text;
    return out;
}

std::string ShortDate(double days) {
    const CivilDateTime t = FromOleDate(days);
    const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan);
    return taiwan.toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat).toStdString();
}

std::string TimeOfDay(double days) {
    const CivilDateTime t = FromOleDate(days);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, static_cast<int>(t.second));
    return buffer;
}

std::string GradeText(int grade) {
    return grade > 0 ? "+" + std::to_string(grade) : grade == 0 ? " 0" : std::to_string(grade);
}

// A balance cell: "%3.1f", with a full score bracketed.
std::string BalanceCell(double value) {
    const std::string text = Format("%3.1f", value);
    return text == "10.0" ? "[10.0]" : text;
}

template <class Table> std::string NumberArray(const Table& table) {
    std::vector<std::string> items;
    for (const auto& v : table)
        items.push_back(JsonNumber(static_cast<double>(v)));
    return JsonArray(items);
}

template <class Table> std::string IntArray(const Table& table) {
    std::vector<std::string> items;
    for (int v : table)
        items.push_back(std::to_string(v));
    return JsonArray(items);
}

} // namespace

void WriteAnalysisJson(std::ostream& out, const AnalysisResult& r, const AnalysisExtras& extras) {
    std::vector<std::string> elementMean, elementGrade, indexText;
    for (int row = 1; row <= 7; ++row) {
        elementMean.push_back(NumberArray(r.ElementMean[row]));
        elementGrade.push_back(IntArray(r.ElementGrade[row]));
    }
    for (const std::string& text : r.IndexText)
        indexText.push_back(JsonString(text));

    const std::vector<std::pair<std::string, std::string>> members{
        {"BodyEnergy", JsonNumber(r.BodyEnergy)},
        {"QualityAverage", JsonNumber(r.QualityAverage)},
        {"LowEnergy", r.LowEnergy ? "true" : "false"},
        {"Compensated", NumberArray(r.Compensated)},
        {"GroupMean", NumberArray(r.GroupMean)},
        {"YinMean", JsonNumber(r.YinMean)},
        {"YangMean", JsonNumber(r.YangMean)},
        {"UpperMean", JsonNumber(r.UpperMean)},
        {"LowerMean", JsonNumber(r.LowerMean)},
        {"LeftMean", JsonNumber(r.LeftMean)},
        {"RightMean", JsonNumber(r.RightMean)},
        {"GroupMin", JsonNumber(r.GroupMin)},
        {"GroupMax", JsonNumber(r.GroupMax)},
        {"BandUnit", JsonNumber(r.BandUnit)},
        {"UpBand1", JsonNumber(r.UpBand1)},
        {"UpBand2", JsonNumber(r.UpBand2)},
        {"DownBand1", JsonNumber(r.DownBand1)},
        {"DownBand2", JsonNumber(r.DownBand2)},
        {"DiffBand1", JsonNumber(r.DiffBand1)},
        {"DiffBand2", JsonNumber(r.DiffBand2)},
        {"ElementPairMean", NumberArray(r.ElementPairMean)},
        {"ElementMean", JsonArray(elementMean)},
        {"ElementGrade", JsonArray(elementGrade)},
        {"Deviation", NumberArray(r.Deviation)},
        {"PointGrade", IntArray(r.PointGrade)},
        {"MeridianGrade", IntArray(r.MeridianGrade)},
        {"SideGrade", IntArray(r.SideGrade)},
        {"PairMeanGrade", IntArray(r.PairMeanGrade)},
        {"PairDiffGrade", IntArray(r.PairDiffGrade)},
        {"IndexGrade", IntArray(r.IndexGrade)},
        {"IndexText", JsonArray(indexText)},
        {"ExpectedEnergy", JsonNumber(r.ExpectedEnergy)},
        {"OverallBalance", JsonNumber(r.OverallBalance)},
        {"PointBalance", NumberArray(r.PointBalance)},
        {"MeridianBalance", JsonNumber(r.MeridianBalance)},
    };
    out << "{\n";
    bool first = true;
    for (const auto* list : {&members, &extras.JsonMembers})
        for (const auto& [key, value] : *list) {
            out << (first ? "" : ",\n") << "  " << JsonString(key) << ": " << value;
            first = false;
        }
    out << "\n}\n";
}

void WriteAnalysisText(std::ostream& out, const AnalysisResult& r, const MeasurementRecord& record,
                       const AnalysisSubject& subject, const DisplayTables& tables, double today,
                       const AnalysisExtras& extras) {
    const bool hasBirth = subject.Birth > 0;
    out << "體能狀況\n";
    out << "編號: " << subject.CustNo << "\n";
    out << "姓名: " << subject.Name << "\n";
    out << "生日: " << (hasBirth ? ShortDate(subject.Birth) : "") << "\n";
    out << "年齡: " << (hasBirth ? Format("%3.1f", (today - subject.Birth) / 365) : "") << "\n";
    out << "電話: " << subject.Tel << "\n";
    out << "性別: " << (subject.Male ? "男  性" : "女  性") << "\n";
    out << "測量方式: " << (record.HighVoltage ? "高電位(擴大)  以高電位能量評分" : "標準電位(正常)")
        << "\n\n";

    // The five index rows: label, means and ratio, normal range, grade, text.
    struct Row {
        std::string means;
        std::string ratio;
    };
    const double autonomicMax = r.GroupMax == 0 ? 1.0 : r.GroupMax;
    auto meansText = [](const char* a, double x, const char* b, double y) {
        return std::string(a) + Format("%6.1f", x) + " / " + b + Format("%6.1f", y) + " =";
    };
    const Row rows[kIndexCount] = {
        {"經絡平均能量=" + Format("%5.1f", r.BodyEnergy), ""},
        {meansText("上", r.UpperMean, "下", r.LowerMean), Format("%5.2f", r.UpperMean / r.LowerMean)},
        {meansText("左", r.LeftMean, "右", r.RightMean), Format("%5.2f", r.LeftMean / r.RightMean)},
        {meansText("陰", r.YinMean, "陽", r.YangMean), Format("%5.2f", r.YinMean / r.YangMean)},
        {meansText("高", autonomicMax, "低", r.GroupMin), Format("%5.2f", autonomicMax / r.GroupMin)},
    };
    for (int k = 1; k <= kIndexCount; ++k) {
        const Row& row = rows[k - 1];
        out << PadRight(IndexLabel(k), 16)
            << PadRight(row.ratio.empty() ? row.means : row.means + " " + row.ratio, 30)
            << PadRight(IndexRangeText(k, subject.Male), 12) << GradeText(r.IndexGrade[k]) << "  "
            << r.IndexText[k] << "\n";
    }
    if (r.LowEnergy)
        out << "平均能量過低\n";
    out << "\n";

    out << "整體平衡指標: " << Format("%3.1f", r.OverallBalance) << "\n";
    out << "經絡平衡指標: " << Format("%3.1f", r.MeridianBalance) << "\n\n";

    // Balance grid: meridians in display order, then the average row.
    constexpr std::size_t kNameWidth = 8, kCellWidth = 8;
    out << PadRight("", kNameWidth) << PadLeft("左 側", kCellWidth) << PadLeft("右 側", kCellWidth)
        << PadLeft("合 併", kCellWidth) << "\n";
    double leftSum = 0, rightSum = 0;
    for (int k = 1; k <= kMeridianCount; ++k) {
        const int m = tables.MeridianOrder[k];
        const double left = r.PointBalance[LeftPointOf(m)], right = r.PointBalance[RightPointOf(m)];
        leftSum += left;
        rightSum += right;
        out << PadRight(MeridianTable()[m].Name, kNameWidth) << PadLeft(BalanceCell(left), kCellWidth)
            << PadLeft(BalanceCell(right), kCellWidth) << PadLeft(BalanceCell((left + right) / 2), kCellWidth)
            << "\n";
    }
    out << PadRight("平均", kNameWidth) << PadLeft(BalanceCell(leftSum / kMeridianCount), kCellWidth)
        << PadLeft(BalanceCell(rightSum / kMeridianCount), kCellWidth)
        << PadLeft(BalanceCell(r.MeridianBalance), kCellWidth) << "\n\n";

    // Value grid: one column per meridian in display order, left and right rows.
    out << "經絡能量測定值\n" << PadRight("", kNameWidth);
    for (int k = 1; k <= kMeridianCount; ++k)
        out << PadLeft(MeridianTable()[tables.MeridianOrder[k]].Name, 7);
    out << "\n";
    for (const Side side : {Side::Left, Side::Right}) {
        out << PadRight(SideText(side), kNameWidth);
        for (int k = 1; k <= kMeridianCount; ++k) {
            const int m = tables.MeridianOrder[k];
            out << PadLeft(
                Format("%3.1f", record.Values[side == Side::Left ? LeftPointOf(m) : RightPointOf(m)]), 7);
        }
        out << "\n";
    }
    out << "Avg: " << Format("%3.1f", r.BodyEnergy) << "\n";
    if (std::any_of(record.Std.begin(), record.Std.end(), [](double s) { return s != 0; })) {
        out << "測量檢定值\n" << PadRight("", kNameWidth);
        for (int k = 1; k <= kMeridianCount; ++k)
            out << PadLeft(MeridianTable()[tables.MeridianOrder[k]].Name, 7);
        out << "\n";
        for (const Side side : {Side::Left, Side::Right}) {
            out << PadRight(SideText(side), kNameWidth);
            for (int k = 1; k <= kMeridianCount; ++k) {
                const int m = tables.MeridianOrder[k];
                const double score = record.Std[side == Side::Left ? LeftPointOf(m) : RightPointOf(m)];
                out << PadLeft(score > 0 ? Format("%3.1f", score) : "0.0", 7);
            }
            out << "\n";
        }
        out << "Avg: " << Format("%3.1f", r.QualityAverage) << "\n";
    }
    out << "測量日期: " << (record.MeDate != 0 ? ShortDate(record.MeDate) : "") << "\n";
    out << "測量時間: " << (record.MeDate != 0 ? TimeOfDay(record.MeDate) : "") << "\n";
    out << "測量年齡: " << (hasBirth ? Format("%3.1f", (record.MeDate - subject.Birth) / 365) : "") << "\n";

    for (const std::string& section : extras.TextSections)
        out << "\n" << section << "\n";
}

} // namespace oruk::cli
