#include "plugin/plugin_interface.h"

#include "abi/result_codes.h"

namespace lumetra::plugin {

int32_t PluginInterface::Attach(abi::InterfaceRecord* record, size_t minimumSize) {
  if (record == nullptr || id_ == nullptr) return abi::kNullRecord;
  if (record->size < minimumSize) return abi::kRecordTooSmall;
  // Only the major version must match; minor versions stay compatible.
  if (record->version / 100 != version_ / 100) return abi::kWrongMajorVersion;
  record_ = record;
  record->idLow = id_->low;
  record->idHigh = id_->high;
  return abi::kOk;
}

}  // namespace lumetra::plugin
