#include "CardCatalogue.h"

#include "At88rf020Card.h"
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

const std::vector<CardCatalogue::CardType> &CardCatalogue::types()
{
    using Capacity = MifareClassicCard::Capacity;
    using Kind = ProcessorCard::Kind;
    static const std::vector<CardType> catalogue = {
        {"mifare-1k", {"s50", "1k"}, "Mifare Standard 1K (S50), 16 sectors of 4 blocks", 4,
         [](const Bytes &uid) { return MifareClassicCard::factoryNew(Capacity::OneK, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return MifareClassicCard::fromJson(Capacity::OneK, card, where);
         }},
        {"mifare-4k", {"s70", "4k"}, "Mifare Standard 4K (S70), 32 sectors of 4 blocks and 8 of 16", 4,
         [](const Bytes &uid) { return MifareClassicCard::factoryNew(Capacity::FourK, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return MifareClassicCard::fromJson(Capacity::FourK, card, where);
         }},
        {"ultralight", {"ul"}, "Mifare UltraLight, 16 pages of 4 bytes", 7,
         [](const Bytes &uid) { return UltralightCard::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return UltralightCard::fromJson(card, where); }},
        {"typea-cpu", {"prox", "cpu"}, "ISO 14443-4 type A processor card (Mifare ProX)", 4,
         [](const Bytes &uid) { return ProcessorCard::factoryNew(Kind::TypeA, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return ProcessorCard::fromJson(Kind::TypeA, card, where);
         }},
        {"desfire", {}, "Mifare DESFire", 7,
         [](const Bytes &uid) { return ProcessorCard::factoryNew(Kind::Desfire, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return ProcessorCard::fromJson(Kind::Desfire, card, where);
         }},
        {"typeb-cpu", {"typeb"}, "ISO 14443-4 type B processor card", 4,
         [](const Bytes &uid) { return ProcessorCard::factoryNew(Kind::TypeB, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return ProcessorCard::fromJson(Kind::TypeB, card, where);
         }},
        {"contact-cpu", {}, "ISO 7816 processor card in the contact slot", 4,
         [](const Bytes &uid) { return ProcessorCard::factoryNew(Kind::Contact, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return ProcessorCard::fromJson(Kind::Contact, card, where);
         }},
        {"sam", {}, "security module in the SAM slot", 4,
         [](const Bytes &uid) { return ProcessorCard::factoryNew(Kind::Sam, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return ProcessorCard::fromJson(Kind::Sam, card, where);
         }},
        {"shc1102", {}, "SHC1102 tag, 16 blocks of 4 bytes behind a password", 8,
         [](const Bytes &uid) { return Shc1102Card::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return Shc1102Card::fromJson(card, where); }},
        {"at88rf020", {}, "AT88RF020 tag (type B), 32 pages of 8 bytes behind a password, lock bits and a counter", 4,
         [](const Bytes &uid) { return At88rf020Card::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return At88rf020Card::fromJson(card, where); }},
        {"sr176", {}, "ST SR176 tag, 16 blocks of 2 bytes with a lock register", 8,
         [](const Bytes &uid) { return Sr176Card::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return Sr176Card::fromJson(card, where); }},
        {"srix4k", {}, "ST SRIX4K tag, 128 blocks of 4 bytes, counters and a lock register", 8,
         [](const Bytes &uid) { return Srix4kCard::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return Srix4kCard::fromJson(card, where); }},
        {"trh1064", {}, "TRH1064 type B tag, pages of 8, 40, 8 and 8 bytes under a configuration byte", 8,
         [](const Bytes &uid) { return Trh1064Card::factoryNew(uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) { return Trh1064Card::fromJson(card, where); }},
        {"icode-sli", {"sli"}, "NXP I.CODE SLI, ISO 15693, 28 blocks of 4 bytes", 8,
         [](const Bytes &uid) { return Iso15693Tag::factoryNew(Iso15693Tag::Kind::IcodeSli, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return Iso15693Tag::fromJson(Iso15693Tag::Kind::IcodeSli, card, where);
         }},
        {"tag-it", {"tagit"}, "TI Tag-it HF-I, ISO 15693, 64 blocks of 4 bytes", 8,
         [](const Bytes &uid) { return Iso15693Tag::factoryNew(Iso15693Tag::Kind::TagIt, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return Iso15693Tag::fromJson(Iso15693Tag::Kind::TagIt, card, where);
         }},
        {"srf55v02p", {}, "Infineon SRF55V02P, ISO 15693, 32 pages of 8 bytes", 8,
         [](const Bytes &uid) { return Srf55vTag::factoryNew(Srf55vTag::Kind::V02P, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return Srf55vTag::fromJson(Srf55vTag::Kind::V02P, card, where);
         }},
        {"srf55v10p", {}, "Infineon SRF55V10P, ISO 15693, 128 pages of 8 bytes", 8,
         [](const Bytes &uid) { return Srf55vTag::factoryNew(Srf55vTag::Kind::V10P, uid); },
         [](const nlohmann::ordered_json &card, const std::string &where) {
             return Srf55vTag::fromJson(Srf55vTag::Kind::V10P, card, where);
         }},
    };
    return catalogue;
}

static bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

const CardCatalogue::CardType *CardCatalogue::find(std::string_view name)
{
    for (const CardType &type : types()) {
        if (sameName(type.name, name))
            return &type;
        for (const std::string &alias : type.aliases)
            if (sameName(alias, name))
                return &type;
    }
    return nullptr;
}

std::unique_ptr<VirtualCard> CardCatalogue::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    jsonfields::requireObject(card, where);
    const auto *typeName = jsonfields::member(card, "type");
    if (!typeName)
        throw ScenarioError(where + ": needs a \"type\"");
    const std::string name = jsonfields::stringValue(*typeName, where + ".type");
    const CardType *type = find(name);
    if (!type)
        throw ScenarioError(where + ".type: unknown card type \"" + name.substr(0, 40) + "\"");
    return type->fromJson(card, where);
}

Bytes CardCatalogue::randomUid(const CardType &type)
{
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes uid(type.uidLength);
    for (uint8_t &value : uid)
        value = static_cast<uint8_t>(byte(generator));
    if (type.uidLength == 8) {
        // An ISO 15693 serial number starts with E0 and the chip maker's code: NXP 04, TI 07, Infineon 05.
        uid[0] = 0xE0;
        uid[1] = type.name.rfind("tag-it", 0) == 0 ? 0x07 : type.name.rfind("srf55v", 0) == 0 ? 0x05 : 0x04;
    } else if (type.uidLength == 7) {
        uid[0] = 0x04;
    } else if (uid[0] == 0x88) { // the cascade tag never starts a single-size serial number
        uid[0] = 0x08;
    }
    return uid;
}

} // namespace zentrava
