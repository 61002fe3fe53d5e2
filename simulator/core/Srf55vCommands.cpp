#include "Srf55vCommands.h"

#include "CardCommand.h"
#include "SimulatedReader.h"
#include "Srf55vTag.h"

namespace zentrava {

int32_t Srf55vCommands::read(SimulatedReader &reader, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len)
{
    return answered(onCard(reader.field.addressed<Srf55vTag>(uid), &Srf55vTag::read, page, data), len,
                    Srf55vTag::PageSize);
}

int32_t Srf55vCommands::writeReread(SimulatedReader &reader, const uint8_t *uid, uint8_t page, const uint8_t *data,
                                    uint8_t *readBack, uint8_t *len)
{
    if (*len != Srf55vTag::PageSize)
        return status::WrongParameter;
    return onCard(reader.field.addressed<Srf55vTag>(uid), [&](Srf55vTag &tag) {
        if (const int32_t result = tag.write(page, data))
            return result;
        return tag.read(page, readBack);
    });
}

} // namespace zentrava
