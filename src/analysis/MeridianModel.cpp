#include "analysis/MeridianModel.h"

#include <stdexcept>

namespace oruk {

const OneBased<MeridianInfo, kMeridianCount>& MeridianTable() {
    static const OneBased<MeridianInfo, kMeridianCount> table{{{
        {"肺經", "LU", "手太陰", "金", "太淵 LU9", "Lung Meridian(LU)", "3am-5am"},
        {"心包", "PC", "手厥陰", "相火", "大陵 PC7", "Pericardium Meridian(PC)", "7pm-9pm"},
        {"心經", "HT", "手少陰", "君火", "神門 HT7", "Heart Meridian(HT)", "11am-1pm"},
        {"小腸", "SI", "手太陽", "君火", "腕骨 SI4", "Small Intestine Meridian(SI)", "1pm-3pm"},
        {"三焦", "TE", "手少陽", "相火", "陽池 TE4", "Triple Energizer Meridian(TE)", "9pm-11pm"},
        {"大腸", "LI", "手陽明", "金", "陽谿 LI5", "Large Intestine Meridian(LI)", "5am-7am"},
        {"脾經", "SP", "足太陰", "土", "太白 SP3", "Spleen Meridian(SP)", "9am-11am"},
        {"肝經", "LR", "足厥陰", "木", "太衝 LR3", "Liver Meridian(LR)", "1am-3am"},
        {"腎經", "KI", "足少陰", "水", "大鐘 KI4", "Kidney Meridian(KI)", "5pm-7pm"},
        {"膀胱", "BL", "足太陽", "水", "束骨 BL65", "Bladder Meridian(BL)", "3pm-5pm"},
        {"膽經", "GB", "足少陽", "木", "丘墟 GB40", "Gallbladder Meridian(GB)", "11pm-1am"},
        {"胃經", "ST", "足陽明", "土", "衝陽 ST42", "Stomach Meridian(ST)", "7am-9am"},
    }}};
    return table;
}

bool IsYinMeridian(int meridian) {
    return (meridian >= 1 && meridian <= 3) || (meridian >= 7 && meridian <= 9);
}

int MeridianOfPoint(int pointIndex) {
    if (pointIndex < 1 || pointIndex > kPointCount)
        throw std::out_of_range("point index out of range");
    const int group = (pointIndex - 1) / 6; // 0 left hand, 1 right hand, 2 left foot, 3 right foot
    const int digit = (pointIndex - 1) % 6 + 1;
    return group < 2 ? digit : digit + 6;
}

Side SideOfPoint(int pointIndex) {
    return ((pointIndex - 1) / 6) % 2 == 0 ? Side::Left : Side::Right;
}

Limb LimbOfPoint(int pointIndex) {
    return pointIndex <= 12 ? Limb::Hand : Limb::Foot;
}

int LeftPointOf(int meridian) {
    return meridian <= 6 ? meridian : meridian + 6;
}

int RightPointOf(int meridian) {
    return meridian <= 6 ? meridian + 6 : meridian + 12;
}

std::string_view SideText(Side side) {
    return side == Side::Left ? "左  側" : "右  側";
}

std::string_view PositionText(Side side, int meridian) {
    const bool foot = meridian > 6;
    if (side == Side::Left)
        return foot ? "左  腳" : "左  手";
    return foot ? "右  腳" : "右  手";
}

std::string PointPictureFileName(int pointIndex, int style) {
    static constexpr char kStyleLetters[] = {'P', 'G', 'C'};
    if (style < 1 || style > 3)
        style = 1;
    const int group = (pointIndex - 1) / 6;
    const int digit = (pointIndex - 1) % 6 + 1;
    std::string name;
    name += kStyleLetters[style - 1];
    name += (group % 2 == 0) ? 'L' : 'R';
    name += (group < 2) ? 'h' : 'f';
    name += static_cast<char>('0' + digit);
    name += ".bmp";
    return name;
}

const OneBased<double, kMeridianCount>& DefaultMeridianCoefficients() {
    static const OneBased<double, kMeridianCount> coefficients{
        {{0.8541, 0.9318, 1.1081, 0.9318, 0.8039, 0.8039, 1.0, 1.2424, 1.0, 1.0789, 1.2424, 1.1388}}};
    return coefficients;
}

const OneBased<int, kMeridianCount>& AlternativeMeridianOrder() {
    static const OneBased<int, kMeridianCount> order{{{1, 6, 2, 5, 3, 4, 7, 12, 8, 11, 9, 10}}};
    return order;
}

Side DisplayTables::SideOfPosition(int position) {
    return ((position - 1) / 6) % 2 == 0 ? Side::Left : Side::Right;
}

DisplayTables BuildDisplayTables(int meridianOrderMode, const OneBased<int, kMeridianCount>& customOrder,
                                 int coefficientMode,
                                 const OneBased<double, kMeridianCount>& customCoefficients) {
    DisplayTables t;
    if (meridianOrderMode == 0) {
        for (int k = 1; k <= kMeridianCount; ++k)
            t.MeridianOrder[k] = k;
    } else if (meridianOrderMode == 1) {
        t.MeridianOrder = AlternativeMeridianOrder();
    } else {
        t.MeridianOrder = customOrder;
    }

    for (int k = 1; k <= kMeridianCount; ++k) {
        int m = t.MeridianOrder[k];
        // A custom order is stored as the operator left it; a number outside 1..12 cannot
        // address a point, so it falls back to the column's own meridian, in the order too,
        // since every window indexes the meridian table with it.
        if (m < 1 || m > kMeridianCount) {
            m = k;
            t.MeridianOrder[k] = m;
        }
        const int a = LeftPointOf(m);
        const int b = RightPointOf(m);
        const int leftPos = k <= 6 ? k : k + 6;
        const int rightPos = k <= 6 ? k + 6 : k + 12;
        t.MeridianByPos[leftPos] = m;
        t.MeridianByPos[rightPos] = m;
        t.PointIndexByPos[leftPos] = a;
        t.PointIndexByPos[rightPos] = b;
        t.MeridianPointPair[k] = {a, b};
    }

    if (coefficientMode == 0) {
        t.MeridianCoefficient = DefaultMeridianCoefficients();
    } else if (coefficientMode == 1) {
        t.MeridianCoefficient.fill(1.0);
    } else {
        t.MeridianCoefficient = customCoefficients;
    }
    return t;
}

DisplayTables DefaultDisplayTables() {
    OneBased<int, kMeridianCount> order;
    OneBased<double, kMeridianCount> coefficients;
    for (int k = 1; k <= kMeridianCount; ++k) {
        order[k] = k;
        coefficients[k] = 1.0;
    }
    return BuildDisplayTables(0, order, 0, coefficients);
}

} // namespace oruk
