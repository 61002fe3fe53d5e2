#pragma once

#include "VirtualCard.h"

#include <functional>
#include <string_view>

namespace zentrava {

// Every kind of virtual card the simulator knows, by the name the scenario file and the tool use.
// A new card model plugs in here: one entry with its factory and its JSON reader (see
// simulator/README.md, "Adding a virtual card").
class CardCatalogue {
public:
    struct CardType {
        std::string name;
        std::vector<std::string> aliases;
        std::string description;
        std::size_t uidLength;
        std::function<std::unique_ptr<VirtualCard>(const Bytes &uid)> create;
        std::function<std::unique_ptr<VirtualCard>(const nlohmann::ordered_json &card, const std::string &where)> fromJson;
    };

    static const std::vector<CardType> &types();
    // By name or alias, ignoring case; nullptr when unknown.
    static const CardType *find(std::string_view name);
    // Reads one card of the scenario's field by its "type"; throws ScenarioError.
    static std::unique_ptr<VirtualCard> fromJson(const nlohmann::ordered_json &card, const std::string &where);
    // A fresh serial number of the type's length (7-byte ones start with NXP's 04, ISO 15693 ones
    // with E0 and the maker's code).
    static Bytes randomUid(const CardType &type);
};

} // namespace zentrava
