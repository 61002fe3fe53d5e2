#include "JsonFields.h"
#include "ScenarioError.h"

#include <gtest/gtest.h>

using namespace zentrava;

// Found by tests/fuzz/json_fields: with a negative upper bound an unsigned number in the file
// passed the range check as a huge bound and came back above it.
TEST(JsonFieldsFuzzFindings, WholeNumbersStayWithinTheirRange)
{
    struct Case
    {
        const char *json;
        int64_t min, max;
        bool accepted;
    } const cases[] = {
        {"2", -1, -1, false}, {"0", -5, -1, false}, {"-1", -5, -1, true}, {"2", -5, 2, true}, {"3", 0, 2, false},
    };
    for (const Case &c : cases) {
        const auto value = nlohmann::ordered_json::parse(c.json);
        if (c.accepted)
            EXPECT_EQ(jsonfields::integerValue(value, "n", c.min, c.max), value.get<int64_t>()) << c.json;
        else
            EXPECT_THROW(jsonfields::integerValue(value, "n", c.min, c.max), ScenarioError) << c.json;
    }
}
