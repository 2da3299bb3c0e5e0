#pragma once

#include "analysis/OneBased.h"

#include <string>
#include <string_view>
#include <utility>

namespace oruk {

constexpr int kMeridianCount = 12;
constexpr int kPointCount = 24;

// One row of MeridianTable; texts are exact, UTF-8.
struct MeridianInfo {
    std::string_view Name;
    std::string_view Code;
    std::string_view Channel;
    std::string_view Element;
    std::string_view SourcePoint;
    std::string_view EnglishName;
    std::string_view Hours;
};

// Meridians 1..12: LU PC HT SI TE LI SP LR KI BL GB ST.
const OneBased<MeridianInfo, kMeridianCount>& MeridianTable();

enum class Side { Left, Right };
enum class Limb { Hand, Foot };

bool IsYinMeridian(int meridian);
int MeridianOfPoint(int pointIndex);
Side SideOfPoint(int pointIndex);
Limb LimbOfPoint(int pointIndex);
int LeftPointOf(int meridian);
int RightPointOf(int meridian);

// "左  側" / "右  側"
std::string_view SideText(Side side);
// "左  手", "右  手", "左  腳", "右  腳" for the limb of the meridian at that side.
std::string_view PositionText(Side side, int meridian);

// Point picture styles: 1 photo "P", 2 image "G", 3 composite "C".
std::string PointPictureFileName(int pointIndex, int style);

const OneBased<double, kMeridianCount>& DefaultMeridianCoefficients();
// Mode 1 of the measurement order: each yin meridian followed by its yang partner.
const OneBased<int, kMeridianCount>& AlternativeMeridianOrder();

// The display tables derived from the settings' order and coefficient modes.
struct DisplayTables {
    OneBased<int, kMeridianCount> MeridianOrder;
    OneBased<int, kPointCount> MeridianByPos;
    OneBased<int, kPointCount> PointIndexByPos;
    OneBased<std::pair<int, int>, kMeridianCount> MeridianPointPair;
    OneBased<double, kMeridianCount> MeridianCoefficient;

    // Side of a display position: positions 1-6 and 13-18 are left.
    static Side SideOfPosition(int position);
};

DisplayTables BuildDisplayTables(int meridianOrderMode, const OneBased<int, kMeridianCount>& customOrder,
                                 int coefficientMode,
                                 const OneBased<double, kMeridianCount>& customCoefficients);

// Mode 0 order and default coefficients.
DisplayTables DefaultDisplayTables();

} // namespace oruk
