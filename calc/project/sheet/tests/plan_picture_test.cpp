#include "calc/project/sheet/plan_picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "calc/project/sheet/base64.h"
#include "calc/project/sheet/plan_picture_file.h"
#include "calc/project/sheet/tests/picture_bytes.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

using test_support::JpegHeader;
using test_support::PngHeader;

TEST(PlanPicture, ReadsTheSizeOfPngAndJpegPictures) {
    const Result<PlanPicture> png = ReadPlanPicture(PngHeader(912, 70000));
    ASSERT_TRUE(png.ok()) << ToUtf8(png.error());
    EXPECT_EQ(png.value().format, PictureFormat::Png);
    EXPECT_EQ(png.value().pixelWidth, 912);
    EXPECT_EQ(png.value().pixelHeight, 70000);
    EXPECT_EQ(png.value().bytes, PngHeader(912, 70000));

    for (const unsigned frame : {0xC0u, 0xC2u}) {
        const Result<PlanPicture> jpeg = ReadPlanPicture(JpegHeader(1024, 768, frame));
        ASSERT_TRUE(jpeg.ok()) << ToUtf8(jpeg.error());
        EXPECT_EQ(jpeg.value().format, PictureFormat::Jpeg);
        EXPECT_EQ(jpeg.value().pixelWidth, 1024);
        EXPECT_EQ(jpeg.value().pixelHeight, 768);
    }
    EXPECT_EQ(MimeType(PictureFormat::Png), "image/png");
    EXPECT_EQ(MimeType(PictureFormat::Jpeg), "image/jpeg");
}

TEST(PlanPicture, RefusesOtherFilesAndCutHeaders) {
    for (const std::string& bytes :
         {std::string(), std::string("GIF89a........"), PngHeader(10, 10).substr(0, 20),
          PngHeader(0, 10), JpegHeader(640, 480).substr(0, 36), JpegHeader(0, 480),
          std::string("\xFF\xD8\xFF\xDA\x00\x02", 6)}) {
        const Result<PlanPicture> picture = ReadPlanPicture(bytes);
        EXPECT_FALSE(picture.ok()) << bytes.size();
        EXPECT_FALSE(picture.error().empty());
    }
}

PlanPoint Tie(SitePoint pixel, SitePoint site) {
    PlanPoint point;
    point.pixel = pixel;
    point.site = site;
    return point;
}

void ExpectNear(SitePoint actual, SitePoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

TEST(PlanPicture, TheTwoPointsFixScaleRotationAndOffset) {
    // A third of a metre a pixel, north up.
    const Result<PixelToSite> upright =
        PlanTransform(std::array{Tie({12, 30}, {0, 200}), Tie({912, 630}, {300, 0})});
    ASSERT_TRUE(upright.ok());
    ExpectNear(Apply(upright.value(), {12, 30}), {0, 200});
    ExpectNear(Apply(upright.value(), {912, 630}), {300, 0});
    ExpectNear(Apply(upright.value(), {462, 330}), {150, 100});
    ExpectNear(Apply(upright.value(), {12, 630}), {0, 0});

    // The picture's x axis points north, 2 m a pixel: its downward y points east.
    const Result<PixelToSite> turned =
        PlanTransform(std::array{Tie({0, 0}, {100, 100}), Tie({10, 0}, {100, 120})});
    ASSERT_TRUE(turned.ok());
    ExpectNear(Apply(turned.value(), {10, 0}), {100, 120});
    ExpectNear(Apply(turned.value(), {0, 10}), {120, 100});
    ExpectNear(Apply(turned.value(), {5, 5}), {110, 110});
}

TEST(PlanPicture, PointsThatFixNothingAreRefused) {
    EXPECT_FALSE(PlanTransform(std::array{Tie({5, 5}, {0, 0}), Tie({5, 5}, {10, 10})}).ok());
    EXPECT_FALSE(PlanTransform(std::array{Tie({0, 0}, {7, 7}), Tie({5, 5}, {7, 7})}).ok());
    EXPECT_FALSE(PlanTransform(std::array{Tie({0, 0}, {NAN, 0}), Tie({5, 5}, {7, 7})}).ok());
    EXPECT_FALSE(
        PlanTransform(std::array{Tie({0, 0}, {1e308, -1e308}), Tie({1e-300, 0}, {-1e308, 1e308})})
            .ok());
}

TEST(PlanPicture, Base64AsDataUrisHoldIt) {
    // RFC 4648's test vectors, and every byte value.
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("f"), "Zg==");
    EXPECT_EQ(Base64("fo"), "Zm8=");
    EXPECT_EQ(Base64("foo"), "Zm9v");
    EXPECT_EQ(Base64("foob"), "Zm9vYg==");
    EXPECT_EQ(Base64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64(std::string("\xFF\xFE\x00\x80", 4)), "//4AgA==");
}

class PlanPictureFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device seed;
        folder_ =
            std::filesystem::temp_directory_path() / ("quorvel-plan-" + std::to_string(seed()));
        std::filesystem::create_directories(folder_ / PathFromText(u"图"));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(PlanPictureFile, ReadsThePictureBesideTheProjectOrAtItsAbsolutePath) {
    const std::string bytes = PngHeader(300, 200);
    std::ofstream(folder_ / PathFromText(u"图/厂区平面图.png"), std::ios::binary) << bytes;
    Plan plan;
    plan.image = "图/厂区平面图.png";
    const Result<PlanPicture> relative = LoadPlanPicture(folder_, plan);
    ASSERT_TRUE(relative.ok()) << ToUtf8(relative.error());
    EXPECT_EQ(relative.value().bytes, bytes);
    EXPECT_EQ(relative.value().pixelWidth, 300);

    plan.image = ToUtf8(PathText(folder_ / PathFromText(u"图/厂区平面图.png")));
    EXPECT_TRUE(LoadPlanPicture("/nowhere", plan).ok());
}

TEST_F(PlanPictureFile, SaysWhichFileItCannotUse) {
    Plan plan;
    plan.image = "缺少.png";
    const Result<PlanPicture> missing = LoadPlanPicture(folder_, plan);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find(u"缺少.png"), std::u16string::npos);

    std::ofstream(folder_ / "plan.png", std::ios::binary) << "not a picture";
    plan.image = "plan.png";
    const Result<PlanPicture> wrong = LoadPlanPicture(folder_, plan);
    ASSERT_FALSE(wrong.ok());
    EXPECT_NE(wrong.error().find(u"PNG 或 JPEG"), std::u16string::npos);
    EXPECT_NE(wrong.error().find(u"plan.png"), std::u16string::npos);

    plan.image = "图";  // a folder
    EXPECT_FALSE(LoadPlanPicture(folder_, plan).ok());
    plan.image.clear();
    EXPECT_FALSE(LoadPlanPicture(folder_, plan).ok());
}

}  // namespace
}  // namespace quorvel::project
