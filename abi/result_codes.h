#pragma once

#include <cstdint>

namespace lumetra::abi {

// Results of the exports, of interface connection and of the host's enumerations.
enum ResultCode : int32_t {
  kOk = 0,
  kNullRecord = -1,
  kWrongMajorVersion = -2,
  kRecordTooSmall = -3,
  kIndexOutOfRange = -4,
  kUnknownObject = -5,  // host functions: no object has the identifier
  kNotFound = -6,       // host functions: no such name, file, value or data
  kNoScene = -7,        // host functions: the host has no scene open
  kUnknownList = -8,    // host functions: the list handle is not open
  kTooManyLists = -9,   // host functions: every list handle is in use
  kNoMoreItems = -30,
};

}  // namespace lumetra::abi
