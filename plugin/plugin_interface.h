#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/interface_record.h"

namespace lumetra::plugin {

// An interface the plug-in offers the host. Each kind connects to a host-allocated
// record of at least a minimum size and a fixed major version, writes its identifier
// into the record's header and installs its entry points.
class PluginInterface {
 public:
  PluginInterface(uint32_t kind, uint32_t version, const abi::InterfaceId* id)
      : kind_(kind), version_(version), id_(id) {}
  virtual ~PluginInterface() = default;
  PluginInterface(const PluginInterface&) = delete;
  PluginInterface& operator=(const PluginInterface&) = delete;

  virtual int32_t Connect(abi::InterfaceRecord* record) = 0;
  virtual abi::InterfaceRecord* GetRecord() const { return record_; }

  uint32_t Kind() const { return kind_; }
  uint32_t Version() const { return version_; }

 protected:
  // The checks every kind makes before it installs anything: null record or missing
  // identifier, minimum size, major version. On success the record is kept and
  // stamped with the identifier.
  int32_t Attach(abi::InterfaceRecord* record, size_t minimumSize);

 private:
  uint32_t kind_;
  uint32_t version_;
  const abi::InterfaceId* id_;
  abi::InterfaceRecord* record_ = nullptr;
};

}  // namespace lumetra::plugin
