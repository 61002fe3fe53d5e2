#include "ProcessorCommands.h"

#include "CardCommand.h"
#include "MifareCommands.h"
#include "ProcessorCard.h"
#include "SimulatedReader.h"

namespace zentrava {

namespace {

int32_t reset(SimulatedReader &reader, ProcessorCard::Kind kind, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    if (!isRequestMode(mode))
        return status::WrongParameter;
    reader.field.request(mode == RequestAll);
    auto *card = reader.field.firstReady<ProcessorCard>([kind](const ProcessorCard &c) { return c.kind() == kind; });
    if (!card)
        return status::NoCard;
    reader.field.activate(card);
    Bytes activation = card->uid();
    activation.insert(activation.end(), card->answerToSelect().begin(), card->answerToSelect().end());
    copyOut(activation, answer, len);
    return status::Ok;
}

} // namespace

int32_t ProcessorCommands::typeAReset(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return reset(reader, ProcessorCard::Kind::TypeA, mode, answer, len);
}

int32_t ProcessorCommands::desfireReset(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return reset(reader, ProcessorCard::Kind::Desfire, mode, answer, len);
}

int32_t ProcessorCommands::command(SimulatedReader &reader, const uint8_t *command, int32_t commandLen, uint8_t *answer,
                                   uint8_t *len)
{
    if (!fitsCommand(commandLen))
        return status::WrongParameter;
    return onCard(reader.field.active<ProcessorCard>(), [&](ProcessorCard &card) {
        copyOut(card.transceive(Bytes(command, command + commandLen)), answer, len);
        return status::Ok;
    });
}

int32_t ProcessorCommands::deselect(SimulatedReader &reader)
{
    return onCard(reader.field.active<ProcessorCard>(), [](ProcessorCard &card) {
        card.setState(CardState::Halted);
        return status::Ok;
    });
}

} // namespace zentrava
