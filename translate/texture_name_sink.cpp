#include "translate/texture_name_sink.h"

#include <variant>

#include "translate/host_object.h"
#include "translate/name_filing.h"
#include "translate/node_record.h"

namespace lumetra::translate {

TextureNameSink::TextureNameSink(render::RenderJob& job) : job_(job) {
  lighting = {job.scene, job.view, job.shadingFlags, ShadePoint};
}

void TextureNameSink::Track(Target target, const NodeRecord& node) {
  const std::string name = FieldText(node.info.name);
  if (name.empty() || LookUpName(job_, name) != 0) return;
  const auto value = std::visit([](auto* pointer) { return reinterpret_cast<L2NameValue>(pointer); }, target);
  FileName(job_, name, value);
}

}  // namespace lumetra::translate
