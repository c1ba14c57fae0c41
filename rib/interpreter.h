// Carries out RIB requests: options and camera, the graphics state with its attribute and
// transform stacks, the scene built onto the render library, one picture per world.
#pragma once

#include <lumetra2.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "math/matrix4.h"
#include "rib/diagnostics.h"
#include "rib/parameters.h"
#include "rib/patch_basis.h"
#include "rib/picture.h"
#include "rib/request_reader.h"
#include "rib/surface.h"

namespace lumetra::rib {

struct InterpreterOptions {
  std::optional<std::string> output;  // replaces every Display's file name
  bool render = true;                 // false builds the scenes but renders nothing
  bool readArchives = true;           // false refuses ReadArchive
};

class Interpreter {
 public:
  Interpreter(Diagnostics& diagnostics, InterpreterOptions options);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // Reads a whole file of RIB and carries it out; archives it reads are found beside it.
  void ReadFile(const std::filesystem::path& path);
  void ReadText(std::string_view text, const std::string& fileName);
  // Checks that every block was closed. Throws RibError naming the block's first line.
  void Finish();

  // The pictures of every world rendered so far, in order.
  const std::vector<Picture>& Pictures() const { return pictures_; }

  // Every request this program carries out, sorted, for --help.
  static std::vector<std::string> KnownRequests();

 private:
  enum class BlockKind { kFrame, kWorld, kAttribute, kTransform, kSolid, kObject };
  struct Attributes {
    Surface surface;
    Basis uBasis, vBasis;
    math::Matrix4 transform;  // object to world (to camera before WorldBegin)
  };
  struct Camera {
    int width = 640, height = 480;
    double pixelAspect = 1;
    std::optional<double> frameAspect;
    std::optional<std::array<double, 4>> screenWindow;
    bool perspective = false;
    double fov = 90;
    int samplesX = 2, samplesY = 2;
    std::string displayName = "ri.tif", displayType = "file", displayMode = "rgb";
    math::Vector3 background;  // the "background" imager's colour
  };
  struct Block {
    BlockKind kind;
    std::string fileName;
    int line;
    Attributes attributes;  // as they were before the block
    Camera camera;          // the same, for frames
  };
  struct Solid {
    std::string operation;
    std::vector<L2Primitive> operands;
  };

  void Dispatch(const Request& request);
  void Carry(const Request& request);
  void Begin(BlockKind kind, const Request& request);
  void End(BlockKind kind, const Request& request);
  void RequireWorld(const Arguments& arguments, const Request& request) const;

  // Requests by their group.
  void CameraRequest(const Request& request, Arguments& arguments);
  void TransformRequest(const Request& request, Arguments& arguments);
  void AttributeRequest(const Request& request, Arguments& arguments);
  void LightRequest(const Request& request, Arguments& arguments);
  void QuadricRequest(const Request& request, Arguments& arguments);
  void PolygonRequest(const Request& request, Arguments& arguments);
  void PatchRequest(const Request& request, Arguments& arguments);
  void SolidRequest(const Request& request, Arguments& arguments);
  void ObjectRequest(const Request& request, Arguments& arguments);
  void ArchiveRequest(const Request& request, Arguments& arguments);

  // Places a primitive made in object space, gives it the surface and files it with the
  // open solid. A shape the library refused is left out with a note.
  void AddShape(const Request& request, const Arguments& arguments, L2Primitive prim);
  math::Matrix4 ObjectToCamera(const Arguments& arguments) const;
  void RenderWorld();

  Diagnostics& diagnostics_;
  InterpreterOptions options_;
  Declarations declarations_;
  Attributes attributes_;
  Camera camera_;
  math::Matrix4 worldToCamera_;
  std::vector<Block> blocks_;
  std::vector<Solid> solids_;
  std::map<std::string, std::vector<Request>> objects_;
  std::vector<Request>* recording_ = nullptr;  // the object being defined
  int objectDepth_ = 0;
  int archiveDepth_ = 0;
  std::vector<std::filesystem::path> archiveFolders_;
  L2Scene scene_ = 0;
  math::Vector3 ambient_;
  std::vector<Picture> pictures_;
};

}  // namespace lumetra::rib
