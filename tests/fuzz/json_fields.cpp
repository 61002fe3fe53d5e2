// The strict readers behind every field of the scenario file: a value either reads as what was
// asked for, within its range, or is refused with a ScenarioError, never converted or thrown
// otherwise.
#include "FuzzHarness.h"

#include "HexText.h"
#include "JsonFields.h"
#include "ScenarioError.h"

#include <algorithm>
#include <cctype>

using namespace zentrava;
using nlohmann::ordered_json;

namespace {

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

template <typename Read>
void refusedOnlyAsScenarioError(Read read)
{
    try {
        read();
    } catch (const ScenarioError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzzharness::Input input(data, size);
    const int64_t limits[] = {0, 1, 255, 65535, INT32_MAX, INT64_MAX, -1, INT64_MIN};
    const int64_t min = limits[input.pick(8)];
    const int64_t max = std::max(min, limits[input.pick(8)]);
    const std::optional<std::size_t> size4 = input.pick(2) ? std::optional<std::size_t>(4) : std::nullopt;
    const std::string text(input.rest());

    if (const auto bytes = fromHex(text))
        FUZZ_CHECK(toHex(*bytes) == upper(text));
    refusedOnlyAsScenarioError([&] {
        const int number = jsonfields::indexKey(text, "key", int(max & 0xFFFF));
        // Leading zeros are read as a decimal number reads them ("007" is block 7, "-0" block 0).
        const std::string digits = text.substr(text.starts_with('-') && number == 0 ? 1 : 0);
        FUZZ_CHECK(!digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }));
        FUZZ_CHECK(std::to_string(number) == digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1)));
    });
    refusedOnlyAsScenarioError([&] {
        const uint16_t id = jsonfields::fileIdValue(text, "file");
        FUZZ_CHECK(toHex(Bytes{uint8_t(id >> 8), uint8_t(id)}) == upper(text));
    });

    const ordered_json value = ordered_json::parse(text, nullptr, false);
    if (value.is_discarded())
        return 0;
    refusedOnlyAsScenarioError([&] {
        const int64_t number = jsonfields::integerValue(value, "number", min, max);
        FUZZ_CHECK(number >= min && number <= max);
    });
    refusedOnlyAsScenarioError([&] {
        const Bytes bytes = jsonfields::hexValue(value, "bytes", size4);
        FUZZ_CHECK(toHex(bytes) == upper(value.get<std::string>()));
    });
    refusedOnlyAsScenarioError([&] { jsonfields::boolValue(value, "flag"); });
    refusedOnlyAsScenarioError([&] { jsonfields::requireObject(value, "object"); });
    refusedOnlyAsScenarioError([&] { jsonfields::requireArray(value, "array"); });
    if (value.is_object())
        jsonfields::member(value, "blocks");
    return 0;
}
