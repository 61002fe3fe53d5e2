#include "UltralightCommands.h"

#include "CardCommand.h"
#include "SimulatedReader.h"
#include "UltralightCard.h"

namespace zentrava {

int32_t UltralightCommands::select(SimulatedReader &reader, uint8_t *serial, uint8_t *len)
{
    auto *card = reader.field.firstReady<UltralightCard>();
    if (!card)
        return status::NoCard;
    reader.field.activate(card);
    copyOut(card->uid(), serial, len);
    return status::Ok;
}

int32_t UltralightCommands::write(SimulatedReader &reader, uint8_t page, const uint8_t *data)
{
    return onCard(reader.field.active<UltralightCard>(), &UltralightCard::write, page, data);
}

} // namespace zentrava
