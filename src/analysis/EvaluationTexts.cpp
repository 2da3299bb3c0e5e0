#include "analysis/EvaluationTexts.h"

namespace oruk {

namespace {

const char* const kShortNames[] = {"肺", "心包", "心", "小腸", "三焦", "大腸",
                                   "脾", "肝",   "腎", "膀胱", "膽",   "胃"};
const char* const kIndexItems[] = {"   身體能量狀況", "   精神壓力狀態", "   肌肉骨骼系統", "   機體新陳代謝",
                                   "   自律神經功能"};

std::string MeridianItem(int meridian, const char* suffix) {
    return std::string("【") + kShortNames[meridian - 1] + "經" + suffix + "】";
}

} // namespace

bool IsAbnormalMeridian(const AnalysisResult& result, int meridian) {
    return result.PointGrade[LeftPointOf(meridian)] != 0 && result.PointGrade[RightPointOf(meridian)] != 0;
}

MeridianState StateOfMeridian(const AnalysisResult& result, int meridian) {
    const int l = result.PointGrade[LeftPointOf(meridian)];
    const int r = result.PointGrade[RightPointOf(meridian)];
    if (l > 0 && r > 0)
        return MeridianState::Excess;
    if (l < 0 && r < 0)
        return MeridianState::Deficiency;
    return MeridianState::Neither;
}

std::vector<EvaluationItem> FindingItems(const AnalysisResult& result) {
    std::vector<EvaluationItem> items;
    for (int i = 0; i < 5; ++i)
        items.push_back({13 + i, kIndexItems[i]});
    for (int m = 1; m <= kMeridianCount; ++m)
        if (IsAbnormalMeridian(result, m))
            items.push_back({m, MeridianItem(m, "異常辨證")});
    return items;
}

std::vector<EvaluationItem> DietItems(const AnalysisResult& result) {
    std::vector<EvaluationItem> items;
    for (int m = 1; m <= kMeridianCount; ++m)
        if (IsAbnormalMeridian(result, m))
            items.push_back({m, MeridianItem(m, "異常食療")});
    return items;
}

std::vector<EvaluationItem> PrescriptionItems(const AnalysisResult& result) {
    std::vector<EvaluationItem> items;
    for (int m = 1; m <= kMeridianCount; ++m)
        if (StateOfMeridian(result, m) != MeridianState::Neither)
            items.push_back({m, MeridianItem(m, "異常")});
    return items;
}

FindingTexts FindingTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                             const ReferenceTopic* topic) {
    static const ReferenceTopic kEmpty;
    const ReferenceTopic& t = topic ? *topic : kEmpty;
    FindingTexts out;
    if (item.Code >= 1 && item.Code <= kMeridianCount) {
        out.Details = {item.Item, "", t.DtMA[2], "", t.DtMA[1], ""};
        switch (StateOfMeridian(result, item.Code)) {
        case MeridianState::Excess:
            out.Details.push_back(t.DtMH[1]);
            out.Ryodoraku.push_back(t.DtMH[5]);
            break;
        case MeridianState::Deficiency:
            out.Details.push_back(t.DtML[1]);
            out.Ryodoraku.push_back(t.DtML[5]);
            break;
        case MeridianState::Neither:
            break;
        }
    } else if (item.Code >= 13 && item.Code <= 17) {
        const int grade = result.IndexGrade[item.Code - 12];
        out.Details = {t.DtMA[1], ""};
        out.Details.push_back(grade == 0 ? t.DtMA[2] : grade > 0 ? t.DtMH[1] : t.DtML[1]);
        if (item.Code == 13 && grade == -3) {
            out.Details.push_back("");
            out.Details.push_back(kLowEnergyWarning);
        }
    }
    return out;
}

std::vector<std::string> DietTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                                      const ReferenceTopic* topic) {
    static const ReferenceTopic kEmpty;
    const ReferenceTopic& t = topic ? *topic : kEmpty;
    std::vector<std::string> lines{t.DtMA[3], ""};
    if (item.Code >= 1 && item.Code <= kMeridianCount) {
        const auto state = StateOfMeridian(result, item.Code);
        if (state == MeridianState::Excess)
            lines.push_back(t.DtMH[4]);
        else if (state == MeridianState::Deficiency)
            lines.push_back(t.DtML[4]);
    }
    return lines;
}

std::vector<std::string> PrescriptionTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                                              const ReferenceTopic* topic) {
    static const ReferenceTopic kEmpty;
    const ReferenceTopic& t = topic ? *topic : kEmpty;
    if (item.Code < 1 || item.Code > kMeridianCount)
        return {};
    switch (StateOfMeridian(result, item.Code)) {
    case MeridianState::Excess:
        return {t.DtMH[3], "", t.DtMH[2]};
    case MeridianState::Deficiency:
        return {t.DtML[3], "", t.DtML[2]};
    case MeridianState::Neither:
        break;
    }
    return {};
}

std::optional<int> FollowFromFinding(int findingPosition, int otherListSize) {
    const int p = findingPosition - 5;
    if (findingPosition < 5 || p >= otherListSize)
        return std::nullopt;
    return p;
}

std::optional<int> FollowToFinding(int position, int findingListSize) {
    const int p = position + 5;
    if (position < 0 || p >= findingListSize)
        return std::nullopt;
    return p;
}

} // namespace oruk
