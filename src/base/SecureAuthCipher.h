#pragma once

#include <array>
#include <cstdint>

// The AT88SC1608's authentication cipher: three shift registers of small cells (L of 5-bit,
// M of 7-bit and R of 5-bit cells) clocked with the bytes of the card's cryptogram Ci, the
// host's secret seed Gc and its challenge Q0, then run on to give the 8-byte answer the card
// expects. The card side and the program side use this one implementation. Plain C++ with no
// library beyond the standard one, so that the simulated reader can include it too.
namespace SecureAuth {

using Block = std::array<uint8_t, 8>;

// One bit rotation left within 5 and 7 bits.
constexpr uint8_t rot5(uint8_t x) { return uint8_t(((x << 1) & 0x1F) | ((x >> 4) & 1)); }
constexpr uint8_t rot7(uint8_t x) { return uint8_t(((x << 1) & 0x7F) | ((x >> 6) & 1)); }

// Sums above the modulus fold back into 1 .. modulus; smaller sums (0 included) stay as they are.
constexpr uint8_t reduce(int sum, int modulus)
{
    if (sum <= modulus)
        return uint8_t(sum);
    const int folded = sum % modulus;
    return uint8_t(folded == 0 ? modulus : folded);
}
constexpr uint8_t red31(int sum) { return reduce(sum, 31); }
constexpr uint8_t red127(int sum) { return reduce(sum, 127); }

struct CipherState {
    std::array<uint8_t, 7> l{};
    std::array<uint8_t, 7> m{};
    std::array<uint8_t, 5> r{};

    // One clock: every new cell is computed from the old ones.
    constexpr void clock(uint8_t a, uint8_t b, uint8_t c)
    {
        const auto l0 = l;
        const auto m0 = m;
        const auto r0 = r;
        l = {red31(l0[3] + rot5(l0[6])), l0[0], l0[1], uint8_t(l0[2] ^ a), l0[3], l0[4], l0[5]};
        m = {red127(m0[5] + rot7(m0[6])), m0[0], m0[1], m0[2], m0[3], uint8_t(m0[4] ^ c), m0[5]};
        r = {red31(r0[2] + r0[4]), r0[0], uint8_t(r0[1] ^ b), r0[2], r0[3]};
    }

    constexpr void feed(uint8_t x)
    {
        clock(uint8_t(x & 0x1F), uint8_t(x >> 3), uint8_t(((x & 0x0F) << 3) | (x >> 5)));
    }

    constexpr uint8_t outputNibble()
    {
        clock(0, 0, 0);
        return uint8_t((((l[4] ^ l[0]) & ~m[0]) | ((r[3] ^ r[0]) & m[0])) & 0x0F);
    }

    // Two output nibbles, of which only the second counts.
    constexpr uint8_t step()
    {
        outputNibble();
        return outputNibble();
    }
};

// The answer to the card's cryptogram `ci` for the seed `gc` and the challenge `q0`.
constexpr Block SecureAuthCipher(const Block &ci, const Block &gc, const Block &q0)
{
    CipherState state;
    for (int i = 0; i < 4; ++i) {
        state.feed(ci[std::size_t(2 * i)]);
        state.feed(ci[std::size_t(2 * i + 1)]);
        state.feed(q0[std::size_t(i)]);
    }
    for (int i = 0; i < 4; ++i) {
        state.feed(gc[std::size_t(2 * i)]);
        state.feed(gc[std::size_t(2 * i + 1)]);
        state.feed(q0[std::size_t(4 + i)]);
    }
    Block response{};
    for (uint8_t &byte : response) {
        // The first two steps make a byte that is thrown away.
        state.step();
        state.step();
        const uint8_t high = state.step();
        const uint8_t low = state.step();
        byte = uint8_t(high * 16 + low);
    }
    return response;
}

} // namespace SecureAuth

using SecureAuth::SecureAuthCipher;
