#include "At88sc1608Card.h"
#include "base/SecureAuthCipher.h"
#include "ReaderFixture.h"

class ContactSlotTest : public ReaderFixture {
protected:
    Bytes zone(uint8_t address, int32_t count, int32_t zoneNumber, int32_t expected = status::Ok)
    {
        Bytes data(1024, 0);
        EXPECT_EQ(api.AT1608_Read(0, address, count, zoneNumber, data.data()), expected);
        data.resize(std::size_t(count));
        return data;
    }
};

TEST_F(ContactSlotTest, TheEepromAnswersOnlyWhenPoweredAndItsWritesCrossWritePages)
{
    useSlot(R"({"type": "AT24C02"})");
    uint8_t data[1024] = {};
    EXPECT_EQ(api.AT24_read(0, 0, 128, data), status::NoCard);
    ASSERT_EQ(api.OpenCard(0), status::Ok);
    EXPECT_EQ(at24(0, 4), hex("FFFFFFFF"));
    // 10 bytes from 6 run over the 8-byte write page at 8: all of them land in order.
    const Bytes ten = hex("00112233445566778899");
    ASSERT_EQ(api.AT24_write(0, 6, 10, ten.data()), status::Ok);
    EXPECT_EQ(at24(4, 14), hex("FFFF00112233445566778899FFFF"));
    EXPECT_EQ(api.AT24_write(0, 250, 10, ten.data()), status::WrongParameter);
    EXPECT_TRUE(saved("FFFF00112233445566778899FFFF")) << "the card is written back with its memory";
    EXPECT_EQ(api.AT1608_ReadFuse1(0, data), status::NoCard) << "no AT88SC1608 in the slot";
}

// The page test counts a wrong password, authenticates and reads its zones; here the lock after
// eight wrong presentations, the zones of other password sets and the fuse.
TEST_F(ContactSlotTest, TheSecureMemoryGuardsItsZonesWithPasswordsAndItsFuse)
{
    useSlot(R"({"type": "at88sc1608", "userZones": {"1": ")" + std::string(512, 'A') + R"("}})");
    uint8_t answer[4] = {};
    EXPECT_EQ(api.AT1608_VerifyPassword(0, 1, hex("FFFFFF").data()), status::NoCard) << "not reset yet";
    ASSERT_EQ(api.AT1608_Rst(0, answer), status::Ok);
    // The passwords read only after the secure code.
    zone(0x40, 8, 8, status::NotAuthenticated);
    zone(0, 16, 1, status::NotAuthenticated);
    // Eight wrong presentations lock the read password of set 1, even against the right one.
    for (int attempt = 0; attempt < 8; ++attempt)
        EXPECT_EQ(api.AT1608_VerifyPassword(0, 9, hex("123456").data()), status::AuthFailed);
    EXPECT_EQ(api.AT1608_VerifyPassword(0, 9, hex("FFFFFF").data()), status::AccessDenied);
    ASSERT_EQ(api.AT1608_VerifyPassword(0, 1, hex("FFFFFF").data()), status::Ok);
    EXPECT_EQ(zone(0xF0, 16, 1), Bytes(16, 0xAA));
    zone(0, 16, 2, status::NotAuthenticated);
    ASSERT_EQ(api.AT1608_VerifyPassword(0, 10, hex("FFFFFF").data()), status::Ok);
    EXPECT_EQ(api.AT1608_Write(0, 0, 2, hex("00").data(), 1), status::NotAuthenticated) << "a read password does not write";
    ASSERT_EQ(api.AT1608_VerifyPassword(0, 7, hex("FFFFFF").data()), status::Ok);
    EXPECT_EQ(zone(0x4C, 4, 8), hex("00FFFFFF"));

    // Once fuse 1 is blown the seed is hidden and cannot be changed.
    const auto fuse1 = [this] { uint8_t fuse = 0xEE; const int32_t result = api.AT1608_ReadFuse1(0, &fuse); return std::pair{result, fuse}; };
    EXPECT_EQ(fuse1(), std::pair(status::Ok, uint8_t{1}));
    ASSERT_EQ(api.AT1608_WriteFuse1(0), status::Ok);
    EXPECT_EQ(fuse1(), std::pair(status::Ok, uint8_t{0}));
    EXPECT_EQ(zone(0x30, 8, 8), Bytes(8, 0));
    EXPECT_EQ(api.AT1608_Write(0, 0x30, 8, hex("00").data(), 1), status::AccessDenied);
}

TEST(At1608Chip, TheRightPasswordRestoresItsCounterAndAnAnswerAuthenticatesOnce)
{
    auto chip = zentrava::At88sc1608Card::factoryNew();
    const Bytes wrongPassword = *zentrava::fromHex("000000"), factoryPassword = *zentrava::fromHex("FFFFFF");
    const int writeCounter1 = zentrava::At88sc1608Card::PasswordsAddress + 8;
    EXPECT_EQ(chip->verifyPassword(1, wrongPassword.data()), status::AuthFailed);
    EXPECT_EQ(chip->configuration()[writeCounter1], 0x7F);
    ASSERT_EQ(chip->verifyPassword(1, factoryPassword.data()), status::Ok);
    EXPECT_EQ(chip->configuration()[writeCounter1], 0xFF);

    // The factory cryptogram and seed give the answer; the card then renews its cryptogram, so
    // the same answer replayed is refused.
    const SecureAuth::Block ci{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}, gc{1, 2, 3, 4, 5, 6, 7, 8},
        q0{0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    const SecureAuth::Block answer = SecureAuth::SecureAuthCipher(ci, gc, q0);
    Bytes q0AndAnswer(q0.begin(), q0.end());
    q0AndAnswer.insert(q0AndAnswer.end(), answer.begin(), answer.end());
    ASSERT_EQ(chip->authenticate(q0AndAnswer.data(), answer.data()), status::Ok);
    EXPECT_EQ(chip->authenticate(q0AndAnswer.data(), answer.data()), status::AuthFailed);
}
