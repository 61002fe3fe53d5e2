#include "ProcessorCard.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "WriteTear.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

// Status words of the card application.
constexpr uint16_t SwOk = 0x9000;
constexpr uint16_t SwEndOfFile = 0x6282;
constexpr uint16_t SwWrongLength = 0x6700;
constexpr uint16_t SwSecurityNotSatisfied = 0x6982;
constexpr uint16_t SwNoCurrentFile = 0x6986;
constexpr uint16_t SwFileNotFound = 0x6A82;
constexpr uint16_t SwNotEnoughSpace = 0x6A84;
constexpr uint16_t SwWrongP1P2 = 0x6A86;
constexpr uint16_t SwOffsetOutside = 0x6B00;
constexpr uint16_t SwInstructionNotSupported = 0x6D00;
constexpr uint16_t SwClassNotSupported = 0x6E00;

// DESFire native status bytes.
constexpr uint8_t DesfireOk = 0x00;
constexpr uint8_t DesfireMoreFrames = 0xAF;
constexpr uint8_t DesfireIllegalCommand = 0x1C;
constexpr uint8_t DesfireLengthError = 0x7E;

// The answer buffer's one-byte length leaves room for 253 data bytes and the status word.
constexpr std::size_t MaxAnswerData = 253;

// TL, T0 (TA, TB and TC follow, frame size 256), TA, TB, TC, then "ZTCPU" as historical bytes.
const Bytes TypeAAnswerToSelect = {0x0A, 0x78, 0x80, 0x70, 0x02, 0x5A, 0x54, 0x43, 0x50, 0x55};
// The answer to select of a DESFire EV1.
const Bytes DesfireAnswerToSelect = {0x06, 0x75, 0x77, 0x81, 0x02, 0x80};
// Type B: application data 0, then 106 kbit/s both ways, frames up to 256 bytes, ISO 14443-4,
// frame waiting time about 4.8 ms (FWI 4), no NAD, CID supported.
const Bytes TypeBProtocolInfo = {0x00, 0x00, 0x00, 0x00, 0x00, 0x81, 0x41};
constexpr std::size_t TypeBProtocolInfoLength = 7;
constexpr uint8_t AnswerToRequestB = 0x50;
// Answer to reset of the contact cards: direct convention, T=0, no programming voltage or extra
// guard time, then ten historical bytes: the card's name, a version byte and its serial number.
Bytes answerToReset(const char *name, const Bytes &serial)
{
    Bytes atr = {0x3B, 0x6A, 0x00, 0x00};
    for (const char *letter = name; *letter != '\0'; ++letter)
        atr.push_back(static_cast<uint8_t>(*letter));
    atr.push_back(0x01);
    for (const uint8_t byte : serial)
        atr.push_back(byte);
    return atr;
}

Bytes withStatus(Bytes data, uint16_t statusWord)
{
    data.push_back(static_cast<uint8_t>(statusWord >> 8));
    data.push_back(static_cast<uint8_t>(statusWord));
    return data;
}

Bytes statusOnly(uint16_t statusWord)
{
    return withStatus({}, statusWord);
}

std::size_t uidLength(ProcessorCard::Kind kind)
{
    return kind == ProcessorCard::Kind::Desfire ? 7 : 4;
}

} // namespace

ProcessorCard::ProcessorCard(Kind kind, Bytes uid, Bytes answerToSelect, Iso7816FileSystem fileSystem)
    : m_kind(kind), m_uid(std::move(uid)), m_answerToSelect(std::move(answerToSelect)),
      m_fileSystem(std::move(fileSystem))
{
}

std::unique_ptr<ProcessorCard> ProcessorCard::factoryNew(Kind kind, const Bytes &uid)
{
    Bytes answer;
    const char *text = "";
    switch (kind) {
    case Kind::TypeA:
        answer = TypeAAnswerToSelect;
        text = "ZENTRAVA SIMULATED CPU CARD";
        break;
    case Kind::Desfire:
        answer = DesfireAnswerToSelect;
        text = "ZENTRAVA SIMULATED DESFIRE";
        break;
    case Kind::TypeB:
        answer = TypeBProtocolInfo;
        text = "ZENTRAVA SIMULATED TYPE B CARD";
        break;
    case Kind::Contact:
        answer = answerToReset("ZTCPU", uid);
        text = "ZENTRAVA SIMULATED CONTACT CARD";
        break;
    case Kind::Sam:
        answer = answerToReset("ZTSAM", uid);
        text = "ZENTRAVA SIMULATED SAM";
        break;
    }
    return std::unique_ptr<ProcessorCard>(
        new ProcessorCard(kind, uid, std::move(answer), Iso7816FileSystem::demoContent(text)));
}

std::string ProcessorCard::typeName() const
{
    static const char *const Names[] = {"typea-cpu", "desfire", "typeb-cpu", "contact-cpu", "sam"};
    return Names[static_cast<int>(m_kind)];
}

RadioMode ProcessorCard::radioMode() const
{
    switch (m_kind) {
    case Kind::TypeB:
        return RadioMode::Iso14443B;
    case Kind::Contact:
        return RadioMode::ContactSlot;
    case Kind::Sam:
        return RadioMode::SamSlot;
    default:
        return RadioMode::Iso14443A;
    }
}

std::optional<Bytes> ProcessorCard::answerToRequestB() const
{
    if (m_kind != Kind::TypeB)
        return std::nullopt;
    Bytes answer = {AnswerToRequestB};
    answer.insert(answer.end(), m_uid.begin(), m_uid.end());
    answer.insert(answer.end(), m_answerToSelect.begin(), m_answerToSelect.end());
    return answer;
}

std::unique_ptr<ProcessorCard> ProcessorCard::fromJson(Kind kind, const nlohmann::ordered_json &card,
                                                       const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew(kind, requiredUid(card, where, uidLength(kind)));
    // "Card" is there: it holds the UID.
    if (const auto *ats = member(*member(card, "Card"), "ATS")) {
        result->m_answerToSelect = hexValue(*ats, where + ".Card.ATS");
        if (kind == Kind::TypeB && result->m_answerToSelect.size() != TypeBProtocolInfoLength)
            throw ScenarioError(where + ".Card.ATS: a type B card has 7 bytes of application data and protocol information");
        if (result->m_answerToSelect.empty() || result->m_answerToSelect.size() > 33)
            throw ScenarioError(where + ".Card.ATS: an answer to select or reset has 1 to 33 bytes");
    }
    if (member(card, "files") || member(card, "applications"))
        result->m_fileSystem = Iso7816FileSystem::fromJson(card, where);
    return result;
}

std::array<uint8_t, 2> ProcessorCard::tagType() const
{
    if (m_kind == Kind::TypeA)
        return {0x08, 0x00};
    return {0x44, 0x03};
}

nlohmann::ordered_json ProcessorCard::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(m_uid)}, {"ATS", toHex(m_answerToSelect)}};
    m_fileSystem.writeJson(card);
    return card;
}

std::vector<std::string> ProcessorCard::dumpLines() const
{
    std::vector<std::string> lines = {"UID  " + toHex(m_uid), "ATS  " + toHex(m_answerToSelect)};
    for (std::string &line : m_fileSystem.dumpLines())
        lines.push_back(std::move(line));
    return lines;
}

std::unique_ptr<VirtualCard> ProcessorCard::clone() const
{
    return std::unique_ptr<VirtualCard>(new ProcessorCard(*this));
}

void ProcessorCard::endSession()
{
    m_currentApplication = -1;
    m_currentFile.reset();
    m_versionFrame = 0;
}

Bytes ProcessorCard::transceive(const Bytes &command)
{
    if (m_kind == Kind::Desfire && !command.empty() && command[0] != 0x00) {
        if (command[0] == 0x90 && command.size() >= 5) {
            // Native command wrapped in an APDU: 90 INS 00 00 [Lc data] 00; answer data 91 status.
            if (command[2] != 0 || command[3] != 0)
                return statusOnly(SwWrongP1P2);
            Bytes data;
            if (command.size() > 5) {
                const std::size_t lc = command[4];
                if (lc == 0 || command.size() != 6 + lc)
                    return statusOnly(SwWrongLength);
                data.assign(command.begin() + 5, command.begin() + 5 + static_cast<long>(lc));
            }
            auto [code, answer] = processNative(command[1], data);
            return withStatus(std::move(answer), static_cast<uint16_t>(0x9100 | code));
        }
        auto [code, answer] = processNative(command[0], Bytes(command.begin() + 1, command.end()));
        answer.insert(answer.begin(), code);
        return answer;
    }
    m_versionFrame = 0;
    return processApdu(command);
}

std::pair<uint8_t, Bytes> ProcessorCard::processNative(uint8_t command, const Bytes &data)
{
    const int frame = m_versionFrame;
    m_versionFrame = 0;
    if (command == 0x60) {
        if (!data.empty())
            return {DesfireLengthError, {}};
        m_versionFrame = 1;
        // Vendor NXP, type, subtype, version 1.0, 4 KB, ISO 14443-2 and -3.
        return {DesfireMoreFrames, {0x04, 0x01, 0x01, 0x01, 0x00, 0x18, 0x05}};
    }
    if (command == DesfireMoreFrames && frame == 1) {
        m_versionFrame = 2;
        return {DesfireMoreFrames, {0x04, 0x01, 0x01, 0x01, 0x04, 0x18, 0x05}};
    }
    if (command == DesfireMoreFrames && frame == 2) {
        Bytes last = m_uid;
        // Batch number, then week and year of production.
        const Bytes batch = {0xBA, 0x7C, 0x40, 0x00, 0x00, 0x01, 0x24};
        last.insert(last.end(), batch.begin(), batch.end());
        return {DesfireOk, last};
    }
    return {DesfireIllegalCommand, {}};
}

Bytes ProcessorCard::processApdu(const Bytes &apdu)
{
    if (apdu.size() < 4)
        return statusOnly(SwWrongLength);
    const uint8_t cla = apdu[0], ins = apdu[1], p1 = apdu[2], p2 = apdu[3];
    Bytes data;
    std::optional<std::size_t> expected;
    if (apdu.size() == 5) {
        expected = apdu[4] == 0 ? 256 : apdu[4];
    } else if (apdu.size() > 5) {
        const std::size_t lc = apdu[4];
        if (lc == 0 || (apdu.size() != 5 + lc && apdu.size() != 6 + lc))
            return statusOnly(SwWrongLength);
        data.assign(apdu.begin() + 5, apdu.begin() + 5 + static_cast<long>(lc));
        if (apdu.size() == 6 + lc)
            expected = apdu.back() == 0 ? 256 : apdu.back();
    }
    if (cla != 0x00)
        return statusOnly(SwClassNotSupported);
    switch (ins) {
    case 0xA4:
        return select(p1, p2, data, expected.has_value());
    case 0xB0:
        return readBinary(p1, p2, data.size(), expected);
    case 0xD6:
        return updateBinary(p1, p2, data);
    case 0x84:
        return getChallenge(p1, p2, data.size(), expected);
    default:
        return statusOnly(SwInstructionNotSupported);
    }
}

Iso7816FileSystem::Files &ProcessorCard::currentDirectory()
{
    if (m_currentApplication < 0)
        return m_fileSystem.masterFiles;
    return m_fileSystem.applications[static_cast<std::size_t>(m_currentApplication)].files;
}

Bytes ProcessorCard::select(uint8_t p1, uint8_t p2, const Bytes &data, bool answerExpected)
{
    auto &applications = m_fileSystem.applications;
    if (p1 == 0x00) {
        if (data.empty() || (data.size() == 2 && data[0] == 0x3F && data[1] == 0x00)) {
            m_currentApplication = -1;
            m_currentFile.reset();
            return statusOnly(SwOk);
        }
        if (data.size() != 2)
            return statusOnly(SwWrongLength);
        const auto id = static_cast<uint16_t>(data[0] << 8 | data[1]);
        for (std::size_t i = 0; i < applications.size(); ++i) {
            if (applications[i].fileId == id) {
                m_currentApplication = static_cast<int>(i);
                m_currentFile.reset();
                return statusOnly(SwOk);
            }
        }
        if (currentDirectory().count(id) == 0)
            return statusOnly(SwFileNotFound);
        m_currentFile = id;
        return statusOnly(SwOk);
    }
    if (p1 == 0x04) {
        if (data.empty())
            return statusOnly(SwWrongLength);
        for (std::size_t i = 0; i < applications.size(); ++i) {
            if (applications[i].aid != data)
                continue;
            m_currentApplication = static_cast<int>(i);
            m_currentFile.reset();
            if (!answerExpected || p2 == 0x0C)
                return statusOnly(SwOk);
            // File control information: the application's name.
            Bytes fci = {0x6F, static_cast<uint8_t>(data.size() + 2), 0x84, static_cast<uint8_t>(data.size())};
            fci.insert(fci.end(), data.begin(), data.end());
            return withStatus(std::move(fci), SwOk);
        }
        return statusOnly(SwFileNotFound);
    }
    return statusOnly(SwWrongP1P2);
}

Iso7816FileSystem::File *ProcessorCard::addressedFile(uint8_t p1, uint16_t &statusWord)
{
    auto &directory = currentDirectory();
    if (p1 & 0x80) {
        const uint8_t shortId = p1 & 0x1F;
        for (auto &[id, file] : directory) {
            if ((id & 0xFF) == shortId) {
                m_currentFile = id;
                return &file;
            }
        }
        statusWord = SwFileNotFound;
        return nullptr;
    }
    if (!m_currentFile) {
        statusWord = SwNoCurrentFile;
        return nullptr;
    }
    return &directory.at(*m_currentFile);
}

Bytes ProcessorCard::readBinary(uint8_t p1, uint8_t p2, std::size_t dataSize, std::optional<std::size_t> expected)
{
    if (dataSize != 0 || !expected)
        return statusOnly(SwWrongLength);
    uint16_t statusWord = SwOk;
    const Iso7816FileSystem::File *file = addressedFile(p1, statusWord);
    if (!file)
        return statusOnly(statusWord);
    const std::size_t offset = (p1 & 0x80) ? p2 : static_cast<std::size_t>(p1 << 8 | p2);
    if (offset > file->data.size())
        return statusOnly(SwOffsetOutside);
    const std::size_t available = file->data.size() - offset;
    const std::size_t count = std::min({*expected, available, MaxAnswerData});
    Bytes answer(file->data.begin() + static_cast<long>(offset),
                 file->data.begin() + static_cast<long>(offset + count));
    // Le 00 asks for whatever there is; an explicit length the file cannot fill is warned about.
    const bool shortOfExplicitLength = *expected < 256 && count < *expected;
    return withStatus(std::move(answer), shortOfExplicitLength ? SwEndOfFile : SwOk);
}

Bytes ProcessorCard::updateBinary(uint8_t p1, uint8_t p2, const Bytes &data)
{
    if (data.empty())
        return statusOnly(SwWrongLength);
    uint16_t statusWord = SwOk;
    Iso7816FileSystem::File *file = addressedFile(p1, statusWord);
    if (!file)
        return statusOnly(statusWord);
    if (file->readOnly)
        return statusOnly(SwSecurityNotSatisfied);
    const std::size_t offset = (p1 & 0x80) ? p2 : static_cast<std::size_t>(p1 << 8 | p2);
    if (offset > file->data.size())
        return statusOnly(SwOffsetOutside);
    if (offset + data.size() > file->data.size())
        return statusOnly(SwNotEnoughSpace);
    if (WriteTear::land(file->data.data() + offset, data.data(), data.size()))
        markMemoryChanged();
    return statusOnly(SwOk);
}

Bytes ProcessorCard::getChallenge(uint8_t p1, uint8_t p2, std::size_t dataSize, std::optional<std::size_t> expected)
{
    if (p1 != 0 || p2 != 0)
        return statusOnly(SwWrongP1P2);
    if (dataSize != 0 || !expected || (*expected != 4 && *expected != 8))
        return statusOnly(SwWrongLength);
    Bytes challenge(*expected);
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint8_t &value : challenge)
        value = static_cast<uint8_t>(byte(m_random));
    return withStatus(std::move(challenge), SwOk);
}

} // namespace zentrava
