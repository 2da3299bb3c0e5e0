#pragma once

#include "analysis/MeasurementRecord.h"
#include "analysis/MeridianModel.h"
#include "app/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace oruk {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb ChartGreen{0x91, 0xFF, 0x71};
inline constexpr Rgb ChartYellow{0xFE, 0xF9, 0x8D};
inline constexpr Rgb ChartRed{0xFF, 0x46, 0x46};
inline constexpr Rgb ChartBlue{0x3E, 0x3E, 0xFF};
inline constexpr Rgb ChartOrange{0xFF, 0x92, 0x40};

// The nine texts that name the product and its maker.
namespace branding {
inline constexpr const char* kProductTitle = "O.R.U.K. 經絡能量分析系統";
inline constexpr const char* kProductSubtitle = "經絡能量分析工作站";
inline constexpr const char* kProductAcronym = "O.R.U.K.";
inline constexpr const char* kMakerLatinName = "Sorvan Enterprise Co., Ltd.";
inline constexpr const char* kMakerChineseName = "素凡事業有限公司";
inline constexpr const char* kWebAddress = "https://www.sorvan.example/";
inline constexpr const char* kServiceTel = "+886-2-0000-0000";
inline constexpr const char* kFax = "+886-2-0000-0001";
inline constexpr const char* kEmail = "service@sorvan.example";
} // namespace branding

// The current subject, as the subject fields of MECUST.
struct SubjectInfo {
    std::string CustNo, Name, Addr, Tel, Tel2, Tel3, Email;
    bool Male = true; // CurSex
    double Birth = 0; // CurBirth, days; 0 = none
};

// The values every window reads and writes: settings, current subject and measurement,
// device link values and the analysis window's remembered choices.
struct SharedState {
    std::filesystem::path WorkDir;
    bool FirstActivation = true;
    bool DeviceOnline = false;

    Settings settings;
    DisplayTables tables = DefaultDisplayTables();

    // Device link values. The pending reply (ReplyText, ReplyReady) and the device handle stay
    // inside the device transport, which is the only code that touches them.
    bool ProbeAlarmShown = false;
    bool DeviceStoresCalibration = false;
    std::string DeviceSerialNo;
    std::string DeviceHardwareVersion;
    long long DeviceUsageCount = 0;
    int ActiveSdvL = 0, ActiveSdvH = 0, DeviceSdvL = 0, DeviceSdvH = 0;
    int MeasuredPointCount = 0;

    SubjectInfo subject;       // CurCustNo, CurName, CurSex, CurBirth ...
    MeasurementRecord current; // CurMeDate, CurHighVoltage, CurValues, CurStd, CurMemo, CurMKey

    bool BrowseFromMain = false;
    int SortColumn = 1; // signed: negative = descending
    OneBased<int, 7> AnalysisChartFlags{{{1, 1, 1, 1, 1, 1, 1}}};
    int AnalysisLastPage = 0;
    int ManualEntryMode = 0;         // 1 change the browser's measurement, 2 add one, 3 edit the current one
    int SubjectEditorMode = 0;       // how the subject editor was opened
    bool SubjectEditorSaved = false; // its last add was stored

    // Settings were read or written: rebuild the derived tables.
    void RebuildTables() { tables = settings.Tables(); }

    // The settings file of WorkDir; each rebuilds the derived tables afterwards.
    std::filesystem::path SettingsFilePath() const { return WorkDir / kSettingsFileName; }
    void ReadSettings();         // a missing file reads as all fallbacks
    void WriteSettings();        // throws std::runtime_error when the file cannot be written
    void LoadOrCreateSettings(); // the program's start: read, or write the defaults when missing

    // New measurement data reset the analysis window's remembered page.
    void ClearCurrentRecord();
};

} // namespace oruk
