#pragma once

#include "ContactCard.h"

#include <array>
#include <cstdint>

namespace zentrava {

// The AT88SC1608 secure memory card: a 128-byte configuration zone and eight user zones of 256
// bytes. The configuration zone holds the answer to reset (0x00), the cryptogram Ci (0x28), the
// secret seed Gc (0x30) and, from 0x40, eight password sets of 8 bytes: the write password's
// attempt counter and 3 bytes, then the read password's counter and 3 bytes. Write password 7
// is the secure code that opens the configuration zone.
//
// User zone n is guarded by password set n: reading needs its read or write password,
// writing its write password. A wrong password clears one bit of its attempt counter; at 0 the
// password is locked. The configuration zone up to 0x3F reads freely, the passwords only after
// the secure code; writes need the secure code. Once fuse 1 is blown the secret seed can be
// neither read (it reads as zeros) nor written. Authentication checks the host's answer with
// the program's own cipher and, when it is right, replaces the cryptogram.
class At88sc1608Card : public ContactCard {
public:
    static constexpr const char *TypeName = "at88sc1608";
    static constexpr int ConfigurationZone = 8;
    static constexpr int ConfigurationBytes = 128;
    static constexpr int UserZoneBytes = 256;
    static constexpr int CryptogramAddress = 0x28;
    static constexpr int SecretSeedAddress = 0x30;
    static constexpr int PasswordsAddress = 0x40;
    static constexpr int SecureCodeIndex = 7;

    // Factory configuration: every password FFFFFF, Gc 0102030405060708, Ci 1122334455667788.
    static std::unique_ptr<At88sc1608Card> factoryNew();
    static std::unique_ptr<At88sc1608Card> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return TypeName; }
    nlohmann::ordered_json toJson() const override;
    std::vector<std::string> dumpLines() const override;
    std::unique_ptr<ContactCard> clone() const override;

    int32_t answerToReset(uint8_t *answer);
    int32_t readFuse(uint8_t *fuse) const;
    int32_t blowFuse();
    int32_t verifyPassword(uint8_t index, const uint8_t *password);
    int32_t authenticate(const uint8_t *q0AndResponse, const uint8_t *response);
    int32_t read(uint8_t address, int32_t count, int32_t zone, uint8_t *data) const;
    int32_t write(uint8_t address, int32_t zone, const uint8_t *data, int32_t count);

    const std::array<uint8_t, ConfigurationBytes> &configuration() const { return m_configuration; }
    bool authenticated() const { return m_authenticated; }

protected:
    void endSession() override;

private:
    At88sc1608Card();
    // Offset of the attempt counter of password `index` (0-7 write, 8-15 read).
    static int counterAddress(int index);

    std::array<uint8_t, ConfigurationBytes> m_configuration{};
    std::array<std::array<uint8_t, UserZoneBytes>, 8> m_userZones{};
    bool m_fuseBlown = false;
    // The password verified in this session, -1 none.
    int m_verified = -1;
    bool m_authenticated = false;
};

} // namespace zentrava
