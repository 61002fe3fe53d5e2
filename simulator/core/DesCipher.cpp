#include "DesCipher.h"

#include <nettle/des.h>

#include <array>

namespace zentrava {

std::optional<Bytes> desEcb(bool encrypt, const Bytes &key, const Bytes &data)
{
    if ((key.size() != DES_KEY_SIZE && key.size() != 2 * DES_KEY_SIZE) || data.empty() || data.size() % DES_BLOCK_SIZE != 0)
        return std::nullopt;
    Bytes result(data.size());
    // Weak keys are refused by the key schedule's return value only; the schedule is set all
    // the same, as the reader's hardware cipher takes any key.
    if (key.size() == DES_KEY_SIZE) {
        des_ctx context;
        des_set_key(&context, key.data());
        (encrypt ? des_encrypt : des_decrypt)(&context, data.size(), result.data(), data.data());
    } else {
        std::array<uint8_t, DES3_KEY_SIZE> tripleKey{};
        std::copy(key.begin(), key.end(), tripleKey.begin());
        std::copy(key.begin(), key.begin() + DES_KEY_SIZE, tripleKey.begin() + 2 * DES_KEY_SIZE);
        des3_ctx context;
        des3_set_key(&context, tripleKey.data());
        (encrypt ? des3_encrypt : des3_decrypt)(&context, data.size(), result.data(), data.data());
    }
    return result;
}

} // namespace zentrava
