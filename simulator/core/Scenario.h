#pragma once

#include "ContactCard.h"
#include "ReaderFault.h"
#include "ReaderSettings.h"
#include "VirtualCard.h"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string_view>
#include <vector>

namespace zentrava {

using CardList = std::vector<std::unique_ptr<VirtualCard>>;

// The reader's settings and the cards lying in its field, top card first, as the scenario file
// keeps them.
class Scenario {
public:
    ReaderSettings reader;
    CardList field;
    // The card in the contact slot, if any.
    std::unique_ptr<ContactCard> contactSlot;
    // The operator's faults, in the order they were armed ("faults", left out when none).
    std::vector<ReaderFault> faults;

    // Used when there is no scenario file: a 4K Mifare card with a value block and some data,
    // an UltraLight, a type A processor card, a DESFire, a type B processor card, a processor card
    // in the contact slot, a SAM in the SAM slot, an SHC1102, the type B and ST tags, an I.CODE SLI
    // and a Tag-it; an AT24C64 in the contact slot.
    static Scenario builtInDefault();
    // Both throw ScenarioError with the place and the reason.
    static Scenario fromJson(const nlohmann::ordered_json &document);
    static Scenario parse(std::string_view text);

    static nlohmann::ordered_json toJson(const ReaderSettings &reader, const CardList &field,
                                         const ContactCard *contactSlot = nullptr,
                                         const std::vector<ReaderFault> &faults = {});
    std::string serialize() const;
    static std::string serialize(const ReaderSettings &reader, const CardList &field,
                                 const ContactCard *contactSlot = nullptr,
                                 const std::vector<ReaderFault> &faults = {});
};

} // namespace zentrava
