#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::abi {

// Header of every interface record. The host allocates the record and fills size and
// version; the plug-in writes its 64-bit interface identifier on connection.
struct InterfaceRecord {
  uint32_t size;
  uint32_t version;  // major version = version / 100
  uint32_t idLow;
  uint32_t idHigh;
};
static_assert(sizeof(InterfaceRecord) == 16);

struct InterfaceId {
  uint32_t low;
  uint32_t high;
};

// Interface records are a 16-byte header followed by slots that are 4 bytes in the
// 32-bit layout and pointer-sized elsewhere. These map a 32-bit offset or minimum
// size onto this build; on i386 both are the identity.
constexpr size_t SlotOffset(size_t offset32) { return 16 + (offset32 - 16) / 4 * sizeof(void*); }
constexpr size_t SlotRecordSize(size_t size32) { return SlotOffset(size32); }

// A host slot this plug-in neither reads nor writes.
using Slot = void*;

}  // namespace lumetra::abi
