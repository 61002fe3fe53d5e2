#include "StTagCommands.h"

#include "CardCommand.h"
#include "SimulatedReader.h"
#include "Sr176Card.h"
#include "Srix4kCard.h"

namespace zentrava {

int32_t StTagCommands::select(SimulatedReader &reader, uint8_t *chipId)
{
    if (reader.field.radioMode() != RadioMode::StMicro)
        return status::NoCard;
    VirtualCard *first = reader.field.request(true);
    auto *tag = dynamic_cast<StTag *>(first);
    if (!tag)
        return status::NoCard;
    *chipId = tag->chipId();
    reader.field.activate(tag);
    return status::Ok;
}

int32_t StTagCommands::sr176Read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.answering<Sr176Card>(), &Sr176Card::read, block, data), len,
                    Sr176Card::BlockBytes);
}

int32_t StTagCommands::sr176Write(SimulatedReader &reader, uint8_t block, const uint8_t *data)
{
    return onCard(reader.field.answering<Sr176Card>(), &Sr176Card::write, block, data);
}

int32_t StTagCommands::sr176Protect(SimulatedReader &reader, uint8_t lockRegister)
{
    return onCard(reader.field.answering<Sr176Card>(), &Sr176Card::protect, lockRegister);
}

int32_t StTagCommands::srix4kRead(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.answering<Srix4kCard>(), &Srix4kCard::read, block, data), len,
                    Srix4kCard::BlockBytes);
}

int32_t StTagCommands::srix4kWrite(SimulatedReader &reader, uint8_t block, const uint8_t *data)
{
    return onCard(reader.field.answering<Srix4kCard>(), &Srix4kCard::write, block, data);
}

int32_t StTagCommands::srix4kUid(SimulatedReader &reader, uint8_t *uid, uint8_t *len)
{
    return onCard(reader.field.answering<Srix4kCard>(), [&](const Srix4kCard &card) {
        copyOut(card.uid(), uid, len);
        return status::Ok;
    });
}

int32_t StTagCommands::srix4kWriteLockRegister(SimulatedReader &reader, uint8_t lockRegister)
{
    return onCard(reader.field.answering<Srix4kCard>(), &Srix4kCard::writeLockRegister, lockRegister);
}

} // namespace zentrava
