// The simulator's scenario file, which the operator edits by hand or with zentrava-sim: read,
// written as the tool writes it, and read again to the same text.
#include "FuzzHarness.h"

#include "Scenario.h"
#include "ScenarioError.h"
#include "ScenarioFile.h"

using namespace zentrava;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const ScenarioFile file(fuzzharness::ScratchFile("scenario.json", data, size));
    std::string text;
    try {
        text = file.load().serialize();
    } catch (const ScenarioError &) {
        return 0;
    }
    // A file the simulator accepted and wrote back reads as the same scenario.
    file.save(text);
    // Refused, it throws out of the target: a finding too, with the refusal's text.
    FUZZ_CHECK(file.load().serialize() == text);
    return 0;
}
