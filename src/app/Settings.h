#pragma once

#include "analysis/MeridianModel.h"

#include <filesystem>
#include <string>

namespace oruk {

// The 78 values of the settings file "MeDefTw6c.ini", in file order.
struct Settings {
    int ProbeSdvL = 4000;                                                           // 1
    int ProbeSdvH = 4000;                                                           // 2
    int ChannelSdvL = 4000;                                                         // 3
    int ChannelSdvH = 4000;                                                         // 4
    std::string AnalysisOptionFlags = "011100000000000000000000000000100000201111"; // 5
    double Sensitivity = 1.0;                                                       // 6
    std::string CalibrationDate;                                                    // 7
    std::string SystemTitle = "ORUK經絡能量分析系統";                               // 8
    std::string ReportTitle = "ORUK 經絡能量分析報表";                              // 9
    std::string OrgName = "素凡事業有限公司";                                       // 10
    std::string OrgUnit = "自然醫學研究中心";                                       // 11
    std::string OptionString5 = "11000";                                            // 12
    bool StoredFlag13 = true;                                                       // 13
    bool StoredFlag14 = false;                                                      // 14
    int StoredInt15 = 2;                                                            // 15
    double StoredReal16 = 0.0;                                                      // 16
    bool StoredFlag17 = false;                                                      // 17
    int PointPictureStyle = 1;                                                      // 18
    int MeasureSoundMode = 1;                                                       // 19
    int CalibSoundMode = 1;                                                         // 20
    int StoredInt21 = 1;                                                            // 21
    int ContactStartMode = 1;                                                       // 22
    int ChannelMode = 0;                                                            // 23
    int LiveChartCustomScale = 0;                                                   // 24
    int LiveChartBase = 2000;                                                       // 25
    int LiveChartMargin = 500;                                                      // 26
    std::string UserFuncVisible = "111000";                                         // 27
    OneBased<std::string, 6> UserFuncCaption;                                       // 28-33
    OneBased<std::string, 6> UserFuncHint;                                          // 34-39
    OneBased<std::string, 6> UserFuncProgram;                                       // 40-45
    OneBased<std::string, 6> UserFuncParams;                                        // 46-51
    int MeridianOrderMode = 0;                                                      // 52
    OneBased<int, kMeridianCount> CustomMeridianOrder;                              // 53-64
    int CoefficientMode = 0;                                                        // 65
    OneBased<double, kMeridianCount> CustomCoefficient;                             // 66-77
    int AnalysisChartMode = 1;                                                      // 78

    Settings(); // every value at its default (CalibrationDate empty until a file is written)

    // The derived display tables of these values' order and coefficient modes.
    DisplayTables Tables() const;

    friend bool operator==(const Settings&, const Settings&) = default;
};

inline constexpr const char* kSettingsFileName = "MeDefTw6c.ini";

} // namespace oruk
