#include "Shc1102Commands.h"

#include "CardCommand.h"
#include "Shc1102Card.h"
#include "SimulatedReader.h"

namespace zentrava {

int32_t Shc1102Commands::authenticate(SimulatedReader &reader, const uint8_t *password)
{
    return onCard(reader.field.answering<Shc1102Card>(), &Shc1102Card::authenticate, password);
}

int32_t Shc1102Commands::read(SimulatedReader &reader, uint8_t block, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.answering<Shc1102Card>(), &Shc1102Card::read, block, data), len, 4);
}

int32_t Shc1102Commands::write(SimulatedReader &reader, uint8_t block, const uint8_t *data)
{
    return onCard(reader.field.answering<Shc1102Card>(), &Shc1102Card::write, block, data);
}

} // namespace zentrava
