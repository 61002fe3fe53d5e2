#pragma once

#include "Iso7816FileSystem.h"
#include "VirtualCard.h"

#include <optional>
#include <random>

namespace zentrava {

// A processor card: ISO 14443-4 type A (Mifare ProX and alike, 4-byte serial number), DESFire
// (7-byte serial number), ISO 14443-4 type B (4-byte PUPI), an ISO 7816 card in the contact slot
// or a security module (SAM) in the SAM slot. All run our small card application: SELECT by name
// and by file identifier, READ BINARY, UPDATE BINARY and GET CHALLENGE. The DESFire also answers
// its native GetVersion, plain or wrapped in an APDU with class 90.
// The scenario's "ATS" is the answer to select (type A), the application data and protocol
// information of the answer to request B (type B, 7 bytes) or the answer to reset (contact, SAM).
class ProcessorCard : public VirtualCard {
public:
    enum class Kind { TypeA, Desfire, TypeB, Contact, Sam };

    static std::unique_ptr<ProcessorCard> factoryNew(Kind kind, const Bytes &uid);
    static std::unique_ptr<ProcessorCard> fromJson(Kind kind, const nlohmann::ordered_json &card,
                                                   const std::string &where);

    std::string typeName() const override;
    RadioMode radioMode() const override;
    Bytes uid() const override { return m_uid; }
    std::array<uint8_t, 2> tagType() const override;
    nlohmann::ordered_json toJson() const override;
    std::vector<std::string> dumpLines() const override;
    std::unique_ptr<VirtualCard> clone() const override;
    std::optional<Bytes> answerToRequestB() const override;

    Kind kind() const { return m_kind; }
    const Bytes &answerToSelect() const { return m_answerToSelect; }
    const Iso7816FileSystem &fileSystem() const { return m_fileSystem; }
    // One command to the activated card; the answer ends with the status word (or, for native
    // DESFire commands, starts with the status byte). Never longer than 255 bytes.
    Bytes transceive(const Bytes &command);

protected:
    void endSession() override;

private:
    ProcessorCard(Kind kind, Bytes uid, Bytes answerToSelect, Iso7816FileSystem fileSystem);

    Bytes processApdu(const Bytes &apdu);
    Bytes select(uint8_t p1, uint8_t p2, const Bytes &data, bool answerExpected);
    Bytes readBinary(uint8_t p1, uint8_t p2, std::size_t dataSize, std::optional<std::size_t> expected);
    Bytes updateBinary(uint8_t p1, uint8_t p2, const Bytes &data);
    Bytes getChallenge(uint8_t p1, uint8_t p2, std::size_t dataSize, std::optional<std::size_t> expected);
    // The elementary file a READ or UPDATE BINARY addresses: the current one, or the one its
    // short identifier names (which then becomes current). Nothing with the status word to give.
    Iso7816FileSystem::File *addressedFile(uint8_t p1, uint16_t &statusWord);
    Iso7816FileSystem::Files &currentDirectory();
    // Native DESFire command: the status byte and the data.
    std::pair<uint8_t, Bytes> processNative(uint8_t command, const Bytes &data);

    Kind m_kind;
    Bytes m_uid;
    Bytes m_answerToSelect;
    Iso7816FileSystem m_fileSystem;
    int m_currentApplication = -1; // -1: the master file
    std::optional<uint16_t> m_currentFile;
    int m_versionFrame = 0; // GetVersion answers in three frames
    std::mt19937 m_random{std::random_device{}()};
};

} // namespace zentrava
