#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrava {

using Bytes = std::vector<uint8_t>;

// Upper-case pairs without separators, the way dumps and the scenario file show bytes.
std::string toHex(const uint8_t *data, std::size_t size);
std::string toHex(const Bytes &bytes);

// Strict decoding: an even number of hexadecimal digits (either case), nothing else.
std::optional<Bytes> fromHex(std::string_view text);

} // namespace zentrava
