#pragma once

#include "RfField.h"

#include <optional>

namespace zentrava {

// Raw ISO 15693 request frames, as the pass-through console sends them in the ISO 15693 radio
// mode: a flags byte, the command code, the UID (least significant byte first) when the
// addressed flag is set, then the parameters. The reader adds and checks the CRC, so frames and
// answers carry none. An answer starts with its flags byte: 00 and the data, or 01 and an error
// code. No answer at all (no tag, or none with that UID) is std::nullopt.
class Iso15693Frames {
public:
    static std::optional<Bytes> answer(RfField &field, const Bytes &frame);
};

} // namespace zentrava
