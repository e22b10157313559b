#include "model/dispersion_coefficients.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/meteorology.h"

namespace quorvel {
namespace {

TEST(DispersionCoefficients, RuralCurvesAtKnownPoints) {
    const DispersionCoefficients d(Stability::D, LandUse::Rural);
    EXPECT_NEAR(d.At(1000.0).y, 68.13, 0.01);
    EXPECT_NEAR(d.At(1000.0).z, 32.093, 1e-3);
    EXPECT_NEAR(d.At(500.0).z, 32.093 * std::pow(0.5, 0.81066), 1e-6);
    const DispersionCoefficients f(Stability::F, LandUse::Rural);
    EXPECT_NEAR(f.At(1500.0).z, 13.953 * std::pow(1.5, 0.63227), 1e-6);
    EXPECT_NEAR(f.At(100000.0).z, 34.219 * std::pow(100.0, 0.21716), 1e-6);
    const DispersionCoefficients a(Stability::A, LandUse::Rural);
    EXPECT_NEAR(a.At(2000.0).z, std::min(5000.0, 453.85 * std::pow(2.0, 2.1166)), 1e-6);
    EXPECT_DOUBLE_EQ(a.At(4000.0).z, 5000.0);
    EXPECT_EQ(a.Joins().size(), 8u);
    EXPECT_TRUE(DispersionCoefficients(Stability::C, LandUse::Rural).Joins().empty());
}

TEST(DispersionCoefficients, UrbanCurvesAtKnownPoints) {
    const double x = 1000.0;
    const DispersionCoefficients b(Stability::B, LandUse::Urban);
    EXPECT_NEAR(b.At(x).y, 320.0 / std::sqrt(1.4), 1e-9);
    EXPECT_NEAR(b.At(x).z, 240.0 * std::sqrt(2.0), 1e-9);
    const DispersionCoefficients c(Stability::C, LandUse::Urban);
    EXPECT_NEAR(c.At(x).z, 200.0, 1e-9);
    const DispersionCoefficients d(Stability::D, LandUse::Urban);
    EXPECT_NEAR(d.At(x).y, 160.0 / std::sqrt(1.4), 1e-9);
    EXPECT_NEAR(d.At(x).z, 140.0 / std::sqrt(1.3), 1e-9);
    const DispersionCoefficients f(Stability::F, LandUse::Urban);
    EXPECT_NEAR(f.At(x).y, 110.0 / std::sqrt(1.4), 1e-9);
    EXPECT_NEAR(f.At(x).z, 80.0 / std::sqrt(2.5), 1e-9);
}

TEST(Meteorology, WindAtReleaseHeightAndMixingHeight) {
    const MetCondition urban = MakeMetCondition(Stability::A, 2.0, 15.0, LandUse::Urban);
    EXPECT_NEAR(urban.us, 2.0 * std::pow(1.5, 0.15), 1e-12);
    EXPECT_TRUE(urban.has_lid);
    EXPECT_DOUBLE_EQ(urban.mixing_height, 640.0);
    // Below 10 m the wind is the 10-m wind; a high release lifts the lid.
    EXPECT_DOUBLE_EQ(MakeMetCondition(Stability::F, 1.5, 2.0, LandUse::Rural).us, 1.5);
    EXPECT_DOUBLE_EQ(MakeMetCondition(Stability::D, 1.0, 400.0, LandUse::Rural).mixing_height,
                     401.0);
    EXPECT_NEAR(MakeMetCondition(Stability::F, 1.0, 40.0, LandUse::Rural).us, std::pow(4.0, 0.55),
                1e-12);
    EXPECT_FALSE(MakeMetCondition(Stability::E, 1.0, 5.0, LandUse::Urban).has_lid);
}

TEST(DispersionCoefficients, UrbanClassesSharingCurvesAreEqual) {
    auto urban = [](Stability s) { return DispersionCoefficients(s, LandUse::Urban); };
    auto rural = [](Stability s) { return DispersionCoefficients(s, LandUse::Rural); };
    EXPECT_EQ(urban(Stability::A), urban(Stability::B));
    EXPECT_EQ(urban(Stability::E), urban(Stability::F));
    EXPECT_NE(urban(Stability::B), urban(Stability::C));
    EXPECT_NE(urban(Stability::D), urban(Stability::E));
    EXPECT_NE(rural(Stability::A), rural(Stability::B));
    EXPECT_NE(rural(Stability::E), rural(Stability::F));
    EXPECT_NE(rural(Stability::A), urban(Stability::A));
    EXPECT_DOUBLE_EQ(urban(Stability::F).At(700.0).z,
                     0.08 * 700.0 / std::sqrt(1.0 + 0.0015 * 700.0));
}

TEST(Meteorology, ChoicesExpandToTheirConditions) {
    EXPECT_EQ(ExpandMetChoice(MetChoice{}, 5.0, LandUse::Rural).size(), 54u);
    MetChoice one_class{MetChoice::Kind::SingleClass, Stability::C, 0.0};
    const auto c = ExpandMetChoice(one_class, 5.0, LandUse::Rural);
    ASSERT_EQ(c.size(), 11u);
    EXPECT_DOUBLE_EQ(c.back().u10, 10.0);
    MetChoice single{MetChoice::Kind::SingleClassAndSpeed, Stability::E, 2.5};
    const auto e = ExpandMetChoice(single, 5.0, LandUse::Urban);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].stability, Stability::E);
    EXPECT_DOUBLE_EQ(e[0].u10, 2.5);
}

}  // namespace
}  // namespace quorvel
