#pragma once

#include "analysis/EvaluationTexts.h"

#include <functional>
#include <optional>
#include <string>

namespace oruk {

// The explanation window's rows of MEMTDB, read with ReadReferenceTopic (records/ReferenceTexts.h).
using MeridianReferenceSource = std::function<std::optional<ReferenceTopic>(int mkey)>;

// Line i of the meridian list: "%2d" + ". " + Channel + two blanks + Name.
std::string MeridianListLine(int meridian);

// The three text boxes of a text page (page 2..5 of the window); a box the page does not use is
// absent (nullopt).
struct ExplanationPageTexts {
    std::optional<std::string> Upper, Middle, Lower;
};
ExplanationPageTexts ExplanationPage(const ReferenceTopic& row, int page);

} // namespace oruk
