#include "At88rf020Commands.h"

#include "At88rf020Card.h"
#include "CardCommand.h"
#include "SimulatedReader.h"

namespace zentrava {

int32_t At88rf020Commands::check(SimulatedReader &reader, const uint8_t *password)
{
    return onCard(reader.field.active<At88rf020Card>(), &At88rf020Card::check, password);
}

int32_t At88rf020Commands::read(SimulatedReader &reader, uint8_t page, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.active<At88rf020Card>(), &At88rf020Card::read, page, data), len,
                    At88rf020Card::PageBytes);
}

int32_t At88rf020Commands::write(SimulatedReader &reader, uint8_t page, const uint8_t *data)
{
    return onCard(reader.field.active<At88rf020Card>(), &At88rf020Card::write, page, data);
}

int32_t At88rf020Commands::lock(SimulatedReader &reader, const uint8_t *lockBytes)
{
    return onCard(reader.field.active<At88rf020Card>(), &At88rf020Card::lock, lockBytes);
}

int32_t At88rf020Commands::count(SimulatedReader &reader, const uint8_t *signature)
{
    return onCard(reader.field.active<At88rf020Card>(), &At88rf020Card::count, signature);
}

int32_t At88rf020Commands::deselect(SimulatedReader &reader)
{
    return onCard(reader.field.active<At88rf020Card>(), [](At88rf020Card &card) {
        card.setState(CardState::Halted);
        return status::Ok;
    });
}

} // namespace zentrava
