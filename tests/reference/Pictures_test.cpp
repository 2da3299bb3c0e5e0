// The generated pictures in the installed Data folder: every point picture under its name, the
// legend bar and the energy balance background.

#include "ReferenceData.h"
#include "analysis/MeridianModel.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace oruk {
namespace {

using testing::DataFile;

QImage Load(const std::string& relative) {
    QImageReader reader(QString::fromStdString(DataFile(relative).string()));
    reader.setDecideFormatFromContent(true); // "mebkmg.msi" carries no image suffix
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

TEST(PointPictures, AllSeventyTwoLoadAndDifferByStyleAndSide) {
    std::map<std::string, QImage> images;
    for (int style = 1; style <= 3; ++style)
        for (int point = 1; point <= kPointCount; ++point) {
            const std::string name = PointPictureFileName(point, style);
            const QImage image = Load("Data/" + name);
            ASSERT_FALSE(image.isNull()) << name << " missing or unreadable";
            EXPECT_EQ(image.size(), QSize(200, 200)) << name;
            images[name] = image;
        }
    ASSERT_EQ(images.size(), 72u);
    for (int point = 1; point <= kPointCount; ++point) {
        SCOPED_TRACE(PointPictureFileName(point, 1));
        // The three styles of one point look different.
        EXPECT_NE(images[PointPictureFileName(point, 1)], images[PointPictureFileName(point, 2)]);
        EXPECT_NE(images[PointPictureFileName(point, 1)], images[PointPictureFileName(point, 3)]);
        // Left and right show different limbs, and neighbouring points different places.
        const int other = point <= 6 || (point > 12 && point <= 18) ? point + 6 : point - 6;
        EXPECT_NE(images[PointPictureFileName(point, 2)], images[PointPictureFileName(other, 2)]);
        const int next = point % 6 == 0 ? point - 1 : point + 1;
        EXPECT_NE(images[PointPictureFileName(point, 2)], images[PointPictureFileName(next, 2)]);
    }
}

TEST(ChartPictures, LegendBarAndBalanceBackground) {
    const QImage legend = Load("Data/MeLegend.png");
    ASSERT_FALSE(legend.isNull());
    EXPECT_EQ(legend.size(), QSize(445, 20));

    const QImage background = Load("Data/mebkmg.msi");
    ASSERT_FALSE(background.isNull());
    EXPECT_LE(background.width(), 400);
    EXPECT_LE(background.height(), 400);
    // Drawn transparent with its corner colour as the key: the corners are the chart's white.
    EXPECT_EQ(background.pixel(0, background.height() - 1), qRgb(255, 255, 255));
    // A light figure: no pixel darker than a pale grey, so the chart stays readable over it.
    int darkest = 255;
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            darkest = std::min(darkest, qGray(background.pixel(x, y)));
    EXPECT_GE(darkest, 190);
}

} // namespace
} // namespace oruk
