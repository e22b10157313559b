#include "ui/core/plan_picture_format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

TEST(PlanPictureFormat, TheExtensionInAnyCaseChoosesTheFormat) {
    EXPECT_EQ(PlanPictureFormatOf(u8"厂区图.png", false).value(), PlanPictureFormat::Png);
    EXPECT_EQ(PlanPictureFormatOf("a/b.v2/plan.PNG", true).value(), PlanPictureFormat::Png);
    EXPECT_EQ(PlanPictureFormatOf("plan.Svg", false).value(), PlanPictureFormat::Svg);
    EXPECT_EQ(PlanPictureFormatOf("plan.EMF", true).value(), PlanPictureFormat::Emf);

    // What cannot be written is refused, naming the file and what can be.
    const Result<PlanPictureFormat> emfOnLinux = PlanPictureFormatOf("plan.emf", false);
    ASSERT_FALSE(emfOnLinux.ok());
    EXPECT_NE(emfOnLinux.error().find(u"plan.emf"), std::u16string::npos);
    EXPECT_NE(emfOnLinux.error().find(u".svg"), std::u16string::npos);
    EXPECT_EQ(emfOnLinux.error().find(u".emf 结尾"), std::u16string::npos);
    for (const char* name : {"plan.jpg", "plan", "plan.png.bak", "plan."}) {
        const Result<PlanPictureFormat> refused = PlanPictureFormatOf(name, true);
        ASSERT_FALSE(refused.ok()) << name;
        EXPECT_NE(refused.error().find(FromUtf8(name)), std::u16string::npos) << name;
        EXPECT_NE(refused.error().find(u".emf"), std::u16string::npos) << name;
    }
}

TEST(PlanPictureFormat, ANameTypedWithoutExtensionTakesTheChosenFiltersOne) {
    EXPECT_EQ(WithPlanPictureExtension(u8"图/厂区图", PlanPictureFormat::Svg),
              fs::path(u8"图/厂区图.svg"));
    EXPECT_EQ(WithPlanPictureExtension("plan", PlanPictureFormat::Emf), fs::path("plan.emf"));
    EXPECT_EQ(WithPlanPictureExtension("plan.PNG", PlanPictureFormat::Svg), fs::path("plan.PNG"));
    // A name with another extension stays as typed, and is refused when written.
    EXPECT_EQ(WithPlanPictureExtension("plan.jpg", PlanPictureFormat::Png), fs::path("plan.jpg"));
    EXPECT_EQ(WithPlanPictureExtension("", PlanPictureFormat::Png), fs::path());
}

TEST(PlanPictureFormat, OffersTheProjectsNameOrItsFilesStem) {
    EXPECT_EQ(SuggestedPlanPictureName("示例化工项目", u8"x/other.qvproj"),
              u"示例化工项目-厂区图.png");
    EXPECT_EQ(SuggestedPlanPictureName("", u8"x/二期.qvproj"), u"二期-厂区图.png");
    EXPECT_EQ(SuggestedPlanPictureName("", ""), u"厂区图.png");
    EXPECT_EQ(SuggestedPlanPictureName("A/B:C", ""), u"A_B_C-厂区图.png");
}

TEST(PlanPictureFormat, ThePageIsTheTextWidthOfA4AndFollowsTheFiguresShape) {
    project::SiteFigure figure;
    figure.extent = {100.0, -50.0, 500.0, 250.0};  // 400 m x 300 m
    figure.room = {30.0, 10.0, 5.0, 20.0};         // left, right, top, bottom (pt)
    const PlanPage page = PlanPageOf(figure);
    EXPECT_DOUBLE_EQ(page.width, 454.0);
    EXPECT_NEAR(page.height, (454.0 - 40.0) * 0.75 + 25.0, 1e-9);
    // The extent fills the page less the label room.
    const project::PixelPoint topLeft = project::ToPixel(page.view, {100.0, 250.0});
    const project::PixelPoint bottomRight = project::ToPixel(page.view, {500.0, -50.0});
    EXPECT_NEAR(topLeft.x, 30.0, 1e-6);
    EXPECT_NEAR(topLeft.y, 5.0, 1e-6);
    EXPECT_NEAR(bottomRight.x, 444.0, 1e-6);
    EXPECT_NEAR(bottomRight.y, page.height - 20.0, 1e-6);

    figure.extent.maxY = std::numeric_limits<double>::quiet_NaN();
    const PlanPage broken = PlanPageOf(figure);
    EXPECT_GT(broken.height, 1.0);
    EXPECT_TRUE(std::isfinite(broken.height));
}

TEST(PlanPictureFormat, TheSvgIsAFileOfItsOwn) {
    project::SiteFigure figure;
    figure.extent = {0.0, 0.0, 200.0, 150.0};
    const std::string svg = PlanSvgText(figure);
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

TEST(PlanPictureFormat, WritesTheFileOrSaysWhichFileItCouldNotWrite) {
    const fs::path dir =
        fs::temp_directory_path() /
        ("quorvel_plan_picture_" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    const fs::path file = dir / u8"厂区图.svg";
    ASSERT_TRUE(WritePlanPicture(file, "<svg/>").ok());
    {
        std::ifstream in(file, std::ios::binary);  // closed before the folder goes
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str(), "<svg/>");
    }

    const Status missing = WritePlanPicture(dir / u8"无此目录" / u8"厂区图.png", "x");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().rfind(u"图片未写出：", 0), 0u);
    EXPECT_NE(missing.error().find(u"厂区图.png"), std::u16string::npos);
    EXPECT_FALSE(fs::exists(dir / u8"无此目录"));
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace quorvel
