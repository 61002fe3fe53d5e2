#include "ReaderFault.h"

#include "HexText.h"
#include "JsonFields.h"
#include "ScenarioError.h"
#include "StatusCode.h"

#include "reader/ReaderFunctions.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <random>

namespace zentrava {

namespace {

constexpr const char *LeaveAfterName = "leave-after";
constexpr const char *TearName = "tear";
constexpr const char *TimeoutName = "timeout";
constexpr const char *ForceName = "force";

std::string statusText(int32_t status)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(status));
    return text;
}

std::string plural(int64_t count, const char *noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

nlohmann::ordered_json ReaderFault::toJson() const
{
    nlohmann::ordered_json fault;
    switch (kind) {
    case Kind::LeaveAfter:
        fault = {{"type", LeaveAfterName}, {"calls", calls}};
        break;
    case Kind::Tear:
        fault = {{"type", TearName}, {"bytes", bytes}};
        break;
    case Kind::Timeout:
        fault = {{"type", TimeoutName}};
        break;
    case Kind::Force:
        fault = {{"type", ForceName}, {"function", function}, {"status", statusText(status)}, {"calls", calls}};
        break;
    }
    if (!id.empty())
        fault["id"] = id;
    return fault;
}

ReaderFault ReaderFault::fromJson(const nlohmann::ordered_json &json, const std::string &where)
{
    using namespace jsonfields;
    requireObject(json, where);
    const auto *type = member(json, "type");
    if (!type)
        throw ScenarioError(where + ": a fault needs a \"type\"");
    const std::string name = stringValue(*type, where + ".type");
    const auto required = [&](const char *key) -> const nlohmann::ordered_json & {
        const auto *value = member(json, key);
        if (!value)
            throw ScenarioError(where + ": a " + name + " fault needs \"" + key + "\"");
        return *value;
    };
    ReaderFault fault;
    if (name == LeaveAfterName) {
        fault.kind = Kind::LeaveAfter;
        fault.calls = integerValue(required("calls"), where + ".calls", 0, MaxCalls);
    } else if (name == TearName) {
        fault.kind = Kind::Tear;
        fault.bytes = integerValue(required("bytes"), where + ".bytes", 0, MaxBytes);
    } else if (name == TimeoutName) {
        fault.kind = Kind::Timeout;
    } else if (name == ForceName) {
        fault.kind = Kind::Force;
        fault.function = stringValue(required("function"), where + ".function");
        if (!isReaderFunction(fault.function))
            throw ScenarioError(where + ".function: no reader function is called \"" + fault.function.substr(0, 40) + "\"");
        const Bytes status = hexValue(required("status"), where + ".status");
        if (status.empty() || status.size() > 4 || (status.size() == 4 && status[0] >= 0x80))
            throw ScenarioError(where + ".status: a status is 1 to 7FFFFFFF in hex");
        for (const uint8_t byte : status)
            fault.status = fault.status << 8 | byte;
        if (fault.status == status::Ok)
            throw ScenarioError(where + ".status: a forced status is not 00 (success)");
        fault.calls = integerValue(required("calls"), where + ".calls", 1, MaxCalls);
    } else {
        throw ScenarioError(where + ".type: \"" + name.substr(0, 40) + "\" is not a fault (leave-after, tear, timeout, force)");
    }
    if (const auto *id = member(json, "id"))
        fault.id = stringValue(*id, where + ".id");
    return fault;
}

std::string ReaderFault::description() const
{
    switch (kind) {
    case Kind::LeaveAfter:
        return calls == 0 ? "the cards are out of the field until the faults are cleared"
                          : "the cards leave the field after " + plural(calls, "more call");
    case Kind::Tear:
        return "the next write to a card lands only its first " + plural(bytes, "byte") + " and answers " +
               statusText(status::NoCard) + " (no card)";
    case Kind::Timeout:
        return "the reader answers no call: each one answers " + statusText(status::TimedOut) + " (time-out)";
    case Kind::Force:
        return function + " answers " + statusText(status) + " to its next " +
               (calls == 1 ? std::string("call") : plural(calls, "call"));
    }
    return {};
}

std::string ReaderFault::newId()
{
    // Unique enough between two faults an operator writes: the clock and a random number.
    static std::mt19937_64 generator(std::random_device{}() ^
                                     static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

bool ReaderFault::isReaderFunction(std::string_view name)
{
    if (name.empty())
        return false;
    for (const ReaderOrdinal &entry : ReaderOrdinals)
        if (entry.name == name)
            return true;
    return false;
}

} // namespace zentrava
