#include "CardCatalogue.h"

#include "At24Card.h"
#include "At88rf020Card.h"
#include "At88sc1608Card.h"
#include "Iso15693Tag.h"
#include "JsonFields.h"
#include "MifareClassicCard.h"
#include "ProcessorCard.h"
#include "ScenarioError.h"
#include "Shc1102Card.h"
#include "Sr176Card.h"
#include "Srix4kCard.h"
#include "Trh1064Card.h"
#include "Srf55vTag.h"
#include "UltralightCard.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <random>

namespace zentrava {

namespace {

using json = nlohmann::ordered_json;

// One kind of card of the field: Card::factoryNew(variant..., uid) and
// Card::fromJson(variant..., card, where).
template <class Card, class... Variant>
CardCatalogue::CardType fieldCard(std::string name, std::vector<std::string> aliases, std::string description,
                                  CardCatalogue::SerialNumber serial, Variant... variant)
{
    return {std::move(name), std::move(aliases), std::move(description), serial.bytes, std::move(serial.prefix),
            [=](const Bytes &uid) -> std::unique_ptr<VirtualCard> { return Card::factoryNew(variant..., uid); },
            [=](const json &card, const std::string &where) -> std::unique_ptr<VirtualCard> {
                return Card::fromJson(variant..., card, where);
            }};
}

// One kind of memory card of the contact slot: Card::factoryNew(variant...) and
// Card::fromJson(variant..., card, where).
template <class Card, class... Variant>
CardCatalogue::ContactCardType contactCard(std::string name, std::string description, Variant... variant)
{
    return {std::move(name), {}, std::move(description), 0, {},
            [=](const Bytes &) -> std::unique_ptr<ContactCard> { return Card::factoryNew(variant...); },
            [=](const json &card, const std::string &where) -> std::unique_ptr<ContactCard> {
                return Card::fromJson(variant..., card, where);
            }};
}

std::string at24Description(const At24Card::Chip &chip)
{
    std::string name = chip.name;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return name + " serial EEPROM, " + std::to_string(chip.memory_bytes) + " bytes in write pages of " +
           std::to_string(chip.writePage_bytes);
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <class Type> const Type *findIn(const std::vector<Type> &types, std::string_view name)
{
    for (const Type &type : types) {
        if (sameName(type.name, name))
            return &type;
        for (const std::string &alias : type.aliases)
            if (sameName(alias, name))
                return &type;
    }
    return nullptr;
}

// Reads a card by its "type", which it needs, among the given types.
template <class Type>
auto readCard(const std::vector<Type> &types, const json &card, const std::string &where, const char *kind)
{
    jsonfields::requireObject(card, where);
    const auto *typeName = jsonfields::member(card, "type");
    if (!typeName)
        throw ScenarioError(where + ": needs a \"type\"");
    const std::string name = jsonfields::stringValue(*typeName, where + ".type");
    const Type *type = findIn(types, name);
    if (!type)
        throw ScenarioError(where + ".type: unknown " + kind + " \"" + name.substr(0, 40) + "\"");
    return type->fromJson(card, where);
}

} // namespace

const std::vector<CardCatalogue::CardType> &CardCatalogue::types()
{
    using Capacity = MifareClassicCard::Capacity;
    using Kind = ProcessorCard::Kind;
    // Serial numbers: NXP's start with 04, ST's with D0 02, ISO 15693 ones with E0 and the maker's
    // code (NXP 04, TI 07, Infineon 05).
    static const std::vector<CardType> catalogue = {
        fieldCard<MifareClassicCard>("mifare-1k", {"s50", "1k"}, "Mifare Standard 1K (S50), 16 sectors of 4 blocks", {4}, Capacity::OneK),
        fieldCard<MifareClassicCard>("mifare-4k", {"s70", "4k"}, "Mifare Standard 4K (S70), 32 sectors of 4 blocks and 8 of 16", {4}, Capacity::FourK),
        fieldCard<UltralightCard>("ultralight", {"ul"}, "Mifare UltraLight, 16 pages of 4 bytes", {7, {0x04}}),
        fieldCard<ProcessorCard>("typea-cpu", {"prox", "cpu"}, "ISO 14443-4 type A processor card (Mifare ProX)", {4}, Kind::TypeA),
        fieldCard<ProcessorCard>("desfire", {}, "Mifare DESFire", {7, {0x04}}, Kind::Desfire),
        fieldCard<ProcessorCard>("typeb-cpu", {"typeb"}, "ISO 14443-4 type B processor card", {4}, Kind::TypeB),
        fieldCard<ProcessorCard>("contact-cpu", {}, "ISO 7816 processor card in the contact slot", {4}, Kind::Contact),
        fieldCard<ProcessorCard>("sam", {}, "security module in the SAM slot", {4}, Kind::Sam),
        fieldCard<Shc1102Card>("shc1102", {}, "SHC1102 tag, 16 blocks of 4 bytes behind a password", {8}),
        fieldCard<At88rf020Card>("at88rf020", {}, "AT88RF020 tag (type B), 32 pages of 8 bytes behind a password, lock bits and a counter", {4}),
        fieldCard<Sr176Card>("sr176", {}, "ST SR176 tag, 16 blocks of 2 bytes with a lock register", {8, {0xD0, 0x02}}),
        fieldCard<Srix4kCard>("srix4k", {}, "ST SRIX4K tag, 128 blocks of 4 bytes, counters and a lock register", {8, {0xD0, 0x02}}),
        fieldCard<Trh1064Card>("trh1064", {}, "TRH1064 type B tag, pages of 8, 40, 8 and 8 bytes under a configuration byte", {8}),
        fieldCard<Iso15693Tag>("icode-sli", {"sli"}, "NXP I.CODE SLI, ISO 15693, 28 blocks of 4 bytes", {8, {0xE0, 0x04}}, Iso15693Tag::Kind::IcodeSli),
        fieldCard<Iso15693Tag>("tag-it", {"tagit"}, "TI Tag-it HF-I, ISO 15693, 64 blocks of 4 bytes", {8, {0xE0, 0x07}}, Iso15693Tag::Kind::TagIt),
        fieldCard<Srf55vTag>("srf55v02p", {}, "Infineon SRF55V02P, ISO 15693, 32 pages of 8 bytes", {8, {0xE0, 0x05}}, Srf55vTag::Kind::V02P),
        fieldCard<Srf55vTag>("srf55v10p", {}, "Infineon SRF55V10P, ISO 15693, 128 pages of 8 bytes", {8, {0xE0, 0x05}}, Srf55vTag::Kind::V10P),
    };
    return catalogue;
}

const std::vector<CardCatalogue::ContactCardType> &CardCatalogue::contactTypes()
{
    static const std::vector<ContactCardType> catalogue = [] {
        std::vector<ContactCardType> types;
        for (const At24Card::Chip &chip : At24Card::chips())
            types.push_back(contactCard<At24Card>(chip.name, at24Description(chip), chip));
        types.push_back(contactCard<At88sc1608Card>(At88sc1608Card::TypeName,
                                                    "AT88SC1608 secure memory, 8 user zones of 256 bytes behind passwords"));
        return types;
    }();
    return catalogue;
}

const CardCatalogue::CardType *CardCatalogue::find(std::string_view name)
{
    return findIn(types(), name);
}

const CardCatalogue::ContactCardType *CardCatalogue::findContact(std::string_view name)
{
    return findIn(contactTypes(), name);
}

std::unique_ptr<VirtualCard> CardCatalogue::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    return readCard(types(), card, where, "card type");
}

std::unique_ptr<ContactCard> CardCatalogue::contactFromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    return readCard(contactTypes(), card, where, "contact card type");
}

Bytes CardCatalogue::randomUid(const CardType &type)
{
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes uid(type.uidLength);
    for (uint8_t &value : uid)
        value = static_cast<uint8_t>(byte(generator));
    std::copy(type.uidPrefix.begin(), type.uidPrefix.end(), uid.begin());
    // The cascade tag never starts a single-size serial number.
    if (type.uidPrefix.empty() && uid[0] == 0x88)
        uid[0] = 0x08;
    return uid;
}

} // namespace zentrava
