#include "charts/Charts.h"

#include "charts/ChartFrame.h"
#include "charts/ChartsInternal.h"

#include <array>
#include <filesystem>

namespace oruk {

namespace {
struct KindInfo {
    ChartKind kind;
    std::string_view name, caption, paperTitle;
};
constexpr std::array<KindInfo, 9> kKinds{{
    {ChartKind::EnergyBalance, "energy-balance", "能量平衡分析圖", "能量平衡分析圖"},
    {ChartKind::Eci, "eci", "能量組成分析圖 - E.C.I.", "能量組成分析圖 - E.C.I."},
    {ChartKind::Autonomic, "autonomic", "自律神經平衡圖", "自律神經平衡圖"},
    {ChartKind::Bar, "bar", "經絡虛實分析圖-長條", "經絡虛實分析圖 - 長條"},
    {ChartKind::Slope, "slope", "經絡虛實分析圖-斜率曲線", "經絡虛實分析圖 - 斜率曲線"},
    {ChartKind::Ryodoraku, "ryodoraku", "良導絡分析圖", "良導絡分析圖"},
    {ChartKind::YinYang, "yin-yang", "經絡陰陽平衡圖(A)", "經絡陰陽平衡圖(A)"},
    {ChartKind::QiBlood, "qi-blood", "經絡氣血平衡圖(A)", "經絡氣血平衡圖(A)"},
    {ChartKind::FiveElements, "five-elements", "五行分析圖 - 整合", "五行分析圖 - 整合"},
}};

const KindInfo& Info(ChartKind kind) {
    for (const KindInfo& k : kKinds)
        if (k.kind == kind)
            return k;
    return kKinds[0];
}
} // namespace

std::string_view ChartCaption(ChartKind kind) {
    return Info(kind).caption;
}
std::string_view ChartPaperTitle(ChartKind kind) {
    return Info(kind).paperTitle;
}
std::string_view ChartName(ChartKind kind) {
    return Info(kind).name;
}

std::optional<ChartKind> ChartKindFromName(std::string_view name) {
    for (const KindInfo& k : kKinds)
        if (k.name == name)
            return k.kind;
    return std::nullopt;
}

std::string EnergyBalancePicturePath(const std::string& workDir) {
    if (workDir.empty())
        return {};
    // The picture folder is "Data"; a folder written as "DATA" (case-blind systems) is found too.
    const std::filesystem::path dir(workDir);
    const std::filesystem::path data = dir / "Data" / "mebkmg.msi", upper = dir / "DATA" / "mebkmg.msi";
    std::error_code ec;
    if (!std::filesystem::exists(data, ec) && std::filesystem::exists(upper, ec))
        return upper.string();
    return data.string();
}

int BeginPaperChart(PrintLayout& layout, std::string_view title) {
    layout.ReserveChartSpace();
    const int y0 = layout.CursorY + 3 * layout.LineHeight;
    Canvas& c = layout.canvas();
    c.brush.style = BrushStyle::None;
    layout.CursorY += layout.LineHeight;
    std::string t(title);
    c.font.colour = layout.PrintColour(kBlue);
    c.Text(layout.RightEdge / 2 - c.TextWidth(t) / 2, layout.CursorY, t);
    layout.CursorY += layout.LineHeight;
    return y0;
}

void EndPaperChart(PrintLayout& layout) {
    layout.CursorY += layout.MmToDots(90) + 2 * layout.LineHeight;
}

void DrawScreenChart(ChartKind kind, Canvas& canvas, const ChartInput& input) {
    switch (kind) {
    case ChartKind::Bar:
    case ChartKind::Slope:
    case ChartKind::Ryodoraku:
        DrawMeridianChartScreen(kind, canvas, input);
        break;
    case ChartKind::YinYang:
    case ChartKind::QiBlood:
    case ChartKind::Autonomic:
        DrawBalanceChartScreen(kind, canvas, input);
        break;
    case ChartKind::Eci:
    case ChartKind::FiveElements:
        DrawRadialChartScreen(kind, canvas, input);
        break;
    case ChartKind::EnergyBalance:
        DrawEnergyBalanceScreen(canvas, input);
        break;
    }
}

void PrintChart(ChartKind kind, PrintLayout& layout, const ChartInput& input) {
    if (layout.PrintAborted())
        return;
    switch (kind) {
    case ChartKind::Bar:
    case ChartKind::Slope:
    case ChartKind::Ryodoraku:
        PrintMeridianChart(kind, layout, input);
        break;
    case ChartKind::YinYang:
    case ChartKind::QiBlood:
    case ChartKind::Autonomic:
        PrintBalanceChart(kind, layout, input);
        break;
    case ChartKind::Eci:
    case ChartKind::FiveElements:
        PrintRadialChart(kind, layout, input);
        break;
    case ChartKind::EnergyBalance:
        PrintEnergyBalance(layout, input);
        break;
    }
}

} // namespace oruk
