#include "base/SecureAuthCipher.h"

#include <gtest/gtest.h>

namespace {

using SecureAuth::Block;

TEST(SecureAuthCipher, SumsFoldBackIntoRange)
{
    struct Case {
        int sum;
        int red31;
        int red127;
    };
    // Sums up to the modulus stay; larger ones fold into 1 .. modulus, never to 0.
    const Case cases[] = {{0, 0, 0}, {31, 31, 31}, {32, 1, 32}, {40, 9, 40}, {62, 31, 62},
                          {127, 3, 127}, {128, 4, 1}, {254, 6, 127}};
    for (const Case &c : cases) {
        EXPECT_EQ(SecureAuth::red31(c.sum), c.red31) << c.sum;
        EXPECT_EQ(SecureAuth::red127(c.sum), c.red127) << c.sum;
    }
}

TEST(SecureAuthCipher, AnswersForKnownInputs)
{
    struct Case {
        Block ci, gc, q0, response;
    };
    // All zero keeps every cell at 0. The others were worked out apart from this code, by a
    // separate transcription of the register rules.
    const Case cases[] = {
        {{}, {}, {}, {}},
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88},
         {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8}, {0xD3, 0xD8, 0xC3, 0xD8, 0x84, 0xB8, 0x98, 0xEF}},
        {{}, {}, {0x01, 0, 0, 0, 0, 0, 0, 0}, {0x42, 0x03, 0xA0, 0x00, 0x09, 0x00, 0xCC, 0x41}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SecureAuthCipher(c.ci, c.gc, c.q0), c.response);
    // Nothing carries over between two computations.
    EXPECT_EQ(SecureAuthCipher(cases[1].ci, cases[1].gc, cases[1].q0), cases[1].response);
}

} // namespace
