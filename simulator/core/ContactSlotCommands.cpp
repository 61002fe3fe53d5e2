#include "ContactSlotCommands.h"

#include "At24Card.h"
#include "At88sc1608Card.h"
#include "CardCommand.h"
#include "DesCipher.h"
#include "ProcessorCard.h"
#include "ProcessorCommands.h"
#include "SimulatedReader.h"

namespace zentrava {

namespace {

int32_t resetSlotCard(SimulatedReader &reader, RadioMode slot, uint8_t *answer, uint8_t *len)
{
    return onCard(reader.field.slotCard<ProcessorCard>(slot), [&](ProcessorCard &card) {
        // A reset ends whatever session the card had.
        card.setState(CardState::Idle);
        card.setState(CardState::Active);
        copyOut(card.answerToSelect(), answer, len);
        return status::Ok;
    });
}

int32_t slotCommand(SimulatedReader &reader, RadioMode slot, const uint8_t *command, int32_t commandLen,
                    uint8_t *response, uint8_t *len)
{
    if (!fitsCommand(commandLen))
        return status::WrongParameter;
    // A card that was not reset since it was powered does not talk.
    auto *card = reader.field.slotCard<ProcessorCard>(slot);
    if (!card || card->state() != CardState::Active)
        return status::NoCard;
    copyOut(card->transceive(Bytes(command, command + commandLen)), response, len);
    return status::Ok;
}

int32_t desCipher(bool encrypt, uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key,
                  int32_t keyLen)
{
    // The caller's result buffer holds 256 bytes.
    constexpr int32_t ResultBytes = 256;
    if (dataLen <= 0 || dataLen > ResultBytes || keyLen <= 0)
        return status::WrongParameter;
    const auto output = desEcb(encrypt, Bytes(key, key + keyLen), Bytes(data, data + dataLen));
    if (!output || output->size() > std::size_t(ResultBytes))
        return status::WrongParameter;
    std::copy(output->begin(), output->end(), result);
    return status::Ok;
}

} // namespace

int32_t ContactSlotCommands::openCard(SimulatedReader &reader)
{
    if (reader.contact.card())
        return reader.contact.openCard();
    return reader.field.slotCard(RadioMode::ContactSlot) ? status::Ok : status::NoCard;
}

int32_t ContactSlotCommands::contactReset(SimulatedReader &reader, uint8_t *answer, uint8_t *len)
{
    return resetSlotCard(reader, RadioMode::ContactSlot, answer, len);
}

int32_t ContactSlotCommands::contactCommand(SimulatedReader &reader, const uint8_t *command, int32_t commandLen,
                                            uint8_t *response, uint8_t *len)
{
    return slotCommand(reader, RadioMode::ContactSlot, command, commandLen, response, len);
}

int32_t ContactSlotCommands::samInit(SimulatedReader &reader, uint8_t baudCode)
{
    if (baudCode > 1)
        return status::WrongParameter;
    // A new rate powers the module down: it must be reset again.
    reader.device.samBaudCode = baudCode;
    if (VirtualCard *sam = reader.field.slotCard(RadioMode::SamSlot))
        sam->setState(CardState::Idle);
    return status::Ok;
}

int32_t ContactSlotCommands::samReset(SimulatedReader &reader, uint8_t *answer, uint8_t *len)
{
    return resetSlotCard(reader, RadioMode::SamSlot, answer, len);
}

int32_t ContactSlotCommands::samCommand(SimulatedReader &reader, const uint8_t *command, int32_t commandLen,
                                        uint8_t *response, uint8_t *len)
{
    return slotCommand(reader, RadioMode::SamSlot, command, commandLen, response, len);
}

int32_t ContactSlotCommands::at24Read(SimulatedReader &reader, int32_t address, int32_t count, uint8_t *data)
{
    return onCard(reader.contact.powered<At24Card>(), &At24Card::read, address, count, data);
}

int32_t ContactSlotCommands::at24Write(SimulatedReader &reader, int32_t address, int32_t count, const uint8_t *data)
{
    return onCard(reader.contact.powered<At24Card>(), &At24Card::write, address, count, data);
}

int32_t ContactSlotCommands::at1608Reset(SimulatedReader &reader, uint8_t *answer)
{
    // The reset powers the card itself.
    return onCard(reader.contact.holding<At88sc1608Card>(), &At88sc1608Card::answerToReset, answer);
}

int32_t ContactSlotCommands::at1608Authenticate(SimulatedReader &reader, const uint8_t *q0AndResponse,
                                                const uint8_t *response)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::authenticate, q0AndResponse, response);
}

int32_t ContactSlotCommands::at1608VerifyPassword(SimulatedReader &reader, uint8_t index, const uint8_t *password)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::verifyPassword, index, password);
}

int32_t ContactSlotCommands::at1608Read(SimulatedReader &reader, uint8_t address, int32_t count, int32_t zone,
                                        uint8_t *data)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::read, address, count, zone, data);
}

int32_t ContactSlotCommands::at1608Write(SimulatedReader &reader, uint8_t address, int32_t zone, const uint8_t *data,
                                         int32_t count)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::write, address, zone, data, count);
}

int32_t ContactSlotCommands::at1608ReadFuse(SimulatedReader &reader, uint8_t *fuse)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::readFuse, fuse);
}

int32_t ContactSlotCommands::at1608BlowFuse(SimulatedReader &reader)
{
    return onCard(reader.contact.powered<At88sc1608Card>(), &At88sc1608Card::blowFuse);
}

int32_t ContactSlotCommands::desEncrypt(SimulatedReader &, uint8_t *result, const uint8_t *data, int32_t dataLen,
                                        const uint8_t *key, int32_t keyLen)
{
    return desCipher(true, result, data, dataLen, key, keyLen);
}

int32_t ContactSlotCommands::desDecrypt(SimulatedReader &, uint8_t *result, const uint8_t *data, int32_t dataLen,
                                        const uint8_t *key, int32_t keyLen)
{
    return desCipher(false, result, data, dataLen, key, keyLen);
}

} // namespace zentrava
