#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zentrava {

// A write torn off half way, as when the card leaves the field while the chip is programming
// it: the first bytes of the write land, the rest keep their old content. Every card kind lands
// the bytes of a write through land(), so one armed budget tears whatever card is written.
class WriteTear {
public:
    // Arms a budget of bytes for as long as the scope lives (one library call); an empty budget
    // arms nothing.
    class Scope {
    public:
        explicit Scope(std::optional<std::size_t> budgetBytes);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
        // True when a write reached the card while the budget was armed: that write was torn.
        bool torn() const { return m_torn; }

    private:
        friend class WriteTear;
        bool m_armed = false;
        std::size_t m_budgetBytes = 0;
        bool m_torn = false;
    };

    // Copies count bytes over target in order, or only as many as the armed budget still allows.
    // True when the target changed.
    static bool land(uint8_t *target, const uint8_t *data, std::size_t count);
};

} // namespace zentrava
