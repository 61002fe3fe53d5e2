#include "MifareCommands.h"

#include "CardCommand.h"
#include "MifareClassicCard.h"
#include "SimulatedReader.h"

namespace zentrava {

int32_t MifareCommands::request(SimulatedReader &reader, uint8_t mode, uint8_t *tagType)
{
    if (!isRequestMode(mode))
        return status::WrongParameter;
    // A type A request reaches no tag of another radio mode.
    if (reader.field.radioMode() != RadioMode::Iso14443A)
        return status::NoCard;
    const VirtualCard *first = reader.field.request(mode == RequestAll);
    if (!first)
        return status::NoCard;
    tagType[0] = first->tagType()[0];
    tagType[1] = first->tagType()[1];
    return status::Ok;
}

int32_t MifareCommands::anticollision(SimulatedReader &reader, uint8_t, uint8_t *serial, uint8_t *len)
{
    const auto *card = reader.field.firstReady<MifareClassicCard>();
    if (!card)
        return status::NoCard;
    copyOut(card->uid(), serial, len);
    return status::Ok;
}

int32_t MifareCommands::select(SimulatedReader &reader, const uint8_t *serial, uint8_t serialLen, uint8_t *size)
{
    if (serialLen != 4)
        return status::WrongParameter;
    const Bytes wanted(serial, serial + 4);
    auto *card = reader.field.firstReady<MifareClassicCard>([&](const MifareClassicCard &c) { return c.uid() == wanted; });
    if (!card)
        return status::NoCard;
    reader.field.activate(card);
    *size = card->sak();
    return status::Ok;
}

int32_t MifareCommands::halt(SimulatedReader &reader)
{
    VirtualCard *card = reader.field.activeCard();
    if (!card)
        return status::NoCard;
    card->setState(CardState::Halted);
    return status::Ok;
}

int32_t MifareCommands::authenticate(SimulatedReader &reader, uint8_t mode, uint8_t block, const uint8_t *key)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::authenticate, mode, block, key);
}

int32_t MifareCommands::read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.active<MifareReadable>(), &MifareReadable::read, block, data), len, 16);
}

int32_t MifareCommands::write(SimulatedReader &reader, uint8_t block, const uint8_t *data)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::write, block, data);
}

int32_t MifareCommands::initValue(SimulatedReader &reader, uint8_t block, int32_t value)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::initValue, block, value);
}

int32_t MifareCommands::readValue(SimulatedReader &reader, uint8_t block, int32_t *value)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::readValue, block, value);
}

int32_t MifareCommands::decrement(SimulatedReader &reader, uint8_t block, int32_t amount)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::decrement, block, amount);
}

int32_t MifareCommands::increment(SimulatedReader &reader, uint8_t block, int32_t amount)
{
    return onCard(reader.field.active<MifareClassicCard>(), &MifareClassicCard::increment, block, amount);
}

} // namespace zentrava
