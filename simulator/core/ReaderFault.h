#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrava {

// A fault the operator causes in the simulated reader (zentrava-sim fault, or the scenario
// file's "faults"). The running library counts it down; see FaultPlan.
struct ReaderFault {
    enum class Kind {
        // Every card leaves the field after `calls` more library calls (0: they are gone).
        LeaveAfter,
        // The next write to a card lands only its first `bytes` bytes and answers a failure.
        Tear,
        // The reader answers no call: each one ends in the time-out status.
        Timeout,
        // The next `calls` calls of `function` answer `status` without reaching the reader.
        Force,
    };

    Kind kind = Kind::Timeout;
    int64_t calls = 0;
    int64_t bytes = 0;
    std::string function;
    int32_t status = 0;
    // Tells one arming from another, so that a library re-reading the file goes on counting a
    // fault it knows instead of arming it again. The tool gives every fault a new one.
    std::string id;

    // The limits the tool and the file accept.
    static constexpr int64_t MaxCalls = 1'000'000;
    static constexpr int64_t MaxBytes = 65'536;

    nlohmann::ordered_json toJson() const;
    // Throws ScenarioError naming the place.
    static ReaderFault fromJson(const nlohmann::ordered_json &fault, const std::string &where);
    // What the fault does now, for the operator ("rf_M1_read answers 1A for its next 2 calls").
    std::string description() const;
    static std::string newId();
    // A function the program calls, named as it logs it ("rf_M1_read"): what `function` may name.
    static bool isReaderFunction(std::string_view name);
};

} // namespace zentrava
