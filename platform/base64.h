#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::platform {

// Standard base64 (RFC 4648) with '=' padding, used for binary registry values.
std::string EncodeBase64(std::span<const std::uint8_t> bytes);
// Strict: no whitespace, length a multiple of four, padding only at the end.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace lumetra::platform
