#include "charts/AnalysisReport.h"

#include "analysis/OleDate.h"
#include "charts/ChartFrame.h"
#include "charts/Charts.h"

#include <cmath>

namespace oruk {

namespace {

std::string Trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Length in bytes of the UTF-8 sequence starting with c.
std::size_t CharLen(unsigned char c) {
    return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
}

// Punctuation that never starts a line: a break before it moves one character back.
bool ClosesLine(const std::string& text, std::size_t at) {
    static const char* kClosing[] = {"、", "，", "。", "：", "；", "！", "？",
                                     "）", "】", "」", "』", "》", "〉", "…"};
    for (const char* p : kClosing)
        if (text.compare(at, std::char_traits<char>::length(p), p) == 0)
            return true;
    return false;
}

// Screen pixel widths of the hidden wrapping boxes.
constexpr int kMainBoxPx = 700;
constexpr int kNoteBoxPx = 600;

} // namespace

std::string ReportDateText(double days) {
    CivilDateTime t = FromOleDate(days);
    return Format("%04d/%02d/%02d", t.year, t.month, t.day);
}

std::string ReportTimeText(double days) {
    CivilDateTime t = FromOleDate(days);
    return Format("%02d:%02d:%02d", t.hour, t.minute, static_cast<int>(std::floor(t.second + 1e-6)));
}

std::string AgeText(double birth, double date) {
    if (!(birth > 0))
        return "N.A.";
    return Format("%3.1f", (date - birth) / 365.0);
}

std::vector<std::string> WrapText(Canvas& canvas, const std::string& text, int maxWidth) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!para.empty() && para.back() == '\r')
            para.pop_back();
        if (para.empty())
            lines.emplace_back();
        while (!para.empty()) {
            if (canvas.TextWidth(para) <= maxWidth) {
                lines.push_back(para);
                break;
            }
            // Longest prefix that fits; break after the last blank or before a wide character.
            std::size_t fit = 0, lastBreak = 0;
            for (std::size_t i = 0; i < para.size();) {
                std::size_t len = CharLen(static_cast<unsigned char>(para[i]));
                if (i > 0 && canvas.TextWidth(para.substr(0, i + len)) > maxWidth)
                    break;
                bool wide = len >= 3;
                if (wide && i > 0 && !ClosesLine(para, i))
                    lastBreak = i; // a CJK character may start a line
                i += len;
                fit = i;
                if (para[i - 1] == ' ' || (wide && !(i < para.size() && ClosesLine(para, i))))
                    lastBreak = i;
            }
            std::size_t cut = (lastBreak > 0 && fit < para.size()) ? lastBreak : fit;
            if (cut == 0)
                cut = CharLen(static_cast<unsigned char>(para[0]));
            std::string line = para.substr(0, cut);
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(line);
            para.erase(0, cut);
            std::size_t lead = para.find_first_not_of(' ');
            para.erase(0, lead == std::string::npos ? para.size() : lead);
        }
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return lines;
}

namespace {

class Report {
public:
    Report(PrintDevice& device, const ReportInput& in, PrintObserver* observer)
        : in_(in), o_(in.options), layout_(device, observer) {
        chart_.result = &in.result;
        chart_.tables = &in.tables;
        chart_.male = in.subject.Male;
        chart_.workDir = in.workDir;
    }

    bool Run(std::string* error) {
        std::string title = kReportJobPrefix + Trim(in_.subject.CustNo);
        if (!layout_.StartJob(title, o_.FontSize(), o_.colour, o_.TopMarginMm())) {
            if (error)
                *error = layout_.device().ErrorText();
            layout_.EndJob();
            return false;
        }
        PageHeader();
        struct Section {
            bool on;
            void (Report::*print)();
        };
        const Section sections[] = {
            {o_.subjectData, &Report::SubjectBlock},
            {o_.measuredValues, &Report::MeasurementTable},
            {o_.barChart, &Report::BarChart},
            {o_.slopeChart, &Report::SlopeChart},
            {o_.yinYangChart, &Report::YinYangChart},
            {o_.qiBloodChart, &Report::QiBloodChart},
            {o_.eciChart, &Report::EciChart},
            {o_.ryodorakuChart, &Report::RyodorakuChart},
            {o_.autonomicChart, &Report::AutonomicChart},
            {o_.energyBalanceChart, &Report::EnergyBalanceChart},
            {o_.fiveElementsChart, &Report::FiveElementsChart},
            {o_.indexBlock, &Report::IndexBlock},
            {o_.findings, &Report::Findings},
            {o_.treatmentRecord, &Report::TreatmentRecord},
            {o_.prescriptions, &Report::Prescriptions},
            {o_.diet, &Report::Diet},
            {o_.expertPrograms, &Report::ExpertPrograms},
        };
        for (const Section& s : sections) {
            if (layout_.PrintAborted())
                break;
            if (s.on)
                (this->*s.print)();
        }
        bool ok = layout_.EndJob();
        if (!ok && error && !layout_.PrintAborted())
            *error = layout_.device().ErrorText();
        return ok;
    }

private:
    const ReportInput& in_;
    const ReportOptions& o_;
    PrintLayout layout_;
    ChartInput chart_;

    Canvas& C() { return layout_.canvas(); }
    int Mm(double mm) const { return layout_.MmToDots(mm); }
    void Colour(Rgb c) { C().font.colour = layout_.PrintColour(c); }
    void ReportFont() {
        C().font.name = "Tahoma";
        C().font.size = layout_.FontSize;
        C().font.bold = false;
    }
    void Text(int x, int y, Rgb colour, const std::string& t) {
        Colour(colour);
        C().Text(x, y, t);
    }
    void Centred(int y, Rgb colour, const std::string& t) {
        Colour(colour);
        C().Text(layout_.RightEdge / 2 - C().TextWidth(t) / 2, y, t);
    }
    void Right(int xRight, int y, Rgb colour, const std::string& t) {
        Colour(colour);
        C().Text(xRight - C().TextWidth(t), y, t);
    }

    void PageHeader() {
        ReportFont();
        Colour(kBlack);
        C().brush.style = BrushStyle::None;
        if (layout_.PrintAborted())
            return;
        const int L = layout_.LineHeight;
        Right(layout_.RightEdge - 30, 40, kBlack,
              ReportDateText(in_.today) + " Printed.  第" + Format("%4d", layout_.PageNumber) + " 頁");
        if (o_.headerSpace)
            layout_.CursorY += Mm(o_.headerSpaceMm);
        if (o_.reportTitle) {
            std::string title = Trim(in_.reportTitle);
            if (title.empty())
                title = kDefaultReportTitle;
            C().font.size = layout_.FontSize + 4;
            Centred(layout_.CursorY, kBlack, title);
            layout_.CursorY += Mm(4) + L;
            C().font.size = layout_.FontSize + 2;
            Centred(layout_.CursorY, kBlue, in_.orgName);
            layout_.CursorY += L;
            Centred(layout_.CursorY, kBlue, in_.orgUnit);
            layout_.CursorY += L;
        }
        C().font.size = layout_.FontSize;
        Right(layout_.RightEdge - Mm(10), layout_.CursorY, kBlack,
              "測量日期: " + ReportDateText(in_.record.MeDate) + " : " + ReportTimeText(in_.record.MeDate));
        Text(Mm(20), layout_.CursorY, kRed, std::string(kProductName) + " Version: 6");
        layout_.CursorY += L;
        C().pen = Pen{layout_.PrintColour(kBlack), Mm(1) / 5, PenStyle::Solid};
        C().MoveTo(Mm(10), layout_.CursorY);
        C().LineTo(layout_.RightEdge - Mm(2), layout_.CursorY);
        layout_.CursorY += Mm(3) + (L % 2);
    }

    void Sex(int x) {
        Text(x, layout_.CursorY, kBlack, "性別:");
        int sx = x + C().TextWidth("性別: ");
        if (in_.subject.Male)
            Text(sx, layout_.CursorY, kGreen, "男 性");
        else
            Text(sx, layout_.CursorY, kRed, "女 性");
        Colour(kBlack);
    }

    void SubjectBlock() {
        ReportFont();
        C().brush.style = BrushStyle::None;
        const SubjectInfo& s = in_.subject;
        const std::string ageAtMeasurement = AgeText(s.Birth, in_.record.MeDate);
        if (o_.subjectComplete) {
            Text(Mm(20), layout_.CursorY, kBlack, "編號:  " + s.CustNo);
            Text(Mm(70), layout_.CursorY, kBlack, "姓名:  " + s.Name);
            Sex(Mm(115));
            std::string birth = s.Birth > 0 ? ReportDateText(s.Birth) : std::string();
            Text(Mm(160), layout_.CursorY, kBlack,
                 "生日:  " + birth + " (" + AgeText(s.Birth, in_.today) + ")");
            layout_.CursorY += layout_.LineHeight;
            Text(Mm(20), layout_.CursorY, kBlack, "地址:  " + s.Addr);
            Text(Mm(115), layout_.CursorY, kBlack, "電話:  " + s.Tel);
            Text(Mm(160), layout_.CursorY, kBlack, "受測時年齡:  " + ageAtMeasurement);
        } else {
            Text(Mm(20), layout_.CursorY, kBlack, "編號:  " + s.CustNo);
            Sex(Mm(70));
            Text(Mm(115), layout_.CursorY, kBlack, "受測時年齡:  " + ageAtMeasurement);
        }
        layout_.CursorY += Mm(3) + layout_.LineHeight;
    }

    void MeasurementTable() {
        Canvas& c = C();
        c.font.name = "Tahoma";
        c.brush.style = BrushStyle::None;
        Colour(kBlack);
        const bool comp = o_.compensatedValues;
        int Y = layout_.CursorY;
        const int L = layout_.LineHeight;
        const int cw = Mm(160) / 12;
        auto x = [&](int col) { return Mm(28) + cw * (col - 1); };
        // 1. mode line
        Text(Mm(20), Y, kBlack, "測量方式:");
        int mx = Mm(20) + c.TextWidth("測量方式: ");
        if (in_.record.HighVoltage)
            Text(mx, Y, kRed, "高電位量測值 (擴大測量法)");
        else
            Text(mx, Y, kGreen, "標準電位測值 (一般測量法)");
        Text(Mm(173), Y, kBlack, "單位: uA");
        Y += L;
        // 2. header frame
        const int frameBottom = Y + RoundEven(1.6 * L);
        c.pen = Pen{layout_.PrintColour(kBlack), Mm(0.3), PenStyle::Solid};
        c.Rectangle(Mm(28), Y + Mm(1), Mm(188), frameBottom);
        // 3. side labels and rule
        Text(Mm(20), comp ? Y + 2 * L + L / 2 : Y + 2 * L, kGreen, "左側");
        Text(Mm(20), comp ? Y + 5 * L + L / 2 : Y + 4 * L, kGreen, "右側");
        int ruleY = comp ? Y + 4 * L + L / 2 : Y + 3 * L + L / 2;
        c.MoveTo(Mm(28), ruleY);
        c.LineTo(Mm(188), ruleY);
        // 4. columns
        auto centred = [&](int col, int y, Rgb colour, const std::string& t) {
            int w = c.TextWidth(t);
            Text(w > cw ? x(col) : x(col) + (cw - w) / 2, y, colour, t);
        };
        const auto& table = MeridianTable();
        for (int col = 1; col <= 12; ++col) {
            int meridian = in_.tables.MeridianOrder[col];
            int left = in_.tables.PointIndexByPos[col <= 6 ? col : col + 6];
            int right = in_.tables.PointIndexByPos[col <= 6 ? col + 6 : col + 12];
            c.pen = Pen{layout_.PrintColour(kBlack), Mm(col == 7 ? 0.4 : 0.2), PenStyle::Solid};
            c.MoveTo(x(col), Y + Mm(1));
            c.LineTo(x(col), frameBottom);
            centred(col, Y + L / 2, kBlue, std::string(table[meridian].Name));
            centred(col, Y + 2 * L, kBlack, Trim(Format("%5.1f", in_.record.Values[left])));
            centred(col, comp ? Y + 5 * L : Y + 4 * L, kBlack,
                    Trim(Format("%5.1f", in_.record.Values[right])));
            if (comp) {
                centred(col, Y + 3 * L, kMaroon,
                        "[" + Trim(Format("%5.1f", in_.result.Compensated[left])) + "]");
                centred(col, Y + 6 * L, kMaroon,
                        "[" + Trim(Format("%5.1f", in_.result.Compensated[right])) + "]");
            }
        }
        // 5. row tags
        const int tx = Mm(28) + 12 * cw;
        Text(tx, Y + 2 * L, kGreen, "org.");
        Text(tx, comp ? Y + 5 * L : Y + 4 * L, kGreen, "org.");
        if (comp) {
            Text(tx, Y + 3 * L, kRed, "cmp.");
            Text(tx, Y + 6 * L, kRed, "cmp.");
        }
        Colour(kBlack);
        layout_.CursorY = Y + Mm(3) + (comp ? 6 : 4) * L;
    }

    void BarChart() { PrintChart(ChartKind::Bar, layout_, chart_); }
    void SlopeChart() { PrintChart(ChartKind::Slope, layout_, chart_); }
    void YinYangChart() { PrintChart(ChartKind::YinYang, layout_, chart_); }
    void QiBloodChart() { PrintChart(ChartKind::QiBlood, layout_, chart_); }
    void EciChart() { PrintChart(ChartKind::Eci, layout_, chart_); }
    void RyodorakuChart() { PrintChart(ChartKind::Ryodoraku, layout_, chart_); }
    void AutonomicChart() { PrintChart(ChartKind::Autonomic, layout_, chart_); }
    void EnergyBalanceChart() { PrintChart(ChartKind::EnergyBalance, layout_, chart_); }
    void FiveElementsChart() { PrintChart(ChartKind::FiveElements, layout_, chart_); }
    void IndexBlock() {
        ReportFont();
        PrintIndexBlock(layout_, chart_);
    }

    // --- text sections ---

    std::vector<std::string> Box(const std::vector<std::string>& texts, int screenPx) {
        ReportFont();
        int width = static_cast<int>(std::lround(screenPx * layout_.Dpi / 96.0));
        std::vector<std::string> lines;
        for (const std::string& t : texts)
            for (std::string& l : WrapText(C(), t, width))
                lines.push_back(std::move(l));
        return lines;
    }

    void Heading(const std::string& heading) {
        Colour(kBlack);
        layout_.AdvanceLine();
        ReportFont();
        Colour(kBlue);
        layout_.PrintTextLine(heading);
        layout_.AdvanceLine();
    }

    void ItemLine(int n, const std::string& text, Rgb colour) {
        Colour(colour);
        layout_.PrintTextLine("[ " + std::to_string(n) + " ]" + text);
        layout_.AdvanceLine();
    }

    void Lines(const std::vector<std::string>& lines, Rgb colour) {
        Colour(colour);
        for (const std::string& l : lines)
            layout_.PrintTextLine(l);
    }

    // The main-box pattern: every line black, then a blank line when there were any.
    void BlackBlock(const std::vector<std::string>& lines) {
        if (lines.empty())
            return;
        Lines(lines, kBlack);
        layout_.AdvanceLine();
    }

    // The note pattern: first line red and a blank line; the rest (when shown) black and a blank line.
    void RedFirstBlock(const std::vector<std::string>& lines, bool rest) {
        if (lines.empty())
            return;
        Lines({lines.front()}, kRed);
        layout_.AdvanceLine();
        if (rest && lines.size() > 1) {
            Lines(std::vector<std::string>(lines.begin() + 1, lines.end()), kBlack);
            layout_.AdvanceLine();
        }
    }

    // The reference texts of an item; nullptr when the topic has no row (only the item line prints).
    const ReferenceTopic* TextsFor(int code) const {
        auto it = in_.texts.find(code);
        return it == in_.texts.end() ? nullptr : &it->second;
    }

    // +1 excess (both points above 0), -1 deficiency (both below), 0 neither or not a meridian.
    int StateSign(int code) const {
        if (code < 1 || code > 12)
            return 0;
        const MeridianState state = StateOfMeridian(in_.result, code);
        return state == MeridianState::Excess ? 1 : state == MeridianState::Deficiency ? -1 : 0;
    }

    void Findings() {
        Heading("經絡能量辨證  **本資料僅供學術研究參考**");
        int n = 0;
        for (const EvaluationItem& item : in_.findings) {
            if (layout_.PrintAborted())
                return;
            ItemLine(++n, item.Item, kBlue);
            const ReferenceTopic* found = TextsFor(item.Code);
            if (!found)
                continue;
            const ReferenceTopic& t = *found;
            std::vector<std::string> main, note;
            bool meridianItem = item.Code >= 1 && item.Code <= 12;
            if (item.Code >= 13 && item.Code <= 17) {
                int i = item.Code - 12;
                if (o_.detailed)
                    main.push_back(t.DtMA[1]);
                int g = in_.result.IndexGrade[i];
                note.push_back(g == 0 ? t.DtMA[2] : g > 0 ? t.DtMH[1] : t.DtML[1]);
                if (item.Code == 13 && in_.result.IndexGrade[1] == -3) {
                    main.emplace_back();
                    main.emplace_back(kLowEnergyWarning);
                }
            } else if (meridianItem) {
                if (o_.detailed) {
                    main.push_back(t.DtMA[2]);
                    main.emplace_back();
                    main.push_back(t.DtMA[1]);
                    main.emplace_back();
                }
                int state = StateSign(item.Code);
                if (state != 0) {
                    note.push_back(state > 0 ? t.DtMH[1] : t.DtML[1]);
                    if (o_.ryodorakuFindings) {
                        note.emplace_back();
                        note.push_back(state > 0 ? t.DtMH[5] : t.DtML[5]);
                    }
                }
            }
            if (layout_.PrintAborted())
                return;
            BlackBlock(Box(main, kMainBoxPx));
            RedFirstBlock(Box(note, kNoteBoxPx), o_.detailed || meridianItem);
        }
    }

    void TreatmentRecord() {
        Heading("症狀描述與處置");
        if (layout_.PrintAborted() || in_.treatmentRecord.empty())
            return;
        BlackBlock(Box({in_.treatmentRecord}, kNoteBoxPx));
    }

    void Prescriptions() {
        Heading("醫方建議  **本資料僅供學術研究參考**");
        int n = 0;
        for (const EvaluationItem& item : in_.prescriptions) {
            if (layout_.PrintAborted())
                return;
            ItemLine(++n, item.Item, kBlue);
            const ReferenceTopic* found = TextsFor(item.Code);
            if (!found)
                continue;
            const ReferenceTopic& t = *found;
            std::vector<std::string> main;
            int state = StateSign(item.Code);
            if (state > 0) {
                main.push_back(t.DtMH[3]);
                if (o_.singleCompound) {
                    main.emplace_back();
                    main.push_back(t.DtMH[2]);
                }
            } else if (state < 0) {
                main.push_back(t.DtML[3]);
                if (o_.singleCompound) {
                    main.emplace_back();
                    main.push_back(t.DtML[2]);
                }
            }
            if (layout_.PrintAborted())
                return;
            RedFirstBlock(Box(main, kMainBoxPx), true);
        }
    }

    void Diet() {
        Heading("養生食療建議");
        int n = 0;
        for (const EvaluationItem& item : in_.diet) {
            if (layout_.PrintAborted())
                return;
            ItemLine(++n, item.Item, kBlue);
            const ReferenceTopic* found = TextsFor(item.Code);
            if (!found)
                continue;
            const ReferenceTopic& t = *found;
            std::vector<std::string> main{t.DtMA[3]}, note;
            int state = StateSign(item.Code);
            if (o_.detailed && state != 0)
                note.push_back(state > 0 ? t.DtMH[4] : t.DtML[4]);
            if (layout_.PrintAborted())
                return;
            BlackBlock(Box(main, kMainBoxPx));
            RedFirstBlock(Box(note, kNoteBoxPx), true);
        }
    }

    void ExpertPrograms() {
        Heading("專家療程建議");
        int n = 0;
        for (const ReportProgram& p : in_.programs) {
            if (layout_.PrintAborted())
                return;
            ItemLine(++n, Trim(p.name), kRed);
            if (o_.detailed && !layout_.PrintAborted())
                BlackBlock(Box({p.data}, kNoteBoxPx));
        }
    }
};

} // namespace

bool PrintAnalysisReport(PrintDevice& device, const ReportInput& input, PrintObserver* observer,
                         std::string* error) {
    Report report(device, input, observer);
    return report.Run(error);
}

} // namespace oruk
