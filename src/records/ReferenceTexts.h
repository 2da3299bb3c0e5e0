#pragma once

#include "analysis/EvaluationTexts.h"
#include "records/DbSession.h"

#include <map>
#include <optional>

namespace oruk {

// MEMTDB of the reference-text database. Every text is deciphered with key selector 1; a text that
// is not cipher text reads as empty (never a failure), as does a missing column.
std::optional<ReferenceTopic> ReadReferenceTopic(DbSession& texts, int mkey);
std::map<int, ReferenceTopic> ReadReferenceTopics(DbSession& texts);

} // namespace oruk
