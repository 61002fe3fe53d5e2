#include "Trh1064Commands.h"

#include "CardCommand.h"
#include "SimulatedReader.h"
#include "Trh1064Card.h"

namespace zentrava {

int32_t Trh1064Commands::read(SimulatedReader &reader, uint8_t page, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.active<Trh1064Card>(), &Trh1064Card::readPage, page, data), len,
                    Trh1064Card::pageSize(page));
}

int32_t Trh1064Commands::write(SimulatedReader &reader, uint8_t page, const uint8_t *data, uint8_t count)
{
    return onCard(reader.field.active<Trh1064Card>(), &Trh1064Card::writePage, page, data, count);
}

int32_t Trh1064Commands::check(SimulatedReader &reader, const uint8_t *key)
{
    return onCard(reader.field.active<Trh1064Card>(), &Trh1064Card::checkKey, key);
}

} // namespace zentrava
