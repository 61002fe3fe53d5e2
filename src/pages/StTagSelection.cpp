#include "pages/StTagSelection.h"

#include "pages/CardActivation.h"
#include "reporting/ReaderOperation.h"

namespace {

using enum ReaderFunction;

// The radio mode the reader talks to ST tags in.
constexpr uint8_t StRadio = 0x73;
// ST tags need a pause only once the radio type is set.
constexpr FieldResetWaits StFieldReset = {0, 10, 0};
constexpr int AttemptCount = 2;

} // namespace

bool SelectStTag(ReaderOperation &operation, QByteArray &chipId)
{
    for (int attempt = 0; attempt < AttemptCount; ++attempt) {
        uint8_t id = 0;
        if (ResetField(operation, StRadio, StFieldReset) && operation.call<rf_st_select>(0, &id)) {
            chipId = QByteArray(1, char(id));
            return true;
        }
    }
    return false;
}
