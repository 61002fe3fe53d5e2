#pragma once

#include <stdexcept>

namespace zentrava {

// A scenario file that cannot be used: unreadable, not JSON, or describing impossible cards.
// The message names the place in the file, for the operator.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zentrava
