#pragma once

#include "abi/interface_record.h"

namespace lumetra::host {

// The interfaces of the other plug-ins the host has loaded, which FindPlugin answers by
// identifier. A record stays offered until it is withdrawn (its module closes).
void OfferPluginInterface(abi::InterfaceRecord* record);
void WithdrawPluginInterface(const abi::InterfaceRecord* record);
// The offered record with that identifier, or null.
abi::InterfaceRecord* FindPluginInterface(const abi::InterfaceId& id);

}  // namespace lumetra::host
