#include "Iso15693Commands.h"

#include "Iso15693Tag.h"
#include "Srf55vTag.h"
#include "StatusCode.h"

#include <algorithm>

namespace zentrava {

namespace {

constexpr std::size_t RecordSize = 9;
constexpr uint8_t RecordFlags = 0x00;

bool validMode(uint8_t mode)
{
    return mode == 2 || mode == 6;
}

bool fieldUp(const RfField &field)
{
    return field.antennaOn() && field.radioMode() == RadioMode::Iso15693;
}

// The tag of this class that carries the UID, when the field powers it in its radio mode.
template <class Tag> Tag *addressed(const RfField &field, const uint8_t *uid)
{
    if (!fieldUp(field))
        return nullptr;
    for (const auto &card : field.cards()) {
        auto *tag = dynamic_cast<Tag *>(card.get());
        if (tag && std::equal(uid, uid + 8, tag->uid().begin()))
            return tag;
    }
    return nullptr;
}

// Checks the arguments and finds the tag, then runs the command on it.
template <class Command>
int32_t onTag(RfField &field, uint8_t mode, const uint8_t *uid, Command command)
{
    if (!uid || !validMode(mode))
        return status::WrongParameter;
    Iso15693Tag *tag = addressed<Iso15693Tag>(field, uid);
    return tag ? command(*tag) : status::NoCard;
}

int32_t copyOut(int32_t result, const Bytes &bytes, uint8_t *data, uint8_t *len)
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

int32_t Iso15693Commands::inventory(const RfField &field, uint8_t *records, uint8_t *len)
{
    if (!records || !len)
        return status::WrongParameter;
    if (!fieldUp(field))
        return status::NoCard;
    Bytes answer;
    for (const auto &card : field.cards()) {
        if (card->radioMode() != RadioMode::Iso15693 || answer.size() + RecordSize > 255)
            continue;
        const Bytes uid = card->uid();
        answer.push_back(RecordFlags);
        answer.insert(answer.end(), uid.begin(), uid.end());
    }
    if (answer.empty())
        return status::NoCard;
    return copyOut(status::Ok, answer, records, len);
}

int32_t Iso15693Commands::systemInformation(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t *data,
                                            uint8_t *len)
{
    if (!data || !len)
        return status::WrongParameter;
    return onTag(field, mode, uid,
                 [&](Iso15693Tag &tag) { return copyOut(status::Ok, tag.systemInformation(), data, len); });
}

int32_t Iso15693Commands::read(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t first, uint8_t count,
                               uint8_t *data, uint8_t *len)
{
    if (!data || !len)
        return status::WrongParameter;
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) {
        Bytes blocks;
        return copyOut(tag.read(first, count, blocks), blocks, data, len);
    });
}

int32_t Iso15693Commands::blockSecurity(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t first,
                                        uint8_t count, uint8_t *data, uint8_t *len)
{
    if (!data || !len)
        return status::WrongParameter;
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) {
        Bytes security;
        return copyOut(tag.blockSecurity(first, count, security), security, data, len);
    });
}

int32_t Iso15693Commands::write(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data)
{
    if (!data)
        return status::WrongParameter;
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.write(block, data); });
}

int32_t Iso15693Commands::lockBlock(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t block)
{
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.lockBlock(block); });
}

int32_t Iso15693Commands::writeAfi(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t afi)
{
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.writeAfi(afi); });
}

int32_t Iso15693Commands::lockAfi(RfField &field, uint8_t mode, const uint8_t *uid)
{
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.lockAfi(); });
}

int32_t Iso15693Commands::writeDsfid(RfField &field, uint8_t mode, const uint8_t *uid, uint8_t dsfid)
{
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.writeDsfid(dsfid); });
}

int32_t Iso15693Commands::lockDsfid(RfField &field, uint8_t mode, const uint8_t *uid)
{
    return onTag(field, mode, uid, [&](Iso15693Tag &tag) { return tag.lockDsfid(); });
}

int32_t Iso15693Commands::srf55vRead(RfField &field, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len)
{
    if (!uid || !data || !len)
        return status::WrongParameter;
    const Srf55vTag *tag = addressed<Srf55vTag>(field, uid);
    if (!tag)
        return status::NoCard;
    const int32_t result = tag->read(page, data);
    if (result == status::Ok)
        *len = Srf55vTag::PageSize;
    return result;
}

int32_t Iso15693Commands::srf55vWriteReread(RfField &field, const uint8_t *uid, uint8_t page, const uint8_t *data,
                                            uint8_t *readBack, uint8_t *len)
{
    if (!uid || !data || !readBack || !len || *len != Srf55vTag::PageSize)
        return status::WrongParameter;
    Srf55vTag *tag = addressed<Srf55vTag>(field, uid);
    if (!tag)
        return status::NoCard;
    if (const int32_t result = tag->write(page, data))
        return result;
    return tag->read(page, readBack);
}

} // namespace zentrava
