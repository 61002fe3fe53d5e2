#include "Iso15693Commands.h"

#include "CardCommand.h"
#include "Iso15693Tag.h"
#include "SimulatedReader.h"

#include <algorithm>

namespace zentrava {

namespace {

constexpr std::size_t RecordSize = 9;
constexpr uint8_t RecordFlags = 0x00;

bool validMode(uint8_t mode)
{
    return mode == 2 || mode == 6;
}

// Checks the mode and finds the tag, then runs the command on it.
template <class Command>
int32_t onTag(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, Command command)
{
    if (!validMode(mode))
        return status::WrongParameter;
    return onCard(reader.field.addressed<Iso15693Tag>(uid), command);
}

// The tag's answer, refused when it is longer than a one-byte length can say.
int32_t answerBytes(int32_t result, const Bytes &bytes, uint8_t *data, uint8_t *len)
{
    if (result != status::Ok)
        return result;
    if (bytes.size() > 255)
        return status::WrongParameter;
    std::copy(bytes.begin(), bytes.end(), data);
    *len = static_cast<uint8_t>(bytes.size());
    return status::Ok;
}

} // namespace

int32_t Iso15693Commands::inventory(SimulatedReader &reader, uint8_t *records, uint8_t *len)
{
    if (!reader.field.powers(RadioMode::Iso15693))
        return status::NoCard;
    Bytes answer;
    for (const auto &card : reader.field.cards()) {
        if (card->radioMode() != RadioMode::Iso15693 || answer.size() + RecordSize > 255)
            continue;
        const Bytes uid = card->uid();
        answer.push_back(RecordFlags);
        answer.insert(answer.end(), uid.begin(), uid.end());
    }
    if (answer.empty())
        return status::NoCard;
    return answerBytes(status::Ok, answer, records, len);
}

int32_t Iso15693Commands::systemInformation(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t *data,
                                            uint8_t *len)
{
    return onTag(reader, mode, uid,
                 [&](Iso15693Tag &tag) { return answerBytes(status::Ok, tag.systemInformation(), data, len); });
}

int32_t Iso15693Commands::read(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                               uint8_t *data, uint8_t *len)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) {
        Bytes blocks;
        return answerBytes(tag.read(first, count, blocks), blocks, data, len);
    });
}

int32_t Iso15693Commands::blockSecurity(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t first,
                                        uint8_t count, uint8_t *data, uint8_t *len)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) {
        Bytes security;
        return answerBytes(tag.blockSecurity(first, count, security), security, data, len);
    });
}

int32_t Iso15693Commands::write(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.write(block, data); });
}

int32_t Iso15693Commands::lockBlock(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t block)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.lockBlock(block); });
}

int32_t Iso15693Commands::writeAfi(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t afi)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.writeAfi(afi); });
}

int32_t Iso15693Commands::lockAfi(SimulatedReader &reader, uint8_t mode, const uint8_t *uid)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.lockAfi(); });
}

int32_t Iso15693Commands::writeDsfid(SimulatedReader &reader, uint8_t mode, const uint8_t *uid, uint8_t dsfid)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.writeDsfid(dsfid); });
}

int32_t Iso15693Commands::lockDsfid(SimulatedReader &reader, uint8_t mode, const uint8_t *uid)
{
    return onTag(reader, mode, uid, [&](Iso15693Tag &tag) { return tag.lockDsfid(); });
}

} // namespace zentrava
