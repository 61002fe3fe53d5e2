#include "pages/CardActivation.h"

#include "base/BytePointer.h"
#include "reader/ReaderWait.h"
#include "reporting/ReaderOperation.h"

#include <array>

namespace {

using enum ReaderFunction;

constexpr uint8_t SerialBits = 4;
constexpr int SerialBytes = 4;

void waitIfAny(int milliseconds)
{
    if (milliseconds > 0)
        ReaderWait(milliseconds);
}

} // namespace

bool ResetField(ReaderOperation &operation, uint8_t radioType, FieldResetWaits waits)
{
    if (!operation.call<rf_antenna_sta>(0, 0))
        return false;
    waitIfAny(waits.afterOff_ms);
    if (!operation.call<rf_init_type>(0, radioType))
        return false;
    waitIfAny(waits.afterType_ms);
    if (!operation.call<rf_antenna_sta>(0, 1))
        return false;
    waitIfAny(waits.afterOn_ms);
    return true;
}

bool SelectTypeACard(ReaderOperation &operation, uint8_t requestMode, QByteArray &serial)
{
    uint8_t tagType[2] = {};
    if (!operation.call<rf_request>(0, requestMode, tagType))
        return false;
    // The answer buffer is larger than any one-byte length can describe.
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!operation.call<rf_anticoll>(0, SerialBits, buffer.data(), &length))
        return false;
    if (!operation.acceptLength<rf_anticoll>(length, SerialBytes))
        return false;
    uint8_t size = 0;
    if (!operation.call<rf_select>(0, buffer.data(), uint8_t(SerialBytes), &size))
        return false;
    serial = ByteArrayOf(buffer.data(), SerialBytes);
    return true;
}
