#pragma once

#include "analysis/Analysis.h"
#include "charts/Charts.h"

#include <cmath>

namespace oruk::testing {

// A hand-filled analysis result: every field the charts read, set directly so that the chart
// tests do not depend on the analysis computation.
struct ChartFixture {
    AnalysisResult r;
    DisplayTables tables = DefaultDisplayTables();
    ChartInput input;

    ChartFixture() {
        const double values[24] = {42, 38, 51, 47, 35, 40, 44, 39, 55, 49, 33, 41,
                                   30, 36, 45, 52, 28, 37, 31, 35, 47, 56, 26, 39};
        double sum = 0;
        for (int i = 1; i <= 24; ++i) {
            r.Compensated[i] = values[i - 1];
            sum += values[i - 1];
        }
        SetBodyEnergy(sum / 24);
        for (int g = 1; g <= 8; ++g)
            r.GroupMean[g] = 30 + 2.5 * g;
        r.GroupMin = 32.5;
        r.GroupMax = 50;
        r.YinMean = 40;
        r.YangMean = 42;
        r.UpperMean = 43;
        r.LowerMean = 38;
        r.LeftMean = 41;
        r.RightMean = 40;
        for (int e = 1; e <= 7; ++e)
            for (int k = 1; k <= 3; ++k)
                r.ElementMean[e][k] = r.BodyEnergy + 3 * (e - 4);
        r.ElementGrade[2][1] = 1;
        r.ElementGrade[5][1] = -2;
        r.IndexGrade[1] = 0;
        r.IndexGrade[2] = 1;
        r.IndexGrade[3] = 0;
        r.IndexGrade[4] = -1;
        r.IndexGrade[5] = 2;
        r.IndexText[1] = "體能及元氣狀態正常";
        r.IndexText[2] = "上焦氣血略旺,有輕微精神壓力傾向";
        r.IndexText[3] = "左右氣血平衡,肌肉骨骼系統運作正常";
        r.IndexText[4] = "陽盛於陰,機體代謝稍快";
        r.IndexText[5] = "自律神經系統有中度失衡傾象";
        for (int p = 1; p <= 24; ++p)
            r.PointBalance[p] = 5.0 + (p % 6);
        r.OverallBalance = 7.6;
        r.MeridianBalance = 7.5;
        r.SideGrade[1] = 1;
        r.SideGrade[9] = -2;
        input.result = &r;
        input.tables = &tables;
        input.male = true;
    }

    // Sets the body energy and everything derived from it by simple rules.
    void SetBodyEnergy(double e) {
        r.BodyEnergy = e;
        double u = 0.6625 + 0.0084375 * (e - 10);
        r.BandUnit = u;
        r.UpBand1 = 11.5 * u;
        r.UpBand2 = 21 * u;
        r.DownBand1 = 10.5 * u;
        r.DownBand2 = 20 * u;
        r.DiffBand1 = 10 * u;
        r.DiffBand2 = 15 * u;
        for (int i = 1; i <= 24; ++i) {
            double d = r.Compensated[i] - e;
            r.Deviation[i] = d;
            r.PointGrade[i] = d >= r.UpBand2      ? 2
                              : d >= r.UpBand1    ? 1
                              : -d >= r.DownBand2 ? -2
                              : -d >= r.DownBand1 ? -1
                                                  : 0;
        }
    }
};

} // namespace oruk::testing
