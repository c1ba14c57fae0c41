#pragma once

#include <cstdint>

namespace iface {

// Results of the exports, of interface connection and of the host's enumerations.
enum ResultCode : int32_t {
  kOk = 0,
  kNullRecord = -1,
  kWrongMajorVersion = -2,
  kRecordTooSmall = -3,
  kIndexOutOfRange = -4,
  kNoMoreItems = -30,
};

}  // namespace iface
