#include "plugin/plugin_interface.h"

#include "abi/result_codes.h"

namespace plugin {

int32_t PluginInterface::Attach(iface::InterfaceRecord* record, size_t minimumSize) {
  if (record == nullptr || id_ == nullptr) return iface::kNullRecord;
  if (record->size < minimumSize) return iface::kRecordTooSmall;
  // Only the major version must match; minor versions stay compatible.
  if (record->version / 100 != version_ / 100) return iface::kWrongMajorVersion;
  record_ = record;
  record->idLow = id_->low;
  record->idHigh = id_->high;
  return iface::kOk;
}

}  // namespace plugin
