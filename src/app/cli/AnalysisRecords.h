#pragma once

#include "app/cli/AnalysisOutput.h"
#include "programs/ProgramMatching.h"
#include "records/DbSession.h"

namespace oruk::cli {

// The databases an analysis reads beside the measurement; any of them may be absent.
struct AnalysisDatabases {
    DbSession* main = nullptr;     // the user's programs
    DbSession* texts = nullptr;    // MEMTDB
    DbSession* programs = nullptr; // the reference programs
};

// What the analysis window adds to the indices: the matched user programs (ExpertPrograms, with
// their MKEY), the matched reference programs (ReferencePrograms), and the findings, prescription
// and diet lists with the reference texts each item selects.
AnalysisExtras RecordAnalysisExtras(const AnalysisResult& result, const MatchSubject& subject,
                                    const AnalysisDatabases& databases);

} // namespace oruk::cli
