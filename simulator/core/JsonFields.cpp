#include "JsonFields.h"

#include "ScenarioError.h"

#include <charconv>

namespace zentrava::jsonfields {

using json = nlohmann::ordered_json;

const json &requireObject(const json &value, const std::string &where)
{
    if (!value.is_object())
        throw ScenarioError(where + ": expected an object");
    return value;
}

const json &requireArray(const json &value, const std::string &where)
{
    if (!value.is_array())
        throw ScenarioError(where + ": expected an array");
    return value;
}

const json *member(const json &object, const char *key)
{
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::string stringValue(const json &value, const std::string &where)
{
    if (!value.is_string())
        throw ScenarioError(where + ": expected a string");
    return value.get<std::string>();
}

bool boolValue(const json &value, const std::string &where)
{
    if (!value.is_boolean())
        throw ScenarioError(where + ": expected true or false");
    return value.get<bool>();
}

int64_t integerValue(const json &value, const std::string &where, int64_t min, int64_t max)
{
    const std::string range = " from " + std::to_string(min) + " to " + std::to_string(max);
    if (value.is_number_unsigned()) {
        const auto number = value.get<uint64_t>();
        // A negative max admits no number of this kind, and as unsigned it would admit them all.
        if (max < 0 || number > static_cast<uint64_t>(max) || (min > 0 && number < static_cast<uint64_t>(min)))
            throw ScenarioError(where + ": expected a whole number" + range);
        return static_cast<int64_t>(number);
    }
    if (value.is_number_integer()) {
        const auto number = value.get<int64_t>();
        if (number < min || number > max)
            throw ScenarioError(where + ": expected a whole number" + range);
        return number;
    }
    throw ScenarioError(where + ": expected a whole number" + range);
}

Bytes hexValue(const json &value, const std::string &where, std::optional<std::size_t> size)
{
    const std::string text = stringValue(value, where);
    auto bytes = fromHex(text);
    if (!bytes)
        throw ScenarioError(where + ": expected hexadecimal bytes, found \"" + text.substr(0, 40) + "\"");
    if (size && bytes->size() != *size)
        throw ScenarioError(where + ": expected " + std::to_string(*size) + " bytes (" +
                            std::to_string(*size * 2) + " hex digits), found " +
                            std::to_string(bytes->size()));
    return *bytes;
}

Bytes requiredUid(const json &card, const std::string &where, std::size_t size)
{
    const json *info = member(card, "Card");
    const json *uid = info ? member(requireObject(*info, where + ".Card"), "UID") : nullptr;
    if (!uid)
        throw ScenarioError(where + ": needs a serial number (Card.UID)");
    return hexValue(*uid, where + ".Card.UID", size);
}

int indexKey(const std::string &key, const std::string &where, int max)
{
    int number = -1;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (error != std::errc() || end != key.data() + key.size() || number < 0 || number > max)
        throw ScenarioError(where + ": \"" + key.substr(0, 20) + "\" is not a number from 0 to " +
                            std::to_string(max));
    return number;
}

uint16_t fileIdValue(const std::string &text, const std::string &where)
{
    const auto bytes = fromHex(text);
    if (!bytes || bytes->size() != 2)
        throw ScenarioError(where + ": \"" + text.substr(0, 20) +
                            "\" is not a file identifier of four hex digits");
    return static_cast<uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
}

} // namespace zentrava::jsonfields
