#include "charts/ReportOptions.h"

namespace oruk {

ReportOptions ReportOptions::Parse(std::string_view f) {
    auto on = [&](int pos) { return static_cast<int>(f.size()) >= pos && f[pos - 1] == '1'; };
    ReportOptions o;
    o.detailed = on(1);
    o.measuredValues = on(2);
    o.barChart = on(3);
    o.indexBlock = on(4);
    o.findings = on(5);
    o.diet = on(6);
    o.expertPrograms = on(7);
    o.slopeChart = on(8);
    o.yinYangChart = on(9);
    o.qiBloodChart = on(10);
    o.treatmentRecord = on(11);
    o.prescriptions = on(14);
    o.ryodorakuFindings = on(15);
    o.singleCompound = on(16);
    o.ryodorakuChart = on(17);
    o.autonomicChart = on(18);
    o.energyBalanceChart = on(19);
    o.eciChart = on(26);
    o.fiveElementsChart = on(28);
    o.colour = on(31);
    o.smallFont = on(32);
    o.headerSpace = on(33);
    o.headerFirstPageOnly = on(34);
    o.headerInches = on(35);
    o.headerSpaceMm = 20;
    if (f.size() >= 38) {
        int v = 0;
        bool digits = true;
        for (int i = 35; i < 38; ++i) {
            if (f[i] < '0' || f[i] > '9')
                digits = false;
            else
                v = v * 10 + (f[i] - '0');
        }
        if (digits)
            o.headerSpaceMm = v;
    }
    o.reportTitle = on(39);
    o.subjectData = on(40);
    o.compensatedValues = on(41);
    o.subjectComplete = on(42);
    return o;
}

ReportOptions ReportOptions::All() {
    return Parse("111111111110011111100000010100100000201111");
}

bool IsValidOptionString(std::string_view f) {
    if (f.size() != 42)
        return false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        bool digitField = i >= 35 && i < 38;
        if (digitField ? (f[i] < '0' || f[i] > '9') : (f[i] != '0' && f[i] != '1'))
            return false;
    }
    return true;
}

} // namespace oruk
