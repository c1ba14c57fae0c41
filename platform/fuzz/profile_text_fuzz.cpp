// Any bytes as an INI file: reading must not crash, an unchanged text must
// come back byte for byte, and a written key must read back as written.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lumetra::platform::ProfileText text(bytes);
  if (text.Text() != bytes) std::abort();
  (void)text.Find("GUIExtensions", "ExtDll29");
  text.Set("GUIExtensions", "ExtDll29", "/opt/zarvel/Torvane.so");
  if (lumetra::platform::ProfileText(text.Text()).Find("guiextensions", "extdll29") !=
      "/opt/zarvel/Torvane.so")
    std::abort();
  return 0;
}
