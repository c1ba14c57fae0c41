#include <gmock/gmock.h>

#include "translate/light_fading.h"
#include "translate/object_translator.h"
#include "translate/testing/translation_fixture.h"

namespace lumetra::translate {
namespace {

using testing::After;
using testing::Arguments;
using ::testing::ElementsAre;

using Lights = testing::TranslationTest;

TEST_F(Lights, EachKindIsMadeSetAndThenPlacedAndNamedLikeAnyObject) {
  TranslateObjects(R"(
    {"type": "point_light", "name": "Key", "color": [1, 0.5, 0.25], "volumetric": true,
     "transform": {"translate": [4, 6, -5]}},
    {"type": "spot_light", "name": "Spot", "falloff": 25, "radius": 18, "tightness": 5, "attenuated": true},
    {"type": "area_light", "name": "Fill", "samples": [3, 4, 1], "jitter": true, "no_shadows": true})");
  const uint32_t key = Made("CreateLight");
  EXPECT_THAT(CallsOn(key),
              ElementsAre("SetLightColor", "SetLightShadowing", "SetLightCoeffs", "SetLightVolumetric",
                          "SetLightAttenuated", "TranslatePrim", "SetNameValue"));
  EXPECT_EQ(After(Calls("SetLightColor")[0], 2), (Arguments{1, 0.5, 0.25}));
  EXPECT_EQ(After(Calls("SetLightVolumetric")[0], 2), Arguments{1});
  EXPECT_EQ(After(Calls("SetLightAttenuated")[0], 2), Arguments{0});

  const uint32_t spot = Made("CreateSpotLight");
  EXPECT_EQ(After(Only("SetLightLocation"), 2), (Arguments{0, 0, 0}));
  EXPECT_EQ(After(Only("SetSpotLightCoeffs"), 2), (Arguments{0, 0, -2, 5, 18, 25}));
  EXPECT_EQ(After(Calls("SetLightAttenuated")[1]), (Arguments{double(spot), 1}));

  // The unit square is moved, doubled and stood up before the light's own placement;
  // a light without shadows neither casts them nor is shadowed.
  const uint32_t fill = Made("CreateAreaLight");
  EXPECT_THAT(CallsOn(fill),
              ElementsAre("SetAreaLight", "TranslatePrim", "ScalePrim", "RotatePrim", "SetLightColor",
                          "SetLightShadowing", "SetLightCoeffs", "SetLightVolumetric", "SetLightAttenuated",
                          "PrimCastsShadows", "SetNameValue"));
  EXPECT_EQ(After(Only("SetAreaLight"), 2), (Arguments{3, 4, 1, 0.5}));
  EXPECT_EQ(After(Calls("TranslatePrim")[1], 2), (Arguments{-0.5, 0, -0.5}));
  EXPECT_EQ(After(Only("ScalePrim"), 2), (Arguments{2, 2, 2}));
  EXPECT_EQ(After(Only("RotatePrim"), 2), (Arguments{90, 0, 0}));
  EXPECT_EQ(After(Calls("SetLightShadowing")[2]), (Arguments{double(fill), 0}));
  EXPECT_EQ(After(Calls("SetLightShadowing")[0]), (Arguments{double(key), 1}));
}

TEST_F(Lights, AnAreaLightWithoutJitterSamplesCellCentres) {
  TranslateObjects(R"({"type": "area_light", "samples": [5, 2, 0]})");
  EXPECT_EQ(After(Only("SetAreaLight"), 2), (Arguments{5, 2, 0, 0}));
}

TEST(LightFading, PowerAndDistanceChooseNoLinearOrQuadraticFading) {
  const auto coefficients = [](double distance, double power) {
    const FadeCoefficients c = FadeOf(distance, power);
    return Arguments{c.quadratic, c.linear, c.constant};
  };
  EXPECT_EQ(coefficients(10, 0.49), (Arguments{0, 0, 1}));
  EXPECT_EQ(coefficients(0.00001, 2), (Arguments{0, 0, 1}));  // no distance to fade over
  EXPECT_EQ(coefficients(-5, 2), (Arguments{0, 0, 1}));
  EXPECT_EQ(coefficients(4, 0.5), (Arguments{0, 0.125, 0.5}));
  EXPECT_EQ(coefficients(4, 1.49), (Arguments{0, 0.125, 0.5}));
  EXPECT_EQ(coefficients(4, 1.5), (Arguments{0.03125, 0, 0.5}));
  EXPECT_EQ(coefficients(0.00002, 3), (Arguments{0.5 / (0.00002 * 0.00002), 0, 0.5}));
}

TEST_F(Lights, TheFadeOfTheHostsValuesReachesTheLibrary) {
  TranslateObjects(R"({"type": "point_light", "fade_distance": 2, "fade_power": 1})");
  EXPECT_EQ(After(Only("SetLightCoeffs"), 2), (Arguments{0, 0.25, 0.5}));
}

}  // namespace
}  // namespace lumetra::translate
