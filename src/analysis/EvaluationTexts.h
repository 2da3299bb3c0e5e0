#pragma once

#include "analysis/Analysis.h"

#include <optional>
#include <string>
#include <vector>

namespace oruk {

// One reference topic (a MEMTDB row), texts already deciphered. MKEY 1-12: the meridians in
// MeridianTable order; 13-17: the five index topics.
struct ReferenceTopic {
    int MKey = 0;
    OneBased<std::string, 5> DtEA;  // attributes
    OneBased<std::string, 3> DtPot; // measuring, inhibiting, exciting point
    OneBased<std::string, 3> DtMA;  // whatever the state
    OneBased<std::string, 5> DtMH;  // raised (excess) state
    OneBased<std::string, 5> DtML;  // lowered (deficient) state
    std::string DtGpM;              // the meridian diagram's image bytes (may be empty)
};

// A meridian counts as abnormal when both of its points deviate; it has a state only when both
// deviate the same way.
enum class MeridianState { Neither, Excess, Deficiency };
bool IsAbnormalMeridian(const AnalysisResult& result, int meridian);
MeridianState StateOfMeridian(const AnalysisResult& result, int meridian);

// One list entry: the item code (13-17 index topics, 1-12 meridians) and its text.
struct EvaluationItem {
    int Code = 0;
    std::string Item;
    friend bool operator==(const EvaluationItem&, const EvaluationItem&) = default;
};

// "單經絡分析": the five index topics, then "【肺經異常辨證】" ... per abnormal meridian.
std::vector<EvaluationItem> FindingItems(const AnalysisResult& result);
// "食物療法表列": "【肺經異常食療】" ... per abnormal meridian.
std::vector<EvaluationItem> DietItems(const AnalysisResult& result);
// Prescriptions: "【肺經異常】" ... per meridian in excess or deficiency.
std::vector<EvaluationItem> PrescriptionItems(const AnalysisResult& result);

inline constexpr const char* kLowEnergyWarning = "【您的體能過度低落，請特別留意身體機能及經絡的異常狀態】";

// The texts a selected item shows; topic is the MEMTDB row of the item's code (nullptr: missing).
struct FindingTexts {
    std::vector<std::string> Details;   // "詳細說明"
    std::vector<std::string> Ryodoraku; // "良導絡辨症"
};
FindingTexts FindingTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                             const ReferenceTopic* topic);
std::vector<std::string> DietTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                                      const ReferenceTopic* topic);
std::vector<std::string> PrescriptionTextsFor(const EvaluationItem& item, const AnalysisResult& result,
                                              const ReferenceTopic* topic);

// The lists follow each other by position: a meridian finding at position p (0-based, p >= 5)
// selects diet and prescription position p - 5; a diet or prescription item at p selects the same
// position in the other list and finding p + 5. nullopt: no item there.
std::optional<int> FollowFromFinding(int findingPosition, int otherListSize);
std::optional<int> FollowToFinding(int position, int findingListSize);

} // namespace oruk
