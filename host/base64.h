#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

// Standard base64 with padding, as the scene file stores plug-in data.
std::string EncodeBase64(const std::vector<uint8_t>& bytes);
// None when the text is not valid padded base64.
std::optional<std::vector<uint8_t>> DecodeBase64(const std::string& text);

}  // namespace host
