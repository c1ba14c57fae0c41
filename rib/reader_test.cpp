// Reading RIB: tokens, requests, parameter lists and the errors of malformed files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/testing/scratch_directory.h"
#include "rib/lexer.h"
#include "rib/rib_error.h"
#include "rib/testing/render_text.h"

namespace lumetra::rib {
namespace {

using testing::ErrorOf;
using ::testing::HasSubstr;
using testing::RenderText;
using ::testing::StartsWith;

std::vector<Request> Requests(const std::string& text) {
  std::vector<Request> requests;
  ReadRequests(text, "a.rib", [&](const Request& r) { requests.push_back(r); });
  return requests;
}

std::string ReadError(const std::string& text) {
  try {
    Requests(text);
  } catch (const RibError& error) {
    return error.what();
  }
  return "";
}

TEST(RibLexer, ReadsNumbersStringsNamesAndBracketsWithTheirLines) {
  Lexer lexer("Sphere -1.5e2 .5 +3 # a comment \"not a string\"\n \"a\\tb\\\"c\\101\" [ ]", "x.rib");
  Token t = lexer.Next();
  EXPECT_EQ(t.kind, TokenKind::kName);
  EXPECT_EQ(t.text, "Sphere");
  EXPECT_DOUBLE_EQ(lexer.Next().number, -150);
  EXPECT_DOUBLE_EQ(lexer.Next().number, 0.5);
  EXPECT_DOUBLE_EQ(lexer.Next().number, 3);
  t = lexer.Next();
  EXPECT_EQ(t.kind, TokenKind::kString);
  EXPECT_EQ(t.text, "a\tb\"cA");
  EXPECT_EQ(t.line, 2);
  EXPECT_EQ(lexer.Next().kind, TokenKind::kOpenArray);
  EXPECT_EQ(lexer.Next().kind, TokenKind::kCloseArray);
  EXPECT_EQ(lexer.Next().kind, TokenKind::kEnd);
}

TEST(RibLexer, RefusesNumbersADoubleCannotHoldAndStrayBytes) {
  EXPECT_EQ(ReadError("Sphere 1\n 1e400 1 1"), "a.rib:2: number out of range: 1e400");
  EXPECT_EQ(ReadError("Sphere 1.2.3"), "a.rib:1: malformed number: 1.2.3");
  EXPECT_EQ(ReadError("Sphere 12abc"), "a.rib:1: malformed number: 12a");
  EXPECT_EQ(ReadError("Sphere -"), "a.rib:1: malformed number: -");
  EXPECT_EQ(ReadError("\n\nSphere @"), "a.rib:3: unexpected character '@'");
  EXPECT_THAT(ReadError("Sphere \x81"), HasSubstr("binary RIB"));
  EXPECT_EQ(ReadError("Display \"x\n\ny"), "a.rib:1: unclosed string");
}

TEST(RibRequests, GroupValuesUpToTheNextNameAndCheckArrays) {
  const auto requests = Requests("Translate 1 2 3\nPolygon \"P\" [0 0 0\n 1 0 0 1 1 0]\nWorldEnd");
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].name, "Polygon");
  EXPECT_EQ(requests[1].line, 2);
  ASSERT_EQ(requests[1].values.size(), 2u);
  EXPECT_EQ(requests[1].values[1].kind, Value::Kind::kNumberArray);
  EXPECT_EQ(requests[1].values[1].numbers.size(), 9u);
  EXPECT_EQ(requests[2].line, 4);

  EXPECT_EQ(ReadError("1 2 Sphere"), "a.rib:1: expected a request name");
  EXPECT_EQ(ReadError("Basis [1 [2]]"), "a.rib:1: arrays do not nest");
  EXPECT_EQ(ReadError("Basis\n [1 \"a\"]"), "a.rib:2: array mixes numbers and strings");
  EXPECT_EQ(ReadError("Basis\n[1 2\n\n"), "a.rib:2: array opened here is never closed");
  EXPECT_EQ(ReadError("Basis 1 ]"), "a.rib:1: ']' without '['");
}

TEST(RibParameters, DeclarationsParseClassTypeAndSize) {
  const auto d = Declarations::Parse("uniform color[2]");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->storage, StorageClass::kUniform);
  EXPECT_EQ(d->type, ParamType::kColor);
  EXPECT_EQ(d->ValuesPerItem(), 6);
  EXPECT_EQ(Declarations::Parse("vertex point")->ValuesPerItem(), 3);
  EXPECT_EQ(Declarations::Parse("float [ 4 ]")->arraySize, 4);
  EXPECT_FALSE(Declarations::Parse("uniform"));
  EXPECT_FALSE(Declarations::Parse("colour"));
  EXPECT_FALSE(Declarations::Parse("float[0]"));
  EXPECT_FALSE(Declarations::Parse("float[x]"));
}

const char* kWorld = "WorldBegin\n";

TEST(RibParameters, DeclaredAndInlineTypesAreCheckedByCount) {
  // A Declare'd colour needs three numbers; an inline one likewise.
  EXPECT_EQ(ErrorOf(std::string("Declare \"tint\" \"uniform color\"\n") + kWorld +
                    "Surface \"matte\" \"tint\" [1 0]\nWorldEnd"),
            "scene.rib:3: Surface: parameter \"tint\" has 2 numbers, needs 3");
  EXPECT_EQ(ErrorOf(std::string(kWorld) + "Surface \"matte\" \"uniform float Kd\" [1 2]\nWorldEnd"),
            "scene.rib:2: Surface: parameter \"Kd\" has 2 numbers, needs 1");
  EXPECT_EQ(ErrorOf(std::string(kWorld) + "Surface \"matte\" \"Kd\" \"x\"\nWorldEnd"),
            "scene.rib:2: Surface: parameter \"Kd\" needs numbers");
  EXPECT_EQ(ErrorOf(std::string(kWorld) + "Surface \"matte\" \"Kd\"\nWorldEnd"),
            "scene.rib:2: Surface: parameter \"Kd\" has no value");
  EXPECT_EQ(ErrorOf("Declare \"k\" \"uniform frobnicate\""),
            "scene.rib:1: Declare: malformed declaration \"uniform frobnicate\" of \"k\"");
  EXPECT_EQ(ErrorOf(std::string(kWorld) + "LightSource \"pointlight\" 1 \"from\" [0 0]\nWorldEnd"),
            "scene.rib:2: LightSource: parameter \"from\" has 2 numbers, needs 3");
}

TEST(RibParameters, UndeclaredParametersAreNamedOnceAndIgnored) {
  const auto outcome = RenderText(
      std::string(kWorld) + "Surface \"matte\" \"glow\" 1\nSurface \"matte\" \"glow\" 2\nWorldEnd", false);
  EXPECT_EQ(outcome.error, "");
  EXPECT_EQ(outcome.said, "lumetra-rib: ignoring undeclared parameter \"glow\"\n");
}

TEST(RibStructure, NestedBlocksBalanceAndUnbalancedOnesNameTheirLine) {
  EXPECT_EQ(ErrorOf("FrameBegin 1\nWorldBegin\nAttributeBegin\nTransformBegin\nTransformEnd\nAttributeEnd\n"
                    "WorldEnd\nFrameEnd"),
            "");
  EXPECT_EQ(ErrorOf("WorldBegin\nAttributeBegin\nWorldEnd"),
            "scene.rib:3: WorldEnd closes AttributeBegin of scene.rib:2");
  EXPECT_EQ(ErrorOf("WorldBegin\nAttributeEnd"),
            "scene.rib:2: AttributeEnd closes WorldBegin of scene.rib:1");
  EXPECT_EQ(ErrorOf("AttributeEnd"), "scene.rib:1: AttributeEnd without AttributeBegin");
  EXPECT_EQ(ErrorOf("\nWorldBegin\nAttributeBegin\nAttributeEnd\n"),
            "scene.rib:2: WorldBegin is never closed");
  EXPECT_EQ(ErrorOf("WorldBegin\nWorldBegin"), "scene.rib:2: WorldBegin inside a world");
  EXPECT_EQ(ErrorOf("WorldBegin\nSolidBegin \"union\"\nSolidEnd\nSolidEnd\nWorldEnd"),
            "scene.rib:4: SolidEnd closes WorldBegin of scene.rib:1");
  EXPECT_EQ(ErrorOf("ObjectBegin 1\nSphere 1 -1 1 360"), "scene.rib:1: ObjectBegin is never closed");
  EXPECT_EQ(ErrorOf("Sphere 1 -1 1 360"), "scene.rib:1: Sphere: only inside WorldBegin and WorldEnd");
  EXPECT_EQ(ErrorOf("WorldBegin\nFormat 10 10 1\nWorldEnd"), "scene.rib:2: Format: only before WorldBegin");
}

TEST(RibStructure, WrongArgumentCountsAndKindsAreRefused) {
  EXPECT_EQ(ErrorOf("WorldBegin\nSphere 1 -1 1\nWorldEnd"), "scene.rib:2: Sphere: missing a number");
  EXPECT_EQ(ErrorOf("Translate 1 2 3 4"), "scene.rib:1: Translate: too many values");
  EXPECT_EQ(ErrorOf("Translate [1 2 3 4]"), "scene.rib:1: Translate: too many numbers");
  EXPECT_EQ(ErrorOf("Rotate 30 0 0 0"), "scene.rib:1: Rotate: the axis is zero");
  EXPECT_EQ(ErrorOf("Format 64 \"x\" 1"), "scene.rib:1: Format: expected a number, got a string");
  EXPECT_EQ(ErrorOf("Format 64.5 48 1"), "scene.rib:1: Format: expected an integer");
  EXPECT_EQ(ErrorOf("Format 100000 48 1"),
            "scene.rib:1: Format: picture size must be 1 to 16384 pixels a side");
  EXPECT_EQ(ErrorOf("ConcatTransform [1 0 0 0 0 1 0 0 0 0 1 0]"),
            "scene.rib:1: ConcatTransform: missing a number");
  EXPECT_EQ(ErrorOf("WorldEnd 3"), "scene.rib:1: WorldEnd: too many values");
  EXPECT_EQ(ErrorOf("Translate 1 2 NaN"), "scene.rib:1: Translate: missing a number");
  EXPECT_EQ(ErrorOf("Color 1 2 3\nNaN"), "scene.rib:2: NaN is not a number RIB reads");
  EXPECT_EQ(ErrorOf("Projection \"perspective\" \"fov\" 180"),
            "scene.rib:1: Projection: fov must lie between 0 and 180 degrees");
}

TEST(RibStructure, HugeTransformsFailAtTheShapeThatUsesThem) {
  EXPECT_EQ(ErrorOf("WorldBegin\nScale 1e200 1e200 1e200\nScale 1e200 1 1\nSphere 1 -1 1 360\nWorldEnd"),
            "scene.rib:4: Sphere: the transform is out of range");
}

TEST(RibStructure, UnsupportedRequestsAreNamedOnceAndSkippedWithTheirValues) {
  const auto outcome = RenderText(
      "Hider \"hidden\" \"jitter\" [1]\nShadingRate 1\nHider \"hidden\"\nWorldBegin\n"
      "Attribute \"identifier\" \"name\" [\"x\"]\nShadingRate 2\nWorldEnd",
      false);
  EXPECT_EQ(outcome.error, "");
  EXPECT_EQ(outcome.said,
            "lumetra-rib: skipping unsupported request Hider\n"
            "lumetra-rib: skipping unsupported request ShadingRate\n"
            "lumetra-rib: skipping unsupported request Attribute\n");
}

TEST(RibStructure, PolygonCountsMustAgree) {
  const std::string world = "WorldBegin\n";
  EXPECT_EQ(ErrorOf(world + "Polygon \"P\" [0 0 0 1 0 0]\nWorldEnd"),
            "scene.rib:2: Polygon: a loop needs at least 3 vertices");
  EXPECT_EQ(ErrorOf(world + "Polygon \"P\" [0 0 0 1 0 0 1 1]\nWorldEnd"),
            "scene.rib:2: Polygon: parameter \"P\" has 8 numbers, not a multiple of 3");
  EXPECT_EQ(ErrorOf(world + "Polygon \"N\" [0 0 1]\nWorldEnd"), "scene.rib:2: Polygon: needs \"P\" points");
  EXPECT_EQ(ErrorOf(world + "PointsPolygons [3] [0 1 5] \"P\" [0 0 0 1 0 0 1 1 0]\nWorldEnd"),
            "scene.rib:2: PointsPolygons: vertex index 5 is not one of the 3 points");
  EXPECT_EQ(ErrorOf(world + "PointsPolygons [3 3] [0 1 2] \"P\" [0 0 0 1 0 0 1 1 0]\nWorldEnd"),
            "scene.rib:2: PointsPolygons: the vertex counts add up to 6, but 3 vertex indices are given");
  EXPECT_EQ(ErrorOf(world + "PointsGeneralPolygons [2] [3] [0 1 2] \"P\" [0 0 0 1 0 0 1 1 0]\nWorldEnd"),
            "scene.rib:2: PointsGeneralPolygons: the loop counts add up to 2, not the 1 vertex counts given");
  EXPECT_EQ(
      ErrorOf(world + "PatchMesh \"bicubic\" 5 \"nonperiodic\" 4 \"nonperiodic\" \"P\" [0 0 0]\nWorldEnd"),
      "scene.rib:2: PatchMesh: the points in u do not fit the basis step");
}

TEST(RibStructure, ObjectsMustBeDefinedBeforeTheirInstances) {
  EXPECT_EQ(ErrorOf("WorldBegin\nObjectInstance 3\nWorldEnd"),
            "scene.rib:2: ObjectInstance: no object 3 was defined");
  EXPECT_EQ(ErrorOf("WorldBegin\nObjectBegin 1\nObjectInstance 1\nObjectEnd\nObjectInstance 1\nWorldEnd"),
            "scene.rib:3: ObjectInstance: objects nest too deep");
}

// Reads `main` from a folder holding `files` (name, text); the error, or empty.
std::string ErrorOfFiles(const std::vector<std::pair<std::string, std::string>>& files,
                         std::string* said = nullptr) {
  platform::ScratchDirectory folder;
  for (const auto& [name, text] : files) std::ofstream(folder / name) << text;
  std::ostringstream out;
  Diagnostics diagnostics(out);
  Interpreter interpreter(diagnostics, InterpreterOptions{std::nullopt, false, true});
  std::string error;
  try {
    interpreter.ReadFile(folder / files[0].first);
    interpreter.Finish();
  } catch (const RibError& e) {
    error = e.what();
    error.erase(0, (folder.Path().string() + "/").size());  // the folder's name is new each time
  }
  if (said) *said = out.str();
  return error;
}

TEST(RibStructure, ArchivesAreReadBesideTheirFileAndErrorsNameTheirOwnLines) {
  std::string said;
  EXPECT_EQ(ErrorOfFiles({{"main.rib", "WorldBegin\nReadArchive \"part.rib\"\nWorldEnd"},
                          {"part.rib", "Sphere 1 -1 1 360\nHider \"x\""}},
                         &said),
            "");
  EXPECT_EQ(said, "lumetra-rib: skipping unsupported request Hider\n");
  EXPECT_EQ(ErrorOfFiles({{"main.rib", "WorldBegin\nReadArchive \"part.rib\"\nWorldEnd"},
                          {"part.rib", "Sphere 1 -1 1 360\nSphere 1\n"}}),
            "part.rib:2: Sphere: missing a number");
  EXPECT_THAT(ErrorOfFiles({{"main.rib", "WorldBegin\n\nReadArchive \"gone.rib\"\nWorldEnd"}}),
              HasSubstr("main.rib:3: cannot read archive gone.rib: No such file or directory"));
  EXPECT_EQ(ErrorOfFiles({{"main.rib", "ReadArchive \"main.rib\""}}),
            "main.rib:1: ReadArchive: archives nest too deep");
}

}  // namespace
}  // namespace lumetra::rib
