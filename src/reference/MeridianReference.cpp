#include "reference/MeridianReference.h"

#include "analysis/MeridianModel.h"

#include <cstdio>

namespace oruk {

std::string MeridianListLine(int meridian) {
    const auto& m = MeridianTable()[meridian];
    char number[8];
    std::snprintf(number, sizeof number, "%2d", meridian);
    return std::string(number) + ". " + std::string(m.Channel) + "  " + std::string(m.Name);
}

ExplanationPageTexts ExplanationPage(const ReferenceTopic& r, int page) {
    auto join = [](const std::string& a, const std::string& b) { return a + "\n\n" + b; };
    ExplanationPageTexts t;
    switch (page) {
    case 2: // 經絡資料
        t.Upper = r.DtMA[1];
        t.Middle = r.DtMH[1];
        t.Lower = r.DtML[1];
        break;
    case 3: // 良導絡資料
        t.Upper = r.DtMH[5];
        t.Lower = r.DtML[5];
        break;
    case 4: // 醫方資料
        t.Upper = join(r.DtMH[3], r.DtMH[2]);
        t.Lower = join(r.DtML[3], r.DtML[2]);
        break;
    case 5: // 養生資料
        t.Upper = join(r.DtMA[3], r.DtMH[4]);
        t.Lower = r.DtML[4];
        break;
    default:
        break;
    }
    return t;
}

} // namespace oruk
