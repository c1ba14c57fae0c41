#include "host/plugin_registry.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace lumetra::host {
namespace {

std::mutex g_mutex;
std::vector<abi::InterfaceRecord*> g_offered;

}  // namespace

void OfferPluginInterface(abi::InterfaceRecord* record) {
  const std::lock_guard lock(g_mutex);
  g_offered.push_back(record);
}

void WithdrawPluginInterface(const abi::InterfaceRecord* record) {
  const std::lock_guard lock(g_mutex);
  std::erase(g_offered, record);
}

abi::InterfaceRecord* FindPluginInterface(const abi::InterfaceId& id) {
  const std::lock_guard lock(g_mutex);
  const auto found =
      std::find_if(g_offered.begin(), g_offered.end(), [&](const abi::InterfaceRecord* record) {
        return record->idLow == id.low && record->idHigh == id.high;
      });
  return found == g_offered.end() ? nullptr : *found;
}

}  // namespace lumetra::host
