#include "app/key_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstring>
#include <iostream>

#include "abi/bar_site_record.h"
#include "abi/scene_events.h"
#include "app/global_options.h"
#include "app/plugin_location.h"
#include "host/bar_site.h"
#include "host/scene_file.h"

namespace lumetra::app {
namespace {

// The slider's notification carries times in its low 25 bits.
constexpr int32_t kLatestSliderTime = (1 << 25) - 1;

void Apply(const std::optional<std::array<double, 3>>& values, double (&field)[3]) {
  if (values) std::copy(values->begin(), values->end(), field);
}

std::array<double, 3> Values(const double (&field)[3]) { return {field[0], field[1], field[2]}; }

// The step with every vector the object was keyed with, so that playing the
// script again keys the same state whatever the saved scene holds.
host::KeyingStep Completed(host::KeyingStep step, const host::SceneObject& object) {
  step.translate = Values(object.params.translate);
  step.rotate = Values(object.params.rotate);
  step.scale = Values(object.params.scale);
  return step;
}

}  // namespace

KeyingSession::KeyingSession(const std::string& scenePath, const std::string& pluginPath) {
  host::BarSite::Instance().Open();
  try {
    session_ = HostSession::Open(scenePath, pluginPath);
    if (!host::BarSite::Instance().HasBar()) throw KeyingError("the plug-in did not create its control bar");
    for (const host::KeyingStep& step : session_->Scene().keying) Play(step);
  } catch (...) {
    session_.reset();
    host::BarSite::Instance().Close();
    throw;
  }
}

KeyingSession::~KeyingSession() {
  session_.reset();
  host::BarSite::Instance().Close();
}

// The bar steps by the frames of the scene's frame rate, which only the plug-in knows.
int32_t KeyingSession::TicksPerFrame() const {
  return host::BarSite::Instance().Send(abi::kBarGetFrameTicks, 0, 0);
}

int32_t KeyingSession::Ticks(const std::string& time) const {
  const auto parsed = host::KeyTime::Parse(time);
  if (!parsed) throw KeyingError("\"" + time + "\" is not a time (480t ticks, 2s seconds or 12 frames)");
  const int32_t frameTicks = parsed->unit == host::KeyTime::Unit::Frames ? TicksPerFrame() : 0;
  if (parsed->unit == host::KeyTime::Unit::Frames && frameTicks <= 0) {
    throw KeyingError("the scene's frame rate gives frames no length: give " + time +
                      " in ticks (t) or seconds (s)");
  }
  int32_t ticks = 0;
  try {
    ticks = parsed->Ticks(frameTicks);
  } catch (const std::out_of_range&) {
    ticks = -1;
  }
  if (ticks < 0 || ticks > kLatestSliderTime) {
    throw KeyingError("the time " + time + " lies outside the control bar's slider (0 to " +
                      std::to_string(kLatestSliderTime) + " ticks)");
  }
  return ticks;
}

int32_t KeyingSession::Bar(uint32_t message, uint32_t wparam, int32_t lparam) {
  return host::BarSite::Instance().Send(message, wparam, lparam);
}

void KeyingSession::SendEvent(uint32_t object, int32_t event) {
  abi::SceneRecord* record = session_->Plugin().Scene();
  if (!record || !record->onSceneEvent) throw KeyingError("the plug-in has no scene interface");
  if (const int32_t result = session_->SendEvent(object, event); result != 0) {
    throw KeyingError("the plug-in answered scene event " + std::to_string(event) + " with " +
                      host::DescribeResult(result));
  }
}

void KeyingSession::Play(const host::KeyingStep& step) {
  host::Scene& scene = session_->Scene();
  const host::SceneObject* found = scene.FindByName(step.object);
  if (!found) throw KeyingError("the scene has no object named \"" + step.object + "\"");
  const int interpolation = host::InterpolationIndex(step.interpolation);
  if (interpolation < 0)
    throw KeyingError("unknown interpolation \"" + step.interpolation + "\" (step, linear or cubic)");
  const int32_t ticks = Ticks(step.time);
  const uint32_t id = found->id;
  scene.selected = id;
  SendEvent(id, abi::kEventSelectionChanged);
  if (Bar(abi::kBarGetCheck, abi::kBarKeyButton) == 0) {
    Bar(abi::kBarCommand, abi::kButtonClicked << 16 | abi::kBarKeyButton);
  }
  Bar(abi::kBarSlider, static_cast<uint32_t>(ticks));
  Bar(abi::kBarCommand, abi::kSelectionChanged << 16 | abi::kBarInterpolationBox, interpolation);
  host::SceneObject& object = *scene.Find(id);
  Apply(step.translate, object.params.translate);
  Apply(step.rotate, object.params.rotate);
  Apply(step.scale, object.params.scale);
  Apply(step.textureTranslate, object.data.textureTranslate);
  Apply(step.textureRotate, object.data.textureRotate);
  SendEvent(id, abi::kEventObjectChanged);
}

void KeyingSession::PoseAt(int32_t ticks) {
  Bar(abi::kBarSlider, static_cast<uint32_t>(ticks == 0 ? 1 : 0));
  Bar(abi::kBarSlider, static_cast<uint32_t>(ticks));
}

int ReportingFailures(const char* command, std::ostream& err, const std::function<int()>& body) {
  try {
    return body();
  } catch (const host::SceneFileError& error) {
    err << "lumetra: " << error.what() << "\n";
  } catch (const host::PluginError& error) {
    err << "lumetra: " << error.what() << "\n";
  } catch (const KeyingError& error) {
    err << command << ": " << error.what() << "\n";
  }
  return 1;
}

int RunKey(const std::string& scenePath, const std::string& pluginPath, const host::KeyingStep& step,
           const std::string& outPath, std::ostream& err) {
  return ReportingFailures("lumetra key", err, [&] {
    KeyingSession keying(scenePath, pluginPath);
    keying.Play(step);
    HostSession& session = keying.Session();
    session.Scene().keying.push_back(Completed(step, *session.Scene().FindByName(step.object)));
    session.Save(outPath);
    return 0;
  });
}

namespace {

// "x,y,z" as three numbers; null for other text.
std::optional<std::array<double, 3>> ParseVector(const std::string& text) {
  std::array<double, 3> values{};
  char extra = 0;
  if (std::sscanf(text.c_str(), "%lf,%lf,%lf%c", &values[0], &values[1], &values[2], &extra) != 3)
    return std::nullopt;
  return values;
}

CLI::Validator VectorCheck() {
  return CLI::Validator(
      [](std::string& text) {
        return ParseVector(text) ? std::string() : "expected three numbers x,y,z, got \"" + text + "\"";
      },
      "X,Y,Z");
}

std::optional<std::array<double, 3>> ToVector(const std::string& text) {
  return text.empty() ? std::nullopt : ParseVector(text);
}

}  // namespace

void RegisterKeyCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "key", "Give an object values at a time and key it, as a person at the host would, and save the scene");
  struct Request {
    std::string scene, object, time, interpolation = "linear", translate, rotate, scale, out;
  };
  auto request = std::make_shared<Request>();
  command->add_option("SCENE", request->scene, "Scene file (JSON)")->required();
  command->add_option("--object", request->object, "Name of the object to key")->required();
  command->add_option("--time", request->time, "Time: 480t ticks, 2s seconds or 12 frames")->required();
  command->add_option("--interpolation", request->interpolation, "step, linear (default) or cubic")
      ->check(CLI::IsMember({"step", "linear", "cubic"}));
  command->add_option("--translate", request->translate, "x,y,z")->check(VectorCheck());
  command->add_option("--rotate", request->rotate, "x,y,z in degrees")->check(VectorCheck());
  command->add_option("--scale", request->scale, "x,y,z")->check(VectorCheck());
  command->add_option("-o,--output", request->out, "Scene file to write")->required();
  command->callback([request, &options, &exitCode] {
    const host::KeyingStep step{request->time,
                                request->object,
                                request->interpolation,
                                ToVector(request->translate),
                                ToVector(request->rotate),
                                ToVector(request->scale)};
    exitCode = RunKey(request->scene, LocatePlugin(options.plugin), step, request->out, std::cerr);
  });
}

}  // namespace lumetra::app
