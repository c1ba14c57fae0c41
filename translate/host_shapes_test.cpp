// Shapes built from the host's arrays and files: outlines, patches, meshes, height
// fields, blobs, text and the objects of other plug-ins.
#include <gmock/gmock.h>
#include <png.h>

#include <cstdio>
#include <filesystem>

#include "abi/result_codes.h"
#include "font/testing/system_fonts.h"
#include "translate/object_translator.h"
#include "translate/testing/translation_fixture.h"

namespace lumetra::translate {
namespace {

using testing::After;
using testing::Arguments;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class HostShapes : public testing::TranslationTest {
 protected:
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : messages_.Calls()) texts.push_back(message.text);
    return texts;
  }

  // A 16-bit grey PNG of width x height whose sample at (x, y) is 1000 x + y.
  void WriteWidePng(const std::filesystem::path& path, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 16, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(width) * 2);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const int value = 1000 * x + y;
        row[2 * x] = static_cast<png_byte>(value >> 8);  // big-endian in the file
        row[2 * x + 1] = static_cast<png_byte>(value & 0xFF);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
  }

  void CopyTestFile(const std::string& name) {
    std::filesystem::copy_file(std::string(LUMETRA_SOURCE_DIR) + "/testdata/scenes/every-kind/" + name,
                               Folder() / name);
  }
};

// The host hands each outline closed, its first point again at the end; the plug-in drops
// that last point and closes sweeps itself.
TEST_F(HostShapes, OutlinesDropTheirLastPointSweepsCloseAndCornersOfCubicOutlinesWeighZero) {
  TranslateObjects(R"(
    {"type": "sweep", "name": "Rail", "spline": "quadratic", "steps": 4, "extrusion": [0.5, 2],
     "points": [[0, 0], [1, 0], [1, 1]]},
    {"type": "lathe", "name": "Linear", "spline": "linear", "steps": 12, "points": [[0, 0], [1, 1]]},
    {"type": "lathe", "name": "Cubic", "spline": "cubic", "steps": 6, "points": [[0, 0], [1, 1], [2, 1]],
     "corners": [1]},
    {"type": "extrusion", "name": "Star", "spline": "bezier", "steps": 2, "extrusion": [0, 0.3],
     "points": [[0, 0], [1, 0], [0, 1]]})");
  const auto sweeps = Calls("CreateSweep");
  ASSERT_EQ(sweeps.size(), 2u);
  EXPECT_EQ(After(sweeps[0]), (Arguments{2, 4}));  // quadratic, three points and the first again
  EXPECT_EQ(sweeps[0].values, (Arguments{0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 1}));
  EXPECT_EQ(After(sweeps[1]), (Arguments{3, 4}));  // bezier is the library's cubic
  const auto lathes = Calls("CreateLathe");
  ASSERT_EQ(lathes.size(), 2u);
  EXPECT_EQ(After(lathes[0]), (Arguments{1, 2}));
  EXPECT_EQ(lathes[0].values, (Arguments{0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(After(lathes[1]), (Arguments{2, 3}));  // cubic with corners: quadratic, corner 1 weighs 0
  EXPECT_EQ(lathes[1].values, (Arguments{0, 0, 1, 1, 1, 0, 2, 1, 1}));

  const auto uv = Calls("SetPrimUV");
  ASSERT_EQ(uv.size(), 4u);
  EXPECT_EQ(After(uv[0], 2), (Arguments{4, 1}));
  EXPECT_EQ(After(uv[1], 2), (Arguments{12, 1}));  // a linear lathe
  EXPECT_EQ(After(uv[2], 2), (Arguments{6, 8}));   // a curved lathe
  EXPECT_EQ(After(uv[3], 2), (Arguments{2, 1}));
  const auto extrusions = Calls("SetGlyphExtrusion");
  ASSERT_EQ(extrusions.size(), 2u);
  EXPECT_EQ(After(extrusions[0]), (Arguments{double(sweeps[0].result), 0, 0.5, 2}));
  EXPECT_EQ(After(extrusions[1]), (Arguments{double(sweeps[1].result), 0, 0, 0.3}));
  EXPECT_EQ(After(Only("SetGlyphConeFlag")), (Arguments{double(sweeps[1].result), 1}));
}

TEST_F(HostShapes, SplineMeshesTakeTheirPatchesAndAGridOfTwoToTheLevelPlusOne) {
  std::string points;
  for (int i = 0; i < 16; ++i) points += (i ? "," : "") + std::string("[") + std::to_string(i) + ", 0, 1]";
  TranslateObjects(R"({"type": "spline_mesh", "subdivision_u": 3, "subdivision_v": 1, "points": [)" + points +
                   R"(], "patches": [[15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0]]})");
  const auto mesh = Only("CreateSplineMesh");
  EXPECT_EQ(After(mesh), (Arguments{0, 16, 1}));
  ASSERT_EQ(mesh.values.size(), 16u * 3 + 16);
  EXPECT_EQ(mesh.values[3 * 5], 5);  // point 5's x
  EXPECT_EQ(mesh.values[48], 15);    // the patch's first index
  EXPECT_EQ(After(Only("SetPrimUV"), 2), (Arguments{9, 3}));
}

TEST_F(HostShapes, PolygonMeshesPassNormalsAndCoordinatesOnlyWhenTheyHaveThem) {
  TranslateObjects(R"(
    {"type": "polygon_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2]]},
    {"type": "polygon_mesh", "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 2, 1]],
     "normals": [[0, 0, 1], [0, 0, 1], [0, 0, 1]], "uvs": [[0, 0], [1, 0], [0, 1]]})");
  const auto meshes = Calls("CreateTriBag3");
  ASSERT_EQ(meshes.size(), 2u);
  // vertex, normal, coordinate and face counts, flags; normals, coordinates, faces given;
  // normal faces and coordinate faces are the vertex faces.
  EXPECT_EQ(After(meshes[0]), (Arguments{3, 0, 0, 1, 1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(meshes[0].values, (Arguments{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 2}));
  EXPECT_EQ(After(meshes[1]), (Arguments{3, 3, 3, 1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(HostShapes, MeshFilesAreSmoothedAboveZeroAndABadMeshIsReported) {
  std::ofstream(Folder() / "tri.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  Load(SceneWith(R"({"type": "mesh_file", "file": "tri.obj", "smoothing_angle": 30},
                    {"type": "mesh_file", "file": "tri.obj"})"));
  ObjectTranslator(job_, record_).TranslateScene();
  const auto meshes = Calls("CreateTriBag");
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(After(meshes[0]), (Arguments{3, 0, 1, 1}));
  EXPECT_EQ(meshes[0].values, (Arguments{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 2}));
  EXPECT_EQ(After(Only("SmoothTriBag")), (Arguments{double(meshes[0].result), 30}));

  // A host without the mesh: the completed path names it.
  record_.getMeshInterface = [](uint32_t, abi::MeshRecord*) -> int32_t { return abi::kNotFound; };
  ObjectTranslator(job_, record_).TranslateScene();
  EXPECT_EQ(Calls("CreateTriBag").size(), 2u);
  const std::string path = (Folder() / "tri.obj").lexically_normal().string();
  EXPECT_THAT(MessageTexts(), ElementsAre("Bad mesh [" + path + "], vertices: 0, faces: 0\n",
                                          "Bad mesh [" + path + "], vertices: 0, faces: 0\n"));
}

TEST_F(HostShapes, HeightFieldsOfByteImagesAreFittedToTheUnitSquare) {
  CopyTestFile("terrain.png");
  TranslateObjects(R"({"type": "height_field", "image": "terrain.png", "smooth": true})");
  const auto field = Only("CreateHeight8");
  EXPECT_EQ(After(field), (Arguments{32, 32}));
  ASSERT_EQ(field.values.size(), 1024u);
  EXPECT_THAT(CallsOn(field.result),
              ElementsAre("ScalePrim", "TranslatePrim", "RotatePrim", "UpdatePrim", "SmoothHeightField"));
  EXPECT_EQ(After(Only("ScalePrim"), 2), (Arguments{2.0 / 31, 2, 2.0 / 31}));
  EXPECT_EQ(After(Only("TranslatePrim"), 2), (Arguments{-1, -1, -1}));
  EXPECT_EQ(After(Only("RotatePrim"), 2), (Arguments{90, 0, 0}));
}

TEST_F(HostShapes, HeightFieldsOfWideImagesKeepSixteenBitsAndStandAtZero) {
  WriteWidePng(Folder() / "wide.png", 5, 3);
  TranslateObjects(R"({"type": "height_field", "image": "wide.png"})");
  const auto field = Only("CreateHeight16");
  EXPECT_EQ(After(field), (Arguments{5, 3}));
  ASSERT_EQ(field.values.size(), 15u);
  EXPECT_EQ(field.values[0], 0);
  EXPECT_EQ(field.values[1], 1000);          // x = 1 of the top row
  EXPECT_EQ(field.values[2 * 5 + 4], 4002);  // x = 4 of the bottom row
  EXPECT_EQ(After(Only("ScalePrim"), 2), (Arguments{0.5, 0.0078125, 1}));
  EXPECT_EQ(After(Only("TranslatePrim"), 2), (Arguments{-1, 0, -1}));
  EXPECT_THAT(Calls("SmoothHeightField"), IsEmpty());
}

TEST_F(HostShapes, AnUnreadableHeightImageIsReportedAndAnUnfoundOneSkipped) {
  std::ofstream(Folder() / "bad.png") << "not an image";
  TranslateObjects(R"({"type": "height_field", "image": "bad.png"}, {"type": "sphere"})");
  EXPECT_THAT(Calls("CreateHeight8"), IsEmpty());
  EXPECT_THAT(MessageTexts(),
              ElementsAre("Unsupported height format in [" + (Folder() / "bad.png").string() + "]"));
  EXPECT_EQ(Calls("CreateSphere").size(), 1u);  // the walk goes on

  messages_.Clear();
  record_.findFile = [](int32_t, char*) -> int32_t { return abi::kNotFound; };
  ObjectTranslator(job_, record_).TranslateScene();
  EXPECT_THAT(MessageTexts(), IsEmpty());
  EXPECT_EQ(Calls("CreateSphere").size(), 2u);
}

TEST_F(HostShapes, BlobsTakeEveryComponentInTheHostsOrder) {
  TranslateObjects(R"({"type": "blob", "threshold": 0.6, "solver": 2, "components": [
    {"kind": "sphere", "centre": [1, 2, 3], "radius": 0.5, "strength": -1},
    {"kind": "cylinder", "from": [0, 0, 0], "to": [0, 1, 0], "radius": 0.2, "strength": 2}]})");
  const uint32_t blob = Made("CreateBlob");
  EXPECT_THAT(CallsOn(blob), ElementsAre("SetBlobThreshold", "AddBlobSphereComponent",
                                         "AddBlobCylinderComponent", "SetBlobSolver", "UpdatePrim"));
  EXPECT_EQ(After(Only("SetBlobThreshold"), 2), Arguments{0.6});
  EXPECT_EQ(After(Only("AddBlobSphereComponent"), 2), (Arguments{1, 2, 3, 0.5, -1}));
  EXPECT_EQ(After(Only("AddBlobCylinderComponent"), 2), (Arguments{0, 0, 0, 0, 1, 0, 0.2, 2}));
  EXPECT_EQ(After(Only("SetBlobSolver"), 2), Arguments{2});
}

// Texts in a font the host finds among the system's.
class HostText : public HostShapes {
 protected:
  void SetUp() override {
    if (!font::testing::SystemFont("DejaVuSans.ttf"))
      GTEST_SKIP() << font::testing::MissingFont("DejaVuSans.ttf");
    HostShapes::SetUp();
  }
};

TEST_F(HostText, IsSetInTheFontTheHostFindsOrReportsTheMissingFont) {
  TranslateObjects(
      R"({"type": "text", "name": "Title", "text": "Hi", "font": "DejaVuSans.ttf", "depth": 0.5})");
  EXPECT_EQ(Calls("CreateGlyph").size(), 2u);
  const auto extrusions = Calls("SetGlyphExtrusion");
  ASSERT_EQ(extrusions.size(), 2u);
  EXPECT_EQ(After(extrusions[0], 2), (Arguments{0, 0, 0.5}));
  EXPECT_EQ(recorder_.FiledValue("Title"), Calls("CreateCSG").back().result);

  record_.findFile = [](int32_t, char*) -> int32_t { return abi::kNotFound; };
  job_.keptNames.clear();
  renderlib::testing::RenderCallRecorder fresh;
  ObjectTranslator(job_, record_).TranslateScene();
  EXPECT_THAT(Calls("CreateGlyph"), IsEmpty());
  EXPECT_THAT(MessageTexts(), ElementsAre("Can't find font: [DejaVuSans.ttf]"));
}

TEST_F(HostText, ItsSizeScalesItsGlyphsAcrossAndUpButNotInDepth) {
  TranslateObjects(R"({"type": "text", "name": "Big", "text": "Hi", "font": "DejaVuSans.ttf", "size": 3},
                      {"type": "text", "name": "Plain", "text": "Hi", "font": "DejaVuSans.ttf"},
                      {"type": "text", "name": "Flat", "text": "Hi", "font": "DejaVuSans.ttf", "size": 0})");
  const auto big = static_cast<uint32_t>(recorder_.FiledValue("Big"));
  EXPECT_THAT(CallsOn(big), ElementsAre("ScalePrim", "SetNameValue"));
  EXPECT_EQ(After(Only("ScalePrim"), 2), (Arguments{3, 3, 1}));
  EXPECT_THAT(CallsOn(static_cast<uint32_t>(recorder_.FiledValue("Plain"))), ElementsAre("SetNameValue"));
  EXPECT_EQ(recorder_.FiledValue("Flat"), 0u);
  EXPECT_EQ(Calls("CreateGlyph").size(), 4u);
}

TEST_F(HostShapes, PluginMeshesAreSinglePrecisionAndSphericalFieldsBoundedUnlessWhole) {
  CopyTestFile("terrain.png");
  TranslateObjects(R"(
    {"type": "plugin_object", "kind": "triangle_mesh", "smoothing_angle": 45,
     "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [[0, 1, 2]]},
    {"type": "plugin_object", "kind": "spherical_height", "image": "terrain.png", "smooth": true},
    {"type": "plugin_object", "kind": "spherical_height", "image": "terrain.png", "latitude": [0, 90]})");
  const auto mesh = Only("CreateTriBag2F");
  EXPECT_EQ(After(mesh), (Arguments{3, 0, 1, 1}));
  EXPECT_EQ(After(Only("SmoothTriBag")), (Arguments{double(mesh.result), 45}));
  const auto fields = Calls("CreateSphericalHeight8");
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(After(fields[0]), (Arguments{32, 32}));
  EXPECT_THAT(CallsOn(fields[0].result), ElementsAre("SmoothHeightField"));
  EXPECT_EQ(After(Only("SetSphericalHeightBounds")), (Arguments{double(fields[1].result), 0, 90, 0, 360}));
}

}  // namespace
}  // namespace lumetra::translate
