#pragma once

#include "HexText.h"

#include <optional>

namespace zentrava {

// The reader's cipher tool: DES with an 8-byte key, two-key triple DES (K1, K2, K1) with a
// 16-byte key, block after block (ECB) over data of whole 8-byte blocks. Nothing for another
// key length or data that is empty or not whole blocks. Parity bits of the key are ignored.
std::optional<Bytes> desEcb(bool encrypt, const Bytes &key, const Bytes &data);

} // namespace zentrava
