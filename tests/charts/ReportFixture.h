#pragma once

#include "ChartFixture.h"
#include "charts/AnalysisReport.h"

namespace oruk::testing {

// A report input over the hand-filled chart fixture, with texts of every kind.
struct ReportFixture {
    ChartFixture charts;
    ReportInput in;

    ReportFixture() {
        in.subject.CustNo = " 0042 ";
        in.subject.Name = "王小明";
        in.subject.Male = true;
        in.subject.Birth = 29221; // 1980-01-01
        in.subject.Addr = "台北市中正區";
        in.subject.Tel = "02-2345-6789";
        in.record.MeDate = 46000.5;
        for (int i = 1; i <= 24; ++i)
            in.record.Values[i] = charts.r.Compensated[i];
        in.result = charts.r;
        in.tables = charts.tables;
        in.options = ReportOptions::Parse("011100000000000000000000000000100000201111");
        in.reportTitle = "";
        in.orgName = "素凡事業有限公司";
        in.orgUnit = "自然醫學研究中心";
        in.today = 46001.25;
        in.findings = {{13, "   身體能量狀況"}, {14, "   精神壓力狀態"}, {9, "【腎經異常辨證】"}};
        in.prescriptions = {{9, "【腎經異常】"}};
        in.diet = {{9, "【腎經異常食療】"}};
        in.programs = {{" 睡眠調理 ", "每日按摩湧泉穴十分鐘。\n睡前泡腳。"}};
        ReferenceTopic t13;
        t13.DtMA[1] = "身體能量說明第一段";
        t13.DtMA[2] = "能量正常的說明";
        t13.DtMH[1] = "能量偏高的說明";
        t13.DtML[1] = "能量偏低的說明第一行\n能量偏低的說明第二行";
        in.texts[13] = t13;
        ReferenceTopic t14;
        t14.DtMA[1] = "精神狀態說明";
        t14.DtMH[1] = "精神壓力偏高注意事項\n細節補充說明";
        in.texts[14] = t14;
        ReferenceTopic t9;
        t9.DtMA[1] = "腎經循行說明";
        t9.DtMA[2] = "腎經主治說明";
        t9.DtMA[3] = "腎經食療總論";
        t9.DtMH[1] = "腎經實證說明";
        t9.DtML[1] = "腎經虛證說明\n腎經虛證第二行";
        t9.DtML[2] = "腎經複方建議";
        t9.DtML[3] = "腎經配穴建議";
        t9.DtML[4] = "腎經虛證食療";
        t9.DtML[5] = "腎經良導絡說明";
        in.texts[9] = t9;
        in.treatmentRecord = "頭痛三日，建議休息。";
        // KI (meridian 9) in the deficiency state
        in.result.PointGrade[LeftPointOf(9)] = -1;
        in.result.PointGrade[RightPointOf(9)] = -2;
    }
};

} // namespace oruk::testing
