#pragma once

#include "HexText.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

// Strict readers for the scenario file: each throws ScenarioError naming the place in the file
// ("field[2].blocks.5") and what was expected there, so a wrong type or a huge number is reported
// instead of being converted.
namespace zentrava::jsonfields {

const nlohmann::ordered_json &requireObject(const nlohmann::ordered_json &value, const std::string &where);
const nlohmann::ordered_json &requireArray(const nlohmann::ordered_json &value, const std::string &where);
// The member, or nullptr when the object does not have it.
const nlohmann::ordered_json *member(const nlohmann::ordered_json &object, const char *key);
std::string stringValue(const nlohmann::ordered_json &value, const std::string &where);
bool boolValue(const nlohmann::ordered_json &value, const std::string &where);
int64_t integerValue(const nlohmann::ordered_json &value, const std::string &where, int64_t min, int64_t max);
// Hexadecimal bytes; with a size, exactly that many.
Bytes hexValue(const nlohmann::ordered_json &value, const std::string &where,
               std::optional<std::size_t> size = std::nullopt);
// The card's serial number of `size` bytes in "Card": {"UID": "..."}, which the card needs.
Bytes requiredUid(const nlohmann::ordered_json &card, const std::string &where, std::size_t size);
// A decimal number between 0 and max written as a JSON key ("blocks": {"12": ...}).
int indexKey(const std::string &key, const std::string &where, int max);
// A 2-byte file identifier written as four hex digits ("3F00").
uint16_t fileIdValue(const std::string &text, const std::string &where);

} // namespace zentrava::jsonfields
