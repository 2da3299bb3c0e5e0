#pragma once

#include <string_view>

namespace oruk {

// The five main indices, numbered as IndexGrade: 1 body energy, 2 mental status (upper/lower),
// 3 left/right musculoskeletal, 4 metabolism (yin/yang), 5 autonomic balance (max/min group).
constexpr int kIndexCount = 5;

// Evaluation text of an index at a grade; empty for a grade the index never takes.
std::string_view IndexText(int index, int grade);

// Window label of an index row, e.g. "身體能量:".
std::string_view IndexLabel(int index);

// Normal range as the first analysis page shows it, e.g. "(30 - 64)".
std::string_view IndexRangeText(int index, bool male);

} // namespace oruk
