#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/calling_convention.h"
#include "abi/interface_record.h"

namespace lumetra::abi {

constexpr uint32_t kMenuInterfaceKind = 6;
constexpr uint32_t kMenuInterfaceVersion = 101;
constexpr uint32_t kMenuRecordMinimumSize32 = 92;

// Command ids of the plug-in's menu items. A host finds a command by walking the menu
// (EnumMenuItem) for its text; the ids are what ExecuteCommand and QueryCommandState take.
constexpr uint32_t kCommandRender = 373700;
constexpr uint32_t kCommandAnimation = 373701;
constexpr uint32_t kCommandOptions = 373702;
constexpr uint32_t kCommandTimeline = 373703;
// The items' texts, by which a host finds them.
inline constexpr const char* kMenuTextRender = "&Render";
inline constexpr const char* kMenuTextAnimation = "&Animation";
inline constexpr const char* kMenuTextOptions = "&Options";
inline constexpr const char* kMenuTextTimeline = "&Timeline";

// Flag words of the menu items, which the host takes as its menu's item flags.
constexpr uint32_t kMenuFlagsSubmenu = 0x22040000;
constexpr uint32_t kMenuFlagsItem = 0x02040000;

using EnumMenuItemEntry = int32_t(LUMETRA_STDCALL*)(int32_t index, uint32_t* flags, const char** text,
                                                    uint32_t* commandId);
using ExecuteCommandEntry = int32_t(LUMETRA_STDCALL*)(uint32_t commandId);
using QueryCommandStateEntry = int32_t(LUMETRA_STDCALL*)(uint32_t commandId, uint32_t* enabled);

// The menu interface record: three entry points written by the plug-in, the other
// slots belong to the host.
struct MenuRecord {
  InterfaceRecord header;
  EnumMenuItemEntry enumMenuItem;            // 16
  ExecuteCommandEntry executeCommand;        // 20
  QueryCommandStateEntry queryCommandState;  // 24
  Slot host[16];                             // 28 .. 92
};

constexpr size_t kMenuRecordMinimumSize = SlotRecordSize(kMenuRecordMinimumSize32);

static_assert(offsetof(MenuRecord, enumMenuItem) == SlotOffset(16));
static_assert(offsetof(MenuRecord, executeCommand) == SlotOffset(20));
static_assert(offsetof(MenuRecord, queryCommandState) == SlotOffset(24));
static_assert(sizeof(MenuRecord) == kMenuRecordMinimumSize);
static_assert(sizeof(void*) != 4 || sizeof(MenuRecord) == 92);
static_assert(sizeof(void*) != 8 || sizeof(MenuRecord) == 168);

}  // namespace lumetra::abi
