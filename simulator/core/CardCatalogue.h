#pragma once

#include "ContactCard.h"
#include "VirtualCard.h"

#include <functional>
#include <string_view>

namespace zentrava {

// Every kind of virtual card the simulator knows, by the name the scenario file and the tool
// use: the cards of the field list (the contact and SAM slots' processor cards among them) and
// the memory cards of the contact slot. A new card model plugs in here with one registration
// line (see simulator/README.md, "Adding a virtual card").
class CardCatalogue {
public:
    // A card type's serial number: its length, and the bytes a fresh one starts with (the chip
    // maker's code, where the chip's serial numbers carry one).
    struct SerialNumber {
        std::size_t bytes;
        Bytes prefix = {};
    };
    template <class Card> struct TypeOf {
        std::string name;
        std::vector<std::string> aliases;
        std::string description;
        // The serial number's length; 0 for the contact slot's memory cards, which have none.
        std::size_t uidLength;
        Bytes uidPrefix;
        std::function<std::unique_ptr<Card>(const Bytes &uid)> create;
        std::function<std::unique_ptr<Card>(const nlohmann::ordered_json &card, const std::string &where)> fromJson;
    };
    using CardType = TypeOf<VirtualCard>;
    using ContactCardType = TypeOf<ContactCard>;

    static const std::vector<CardType> &types();
    static const std::vector<ContactCardType> &contactTypes();
    // By name or alias, ignoring case; nullptr when unknown.
    static const CardType *find(std::string_view name);
    static const ContactCardType *findContact(std::string_view name);
    // Read one card of the scenario's field, or the contact slot's card, by its "type"; throw
    // ScenarioError.
    static std::unique_ptr<VirtualCard> fromJson(const nlohmann::ordered_json &card, const std::string &where);
    static std::unique_ptr<ContactCard> contactFromJson(const nlohmann::ordered_json &card, const std::string &where);
    // A fresh serial number of the type's length, starting with its prefix.
    static Bytes randomUid(const CardType &type);
};

} // namespace zentrava
