#pragma once

#include <string>

#include "abi/render_settings_record.h"
#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::render {

// The output path of a still render: the host's output directory followed by the job's
// own path when it has one (an animation's output base name), else by the scene file's
// name without folder and extension, or "out" for a scene never saved. Without the
// host's settings (null) the directory and the scene name are empty. The writer adds
// the extension.
std::string StillOutputPath(const RenderJob& job, const abi::RenderSettingsRecord* host);

// The host's render settings (GetRenderSettings); false, with `settings` zeroed but for
// its version, when the host does not answer.
bool ReadRenderSettings(const abi::SceneRecord& host, abi::RenderSettingsRecord& settings);

// The host's output directory (ending with a separator when set); empty without the
// host's settings (null).
std::string OutputDirectory(const abi::RenderSettingsRecord* host);
// The scene file's name without folder and extension; "out" for a scene never saved or
// without the host's settings.
std::string SceneBaseName(const abi::RenderSettingsRecord* host);

// The file name of `path` without its folder (either separator) and extension.
std::string BaseNameWithoutExtension(const std::string& path);

}  // namespace lumetra::render
