#include "ChartFixture.h"
#include "charts/painter/ChartOutput.h"

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace oruk {
namespace {

constexpr ChartKind kAllKinds[] = {ChartKind::EnergyBalance, ChartKind::Eci,     ChartKind::Autonomic,
                                   ChartKind::Bar,           ChartKind::Slope,   ChartKind::Ryodoraku,
                                   ChartKind::YinYang,       ChartKind::QiBlood, ChartKind::FiveElements};

// Set ORUK_CHART_OUTPUT to a folder to keep the nine PNGs for looking at them.
std::string OutputDir(const QTemporaryDir& tmp) {
    const char* keep = std::getenv("ORUK_CHART_OUTPUT");
    if (keep && *keep) {
        std::filesystem::create_directories(keep);
        return keep;
    }
    return tmp.path().toStdString();
}

TEST(ChartImage, EveryChartWritesAPngOfTheBoxSize) {
    testing::ChartFixture fx;
    QTemporaryDir tmp;
    std::string dir = OutputDir(tmp);
    for (ChartKind kind : kAllKinds) {
        std::string path = dir + "/" + std::string(ChartName(kind)) + ".png";
        std::string error;
        ASSERT_TRUE(SaveChartPng(kind, fx.input, 965, 554, path, error)) << error;
        QImage img(QString::fromStdString(path));
        ASSERT_EQ(img.width(), 965) << ChartName(kind);
        ASSERT_EQ(img.height(), 554);
        // Something coloured was drawn (not only black lines on white).
        int coloured = 0;
        for (int y = 0; y < img.height(); y += 3)
            for (int x = 0; x < img.width(); x += 3) {
                QColor c = img.pixelColor(x, y);
                if (c.saturation() > 100)
                    ++coloured;
            }
        EXPECT_GT(coloured, 200) << ChartName(kind);
    }
}

TEST(ChartImage, UnwritablePathFailsWithoutAFile) {
    testing::ChartFixture fx;
    std::string error;
    EXPECT_FALSE(SaveChartPng(ChartKind::Bar, fx.input, 965, 554, "/nonexistent-dir/x.png", error));
    EXPECT_FALSE(error.empty());
}

TEST(ChartImage, SvgHoldsTheChartTexts) {
    testing::ChartFixture fx;
    QTemporaryDir tmp;
    std::string path = tmp.path().toStdString() + "/bar.svg";
    std::string error;
    ASSERT_TRUE(SaveChartSvg(ChartKind::Bar, fx.input, 965, 554, path, error)) << error;
    ASSERT_TRUE(std::filesystem::file_size(path) > 1000);
}

} // namespace
} // namespace oruk
