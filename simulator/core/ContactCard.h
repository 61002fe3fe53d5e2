#pragma once

#include "HexText.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string>
#include <vector>

namespace zentrava {

// The card in the reader's contact slot. The slot holds at most one card, chosen by the
// scenario's "contactSlot"; the reader powers it with OpenCard (or the card's own reset) and
// the commands of its kind reach it only while it is powered.
class ContactCard {
public:
    virtual ~ContactCard() = default;

    // The scenario file's "type" ("at24c64", "at88sc1608").
    virtual std::string typeName() const = 0;
    virtual nlohmann::ordered_json toJson() const = 0;
    virtual std::vector<std::string> dumpLines() const = 0;
    virtual std::unique_ptr<ContactCard> clone() const = 0;

    bool powered() const { return m_powered; }
    // Power on (a new session) or off; either way every verification is forgotten.
    void setPowered(bool on);
    // True once after the card's memory changed, so that the reader writes it back.
    bool takeMemoryChanged();

protected:
    ContactCard() = default;
    ContactCard(const ContactCard &) = default;
    ContactCard &operator=(const ContactCard &) = default;

    virtual void endSession() {}
    void markMemoryChanged() { m_memoryChanged = true; }

private:
    bool m_powered = false;
    bool m_memoryChanged = false;
};

} // namespace zentrava
