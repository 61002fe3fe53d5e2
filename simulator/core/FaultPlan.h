#pragma once

#include "ReaderFault.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zentrava {

// The operator's faults as the running library applies them and counts them down.
//
// The scenario file arms them; the library re-reads the file whenever it changes (its own write
// backs excepted). A fault the plan already runs (same id) keeps the plan's count across such a
// re-read, a spent one stays spent although a file the library could not write still lists it,
// and one the file no longer lists is over. So a fault fires as often as the tool armed it,
// never again by itself.
class FaultPlan {
public:
    void adopt(const std::vector<ReaderFault> &fromFile);
    const std::vector<ReaderFault> &faults() const { return m_faults; }

    // A call of the named function is about to run: the status it answers instead, when the
    // reader does not answer or a status is forced on that function (counted down here).
    std::optional<int32_t> forcedStatus(std::string_view function);
    // The bytes the next write may land, when a tear is armed.
    std::optional<std::size_t> tearBytes() const;
    void tearSpent();
    // A call ended; true when the cards leave the field with it.
    bool countCall();
    bool cardsAway() const;
    // True once after a count changed or a fault was spent, so that the file is brought up to date.
    bool takeChanged();

private:
    void spend(std::size_t index);

    std::vector<ReaderFault> m_faults;
    std::set<std::string> m_spentIds;
    bool m_changed = false;
};

} // namespace zentrava
