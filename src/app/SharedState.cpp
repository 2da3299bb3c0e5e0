#include "app/SharedState.h"

namespace oruk {

void SharedState::ClearCurrentRecord() {
    AnalysisLastPage = 0;
    subject = SubjectInfo{};
    current = MeasurementRecord{};
    SortColumn = 1;
    MeasuredPointCount = 0;
}

} // namespace oruk
