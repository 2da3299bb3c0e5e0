// The pictures: every point picture under its name and the energy balance background in the
// installed Data folder; the icons and fixed-size pictures in the program's resources.

#include "ReferenceData.h"
#include "analysis/MeridianModel.h"

#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
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

TEST(ChartPictures, BalanceBackgroundIsALightPicture) {
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

// An icon missing from the resource list silently falls back to a style icon in the windows.
TEST(Icons, ResourceListHoldsEveryIconAndEachRenders) {
    const std::filesystem::path resources = std::filesystem::path(ORUK_SOURCE_DIR) / "resources";
    QFile qrc(QString::fromStdString((resources / "oruk.qrc").string()));
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    std::set<std::string> listed, present;
    const QString text = QString::fromUtf8(qrc.readAll());
    for (const auto& m : QRegularExpression("<file>icons/([^<]+)</file>").globalMatch(text))
        listed.insert(m.captured(1).toStdString());
    for (const auto& entry : std::filesystem::directory_iterator(resources / "icons"))
        if (entry.path().extension() == ".svg")
            present.insert(entry.path().filename().string());
    EXPECT_EQ(listed, present);
    EXPECT_GE(present.size(), 40u);

    for (const std::string& name : present) {
        SCOPED_TRACE(name);
        QSvgRenderer svg(QString::fromStdString((resources / "icons" / name).string()));
        ASSERT_TRUE(svg.isValid());
        const QSize size = svg.defaultSize();
        if (name == "legend.svg")
            EXPECT_EQ(size, QSize(445, 20)); // the fixed bar under the meridian diagram
        else
            EXPECT_EQ(size.width(), size.height()); // windows draw these into square boxes
    }
}

} // namespace
} // namespace oruk
