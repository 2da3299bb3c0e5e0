#include "analysis/IndexTexts.h"

#include <array>

namespace oruk {

namespace {

// Grades -3 .. 3 of indices 1 to 4.
constexpr std::array<std::array<std::string_view, 7>, 4> kGradedTexts{{
    {"體能狀況低落,元氣不足", "體能精氣狀態稍弱", "體能元氣狀態偏虛,但仍屬正常", "體能及元氣狀態正常",
     "體能狀態偏旺,但仍在正常範圍", "體能狀態略有亢奮現象", "體能狀態亢奮,活動力旺盛"},
    {"下焦氣血旺盛,有明顯精神衰弱傾向", "上焦氣血不足,有中度精神衰弱傾向", "上焦氣血偏虛,精神活動力略降",
     "上下焦氣血平衡,精神活動力正常", "上焦氣血略旺,有輕微精神壓力傾向", "上盛下衰,有中度精神壓力傾向",
     "上焦氣血旺盛,有明顯精神壓力傾向"},
    {"左側氣血衰弱,肌肉骨骼系統有明顯運作不良", "右側氣血旺盛,肌骨系統運作失調",
     "右側氣血略旺,肌骨系統運作稍微失衡", "左右氣血平衡,肌肉骨骼系統運作正常",
     "左右稍微失衡,肌骨系統稍有障礙", "左盛右衰,肌骨系統功能障礙", "右側氣血衰弱,肌肉骨骼系統運作有明顯障礙"},
    {"陽腑盛於陰臟,機體代謝功能異常增加", "陽盛於陰,機體代謝功能增加", "陽盛於陰,機體代謝稍快",
     "陰陽平衡,機體代謝功能正常", "陰盛於陽,機體代謝稍低", "陰盛於陽,機體代謝功能降低",
     "陰臟盛於陽腑,機體代謝功能異常不足"},
}};

// Grades 0 .. 3 of the autonomic index.
constexpr std::array<std::string_view, 4> kAutonomicTexts{
    "全身自律神經系統功能正常", "自律神經系統有輕微失衡現象", "自律神經系統有中度失衡傾象",
    "有明顯自律神經系統失衡傾象"};

constexpr std::array<std::string_view, kIndexCount> kLabels{
    "身體能量:", "精神狀態比值:", "左右肌骨系統:", "新陳代謝功能:", "自律神經平衡度:"};

} // namespace

std::string_view IndexText(int index, int grade) {
    if (index >= 1 && index <= 4 && grade >= -3 && grade <= 3)
        return kGradedTexts[static_cast<std::size_t>(index - 1)][static_cast<std::size_t>(grade + 3)];
    if (index == 5 && grade >= 0 && grade <= 3)
        return kAutonomicTexts[static_cast<std::size_t>(grade)];
    return {};
}

std::string_view IndexLabel(int index) {
    if (index < 1 || index > kIndexCount)
        return {};
    return kLabels[static_cast<std::size_t>(index - 1)];
}

std::string_view IndexRangeText(int index, bool male) {
    switch (index) {
    case 1:
        return male ? "(30 - 64)" : "(28 - 61)";
    case 2:
        return male ? "(0.88-1.19)" : "(0.78-1.09)";
    case 3:
        return "(0.88-1.14)";
    case 4:
        return "(0.82-1.24)";
    case 5:
        return "(1.0-1.5)";
    default:
        return {};
    }
}

} // namespace oruk
