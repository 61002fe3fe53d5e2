#include "Scenario.h"

#include "CardCatalogue.h"
#include "JsonFields.h"
#include "MifareClassicCard.h"
#include "MifareValueBlock.h"
#include "ProcessorCard.h"
#include "ScenarioError.h"
#include "Shc1102Card.h"
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

nlohmann::ordered_json Scenario::toJson(const ReaderSettings &reader, const CardList &field)
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
    return document;
}

std::string Scenario::serialize(const ReaderSettings &reader, const CardList &field)
{
    return toJson(reader, field).dump(2) + "\n";
}

std::string Scenario::serialize() const
{
    return serialize(reader, field);
}

} // namespace zentrava
