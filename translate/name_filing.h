#pragma once

#include <string_view>

#include <lumetra2.h>

#include "render/render_job.h"

namespace lumetra::translate {

// Files value under a copy of name with SetNameValue. The library keeps the name's
// pointer, so the copy lives in the job's name list until the job is destroyed; false
// when the library refused it.
bool FileName(render::RenderJob& job, std::string_view name, L2NameValue value);

// What the job's scene holds under name, 0 for nothing (and for an empty name).
L2NameValue LookUpName(const render::RenderJob& job, std::string_view name);

}  // namespace lumetra::translate
