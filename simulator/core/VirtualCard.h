#pragma once

#include "HexText.h"
#include "RadioMode.h"

#include <nlohmann/json_fwd.hpp>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentrava {

// Where a card stands in the selection protocol of its family: a request moves idle (and, for
// request all, halted) cards to ready; a selection makes one ready card active; halt, deselect or
// a refused command end its session.
enum class CardState { Idle, Ready, Active, Halted };

// One card lying in the reader's field. Subclasses add the commands their chip understands; the
// reader finds them by type when a command for that kind of card arrives.
class VirtualCard {
public:
    virtual ~VirtualCard() = default;

    // The scenario file's "type" and the name the tool places cards by ("mifare-1k").
    virtual std::string typeName() const = 0;
    virtual RadioMode radioMode() const = 0;
    virtual Bytes uid() const = 0;
    // The answer to a request as rf_request hands it over, low byte first.
    virtual std::array<uint8_t, 2> tagType() const = 0;
    virtual nlohmann::ordered_json toJson() const = 0;
    // The card's memory for the operator, one block, page or file per line.
    virtual std::vector<std::string> dumpLines() const = 0;
    virtual std::unique_ptr<VirtualCard> clone() const = 0;
    // Type B cards: the 12-byte answer to request B (0x50, the PUPI, application data and
    // protocol information); nothing for other cards.
    virtual std::optional<Bytes> answerToRequestB() const { return std::nullopt; }

    CardState state() const { return m_state; }
    // Every state but Active ends the session (authentication, selected file, ...).
    void setState(CardState state);
    // True once after the card's memory changed, so that the reader writes it back.
    bool takeMemoryChanged();

protected:
    VirtualCard() = default;
    VirtualCard(const VirtualCard &) = default;
    VirtualCard &operator=(const VirtualCard &) = default;

    virtual void endSession() {}
    void markMemoryChanged() { m_memoryChanged = true; }
    // A command the card refuses: like the real chips, it drops back to idle and must be
    // selected again. Returns the status for the caller.
    int32_t refuse(int32_t status);

private:
    CardState m_state = CardState::Idle;
    bool m_memoryChanged = false;
};

} // namespace zentrava
