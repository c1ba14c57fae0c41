#include "app/info_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/global_options.h"
#include "app/host_session.h"
#include "app/plugin_location.h"
#include "host/record_fields.h"
#include "host/scene_file.h"

namespace lumetra::app {
namespace {

using nlohmann::json;

std::string TypeName(const host::SceneObject& object) {
  if (object.type == abi::kTypeTextureNode) {
    const host::NodeKindLayout* kind = host::FindNodeKind(object.node.kind);
    return kind ? kind->name : "node";
  }
  const host::ObjectTypeLayout* type = host::FindObjectType(object.type);
  return type ? type->name : "object";
}

json Entry(const host::Scene& scene, uint32_t id, bool withChildren) {
  const host::SceneObject& object = *scene.Find(id);
  json entry = {{"name", object.name}, {"type", object.type}, {"type_name", TypeName(object)}};
  if (object.type == abi::kTypeCamera) entry["active"] = object.data.shape.camera.active != 0;
  if (withChildren) {
    entry["children"] = json::array();
    for (uint32_t child : object.children) entry["children"].push_back(Entry(scene, child, true));
  }
  return entry;
}

json Document(const host::Scene& scene) {
  json document = {{"file", scene.path},
                   {"objects", json::array()},
                   {"cameras", json::array()},
                   {"materials", json::array()}};
  for (uint32_t id : scene.List(abi::kObjectList)) document["objects"].push_back(Entry(scene, id, true));
  for (uint32_t id : scene.List(abi::kCameraList)) document["cameras"].push_back(Entry(scene, id, false));
  for (uint32_t id : scene.List(abi::kMaterialList)) {
    document["materials"].push_back({{"name", scene.Find(id)->name}});
  }
  return document;
}

void PrintTree(const json& entries, int depth, std::ostream& out) {
  for (const json& entry : entries) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << entry["name"].get<std::string>() << "  ("
        << entry["type_name"].get<std::string>() << ", type " << entry["type"] << ")\n";
    if (entry.contains("children")) PrintTree(entry["children"], depth + 1, out);
  }
}

void PrintText(const json& document, std::ostream& out) {
  out << "Scene      " << document["file"].get<std::string>() << "\n"
      << "Objects\n";
  PrintTree(document["objects"], 1, out);
  out << "Cameras\n";
  PrintTree(document["cameras"], 1, out);
  out << "Materials\n";
  for (const json& material : document["materials"]) {
    out << "  " << material["name"].get<std::string>() << "\n";
  }
}

}  // namespace

int RunInfo(const std::string& scenePath, const std::string& pluginPath, bool json, std::ostream& out,
            std::ostream& err) {
  try {
    const auto session = HostSession::Open(scenePath, pluginPath);
    const nlohmann::json document = Document(session->Scene());
    if (json) {
      out << document.dump(2) << "\n";
    } else {
      PrintText(document, out);
    }
    return 0;
  } catch (const host::SceneFileError& error) {
    err << "lumetra: " << error.what() << "\n";
  } catch (const host::PluginError& error) {
    err << "lumetra: " << error.what() << "\n";
  }
  return 1;
}

void RegisterInfoCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "info", "Open a scene with the plug-in and print its objects, cameras and materials");
  auto scene = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->add_flag("--json", *json, "Print one JSON object instead of text");
  command->callback([scene, json, &options, &exitCode] {
    exitCode = RunInfo(*scene, LocatePlugin(options.plugin), *json, std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
