#include "tools/pose_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>

#include "abi/result_codes.h"
#include "app/global_options.h"
#include "app/key_command.h"
#include "app/plugin_location.h"
#include "host/host_context.h"
#include "host/scene_file.h"
#include "keyframe/channel_factory.h"

namespace lumetra::tools {
namespace {

using app::KeyingSession;

// Parameters keep the order of the channel.
using json = nlohmann::ordered_json;

// The objects the plug-in stored while it posed the scene (its keys came from the keying
// script or from the keyframe data in the file), in the scene's own order.
std::vector<uint32_t> PosedObjects(const host::Scene& scene, const host::HostCallLog& log) {
  std::set<uint32_t> stored;
  for (const auto& [id, flags] : log.paramStores) stored.insert(id);
  for (const auto& [id, flags] : log.infoStores) stored.insert(id);
  std::vector<uint32_t> posed;
  for (const uint32_t id : scene.AllObjects()) {
    if (stored.count(id)) posed.push_back(id);
  }
  return posed;
}

// The object's parameters as its animation channel reads them from the host.
json Parameters(const keyframe::HostScene& host, uint32_t id) {
  json params = json::object();
  keyframe::ObjectRecord record;
  if (host.ReadObject(id, record, true) != abi::kOk) return params;
  const uint32_t subType = record.info.type == abi::kTypeTextureNode ? record.texture.kind : 0;
  const auto channel = keyframe::MakeChannel(record.info.type, subType);
  if (!channel) return params;
  channel->ReadFromHost(host, id, record.info);
  for (int index = 0; index < channel->ParamCount(); ++index) {
    std::string name = channel->ParamName(index);
    if (params.contains(name)) name += " " + std::to_string(index);
    const keyframe::ParamValue value = channel->GetValue(index);
    // Adding 0 turns a negative zero into 0.
    params[name] = {value.x + 0.0, value.y + 0.0, value.z + 0.0, value.w + 0.0};
  }
  return params;
}

json Document(KeyingSession& keying) {
  const keyframe::HostScene host(keying.Session().Plugin().Scene());
  const host::Scene& scene = keying.Session().Scene();
  json objects = json::array();
  for (const uint32_t id : PosedObjects(scene, keying.Session().Context().Log())) {
    objects.push_back({{"name", scene.Find(id)->name}, {"params", Parameters(host, id)}});
  }
  return {{"objects", objects}};
}

void PrintText(const json& document, std::ostream& out) {
  for (const json& object : document["objects"]) {
    out << object["name"].get<std::string>() << "\n";
    for (const auto& [name, value] : object["params"].items()) {
      out << "  " << name << ":";
      for (const json& component : value) out << " " << component.get<double>();
      out << "\n";
    }
  }
}

}  // namespace

int RunPose(const std::string& scenePath, const std::string& pluginPath, const std::string& time, bool json,
            std::ostream& out, std::ostream& err) {
  return app::ReportingFailures("lumetra-tool pose", err, [&] {
    KeyingSession keying(scenePath, pluginPath);
    keying.Session().Context().Log() = {};  // what the keying script stored is not the pose
    keying.PoseAt(keying.Ticks(time));
    const auto document = Document(keying);
    if (json) {
      out << document.dump(2) << "\n";
    } else {
      PrintText(document, out);
    }
    return 0;
  });
}

void RegisterPoseCommand(CLI::App& root, const app::GlobalOptions& options, int& exitCode) {
  CLI::App* command =
      root.add_subcommand("pose", "Pose a scene at a time and print the parameters of its animated objects");
  auto scene = std::make_shared<std::string>();
  auto time = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  command->add_option("SCENE", *scene, "Scene file (JSON)")->required();
  command->add_option("--time", *time, "Time: 480t ticks, 2s seconds or 12 frames")->required();
  command->add_flag("--json", *json, "Print one JSON object instead of text");
  command->callback([scene, time, json, &options, &exitCode] {
    exitCode = RunPose(*scene, app::LocatePlugin(options.plugin), *time, *json, std::cout, std::cerr);
  });
}

}  // namespace lumetra::tools
