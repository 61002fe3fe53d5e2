#include "Scenario.h"

#include "At88rf020Card.h"
#include "At24Card.h"
#include "CardCatalogue.h"
#include "Iso15693Tag.h"
#include "JsonFields.h"
#include "MifareClassicCard.h"
#include "MifareValueBlock.h"
#include "ProcessorCard.h"
#include "ScenarioError.h"
#include "Shc1102Card.h"
#include "Sr176Card.h"
#include "Srix4kCard.h"
#include "Trh1064Card.h"
#include "UltralightCard.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

constexpr const char *FileType = "zentrava-scenario";
// About a hundred years either way.
constexpr int64_t MaxClockOffset = 3'200'000'000;

Bytes asciiBlock(const std::string &text, std::size_t size)
{
    Bytes bytes(text.begin(), text.end());
    bytes.resize(size, '.');
    return bytes;
}

ReaderSettings readerFromJson(const nlohmann::ordered_json &reader)
{
    using namespace jsonfields;
    requireObject(reader, "reader");
    ReaderSettings settings;
    if (const auto *port = member(reader, "port"))
        settings.port = static_cast<int>(integerValue(*port, "reader.port", 1, 8));
    if (const auto *model = member(reader, "model")) {
        settings.model = stringValue(*model, "reader.model");
        const bool printable = std::all_of(settings.model.begin(), settings.model.end(),
                                           [](char c) { return c >= 0x20 && c < 0x7F; });
        if (settings.model.empty() || settings.model.size() > 64 || !printable)
            throw ScenarioError("reader.model: expected 1 to 64 printable ASCII characters");
    }
    if (const auto *version = member(reader, "libraryVersion"))
        settings.libraryVersion = static_cast<uint32_t>(integerValue(*version, "reader.libraryVersion", 0, 0x7FFFFFFF));
    if (const auto *number = member(reader, "deviceNumber"))
        settings.deviceNumber = static_cast<uint16_t>(integerValue(*number, "reader.deviceNumber", 0, 0xFFFF));
    if (const auto *offset = member(reader, "clockOffsetSeconds"))
        settings.clockOffsetSeconds = integerValue(*offset, "reader.clockOffsetSeconds", -MaxClockOffset, MaxClockOffset);
    if (const auto *writeBack = member(reader, "writeBack"))
        settings.writeBack = boolValue(*writeBack, "reader.writeBack");
    return settings;
}

} // namespace

Scenario Scenario::builtInDefault()
{
    Scenario scenario;
    const auto hex = [](const char *text) { return *fromHex(text); };

    auto mifare = MifareClassicCard::factoryNew(MifareClassicCard::Capacity::FourK, hex("C0FFEE42"));
    const std::array<uint8_t, 16> purse = MifareValueBlock::encode(100, 1);
    Bytes image = mifare->memory();
    std::copy(purse.begin(), purse.end(), image.begin() + 1 * 16);
    const Bytes title = asciiBlock("ZENTRAVA 4K DEMO", 16);
    std::copy(title.begin(), title.end(), image.begin() + 2 * 16);
    for (int i = 0; i < 16; ++i)
        image[static_cast<std::size_t>(4 * 16 + i)] = static_cast<uint8_t>(i);
    const Bytes bigSector = asciiBlock("SECTOR 32 BLOCK0", 16);
    std::copy(bigSector.begin(), bigSector.end(), image.begin() + 128 * 16);
    mifare->replaceMemory(image);
    scenario.field.push_back(std::move(mifare));

    auto ultralight = UltralightCard::factoryNew(hex("04A1B2C3D4E5F6"));
    image = ultralight->memory();
    const Bytes pages = asciiBlock("ULTRALIGHT DEMO!", 16);
    std::copy(pages.begin(), pages.end(), image.begin() + 4 * 4);
    ultralight->replaceMemory(image);
    scenario.field.push_back(std::move(ultralight));

    scenario.field.push_back(ProcessorCard::factoryNew(ProcessorCard::Kind::TypeA, hex("5A10CB01")));
    scenario.field.push_back(ProcessorCard::factoryNew(ProcessorCard::Kind::Desfire, hex("04D3F1E2A55B80")));
    scenario.field.push_back(ProcessorCard::factoryNew(ProcessorCard::Kind::TypeB, hex("B0C1D2E3")));
    scenario.field.push_back(ProcessorCard::factoryNew(ProcessorCard::Kind::Contact, hex("C0DE0001")));
    scenario.field.push_back(ProcessorCard::factoryNew(ProcessorCard::Kind::Sam, hex("5A300001")));

    auto shc1102 = Shc1102Card::factoryNew(hex("11020000A1B2C3D4"));
    image = shc1102->memory();
    const Bytes open = asciiBlock("SHC1102 FREE BLOCKS 2-7!", 24);
    std::copy(open.begin(), open.end(), image.begin() + 2 * 4);
    const Bytes guarded = asciiBlock("PROTECTED BLOCKS 9 TO 15", 28);
    std::copy(guarded.begin(), guarded.end(), image.begin() + 9 * 4);
    shc1102->replaceMemory(image);
    scenario.field.push_back(std::move(shc1102));

    // The type B tags: each answers only in its own radio mode.
    auto at88rf020 = At88rf020Card::factoryNew(hex("A0200001"));
    image = at88rf020->memory();
    std::fill(image.begin() + At88rf020Card::PasswordPage * 8, image.begin() + 4 * 8, 0xFF);
    const Bytes at020Pages = asciiBlock("AT88RF020 DEMO PAGES 4 TO 7 HERE", 32);
    std::copy(at020Pages.begin(), at020Pages.end(), image.begin() + 4 * 8);
    at88rf020->replaceMemory(image);
    scenario.field.push_back(std::move(at88rf020));

    auto sr176 = Sr176Card::factoryNew(hex("D002A1B2C3D40176"));
    image = sr176->memory();
    const Bytes sr176Blocks = asciiBlock("SR176 DEMO 4-11!", 16);
    std::copy(sr176Blocks.begin(), sr176Blocks.end(), image.begin() + 4 * 2);
    sr176->replaceMemory(image);
    scenario.field.push_back(std::move(sr176));

    auto srix4k = Srix4kCard::factoryNew(hex("D00201A1B2C3D44B"));
    image = srix4k->memory();
    const Bytes srixBlocks = asciiBlock("SRIX4K DEMO BLOCKS 16 TO 23 HERE", 32);
    std::copy(srixBlocks.begin(), srixBlocks.end(), image.begin() + 16 * 4);
    srix4k->replaceMemory(image);
    scenario.field.push_back(std::move(srix4k));
    // Configuration 10: page 2 is the key (FF...FF), page 3 is read freely and changed after it.
    auto trh1064 = Trh1064Card::factoryNew(hex("10640000A1B2C3D4"));
    image = trh1064->memory();
    const Bytes config = hex("5452483130363410");
    std::copy(config.begin(), config.end(), image.begin());
    const Bytes page1 = asciiBlock("TRH1064 PAGE 1 HOLDS FORTY BYTES OF DATA", 40);
    std::copy(page1.begin(), page1.end(), image.begin() + 8);
    trh1064->replaceMemory(image);
    scenario.field.push_back(std::move(trh1064));

    auto eeprom = At24Card::factoryNew(*At24Card::findChip("at24c64"));
    const Bytes greeting = asciiBlock("ZENTRAVA AT24C64 DEMO CARD", 32);
    eeprom->write(0, static_cast<int32_t>(greeting.size()), greeting.data());
    eeprom->takeMemoryChanged();
    scenario.contactSlot = std::move(eeprom);
    // Two vicinity tags, so that an inventory finds two.
    auto sli = Iso15693Tag::factoryNew(Iso15693Tag::Kind::IcodeSli, hex("E004010012345678"));
    image = sli->memory();
    const Bytes sliText = asciiBlock("I.CODE SLI DEMO!", 16);
    std::copy(sliText.begin(), sliText.end(), image.begin());
    sli->replaceMemory(image);
    scenario.field.push_back(std::move(sli));
    scenario.field.push_back(Iso15693Tag::factoryNew(Iso15693Tag::Kind::TagIt, hex("E007000087654321")));

    for (auto &card : scenario.field)
        card->takeMemoryChanged();
    return scenario;
}

Scenario Scenario::fromJson(const nlohmann::ordered_json &document)
{
    using namespace jsonfields;
    if (!document.is_object())
        throw ScenarioError("the scenario must be a JSON object");
    if (const auto *type = member(document, "FileType")) {
        const std::string name = stringValue(*type, "FileType");
        if (name != FileType)
            throw ScenarioError("FileType is \"" + name.substr(0, 40) + "\", not \"" + FileType +
                                "\": not a scenario file");
    }
    Scenario scenario;
    if (const auto *reader = member(document, "reader"))
        scenario.reader = readerFromJson(*reader);
    if (const auto *field = member(document, "field")) {
        requireArray(*field, "field");
        for (std::size_t i = 0; i < field->size(); ++i)
            scenario.field.push_back(CardCatalogue::fromJson((*field)[i], "field[" + std::to_string(i) + "]"));
    }
    if (const auto *slot = member(document, "contactSlot"))
        scenario.contactSlot = CardCatalogue::contactFromJson(*slot, "contactSlot");
    if (const auto *faults = member(document, "faults")) {
        requireArray(*faults, "faults");
        for (std::size_t i = 0; i < faults->size(); ++i)
            scenario.faults.push_back(ReaderFault::fromJson((*faults)[i], "faults[" + std::to_string(i) + "]"));
    }
    return scenario;
}

Scenario Scenario::parse(std::string_view text)
{
    nlohmann::ordered_json document;
    try {
        document = nlohmann::ordered_json::parse(text.begin(), text.end());
    } catch (const nlohmann::ordered_json::exception &error) {
        // Syntax errors and numbers beyond any range; the message carries line and column.
        std::string reason = error.what();
        const auto position = reason.find("] ");
        throw ScenarioError("not valid JSON: " + (position == std::string::npos ? reason : reason.substr(position + 2)));
    }
    return fromJson(document);
}

nlohmann::ordered_json Scenario::toJson(const ReaderSettings &reader, const CardList &field, const ContactCard *contactSlot,
                                        const std::vector<ReaderFault> &faults)
{
    nlohmann::ordered_json document;
    document["Created"] = "zentrava-sim";
    document["FileType"] = FileType;
    document["reader"] = {{"port", reader.port},
                          {"model", reader.model},
                          {"libraryVersion", reader.libraryVersion},
                          {"deviceNumber", reader.deviceNumber},
                          {"clockOffsetSeconds", reader.clockOffsetSeconds},
                          {"writeBack", reader.writeBack}};
    nlohmann::ordered_json cards = nlohmann::ordered_json::array();
    for (const auto &card : field)
        cards.push_back(card->toJson());
    document["field"] = cards;
    if (contactSlot)
        document["contactSlot"] = contactSlot->toJson();
    if (!faults.empty()) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const ReaderFault &fault : faults)
            list.push_back(fault.toJson());
        document["faults"] = list;
    }
    return document;
}

std::string Scenario::serialize(const ReaderSettings &reader, const CardList &field, const ContactCard *contactSlot,
                                const std::vector<ReaderFault> &faults)
{
    return toJson(reader, field, contactSlot, faults).dump(2) + "\n";
}

std::string Scenario::serialize() const
{
    return serialize(reader, field, contactSlot.get(), faults);
}

} // namespace zentrava
