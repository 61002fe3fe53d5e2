#include "At88sc1608Card.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "StatusCode.h"
#include "WriteTear.h"

#include "base/SecureAuthCipher.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

constexpr uint8_t AnswerToReset[] = {0x3B, 0xB2, 0x11, 0x00, 0x10, 0x80, 0x00, 0x01};
constexpr uint8_t FactorySeed[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
constexpr uint8_t FactoryCryptogram[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
constexpr int At88sc1608PasswordBytes = 3;
constexpr int SecretBytes = 8;
constexpr int ZoneCount = 8;

bool overlaps(int address, int count, int start, int length)
{
    return address < start + length && start < address + count;
}

} // namespace

At88sc1608Card::At88sc1608Card()
{
    std::copy(std::begin(AnswerToReset), std::end(AnswerToReset), m_configuration.begin());
    std::copy(std::begin(FactoryCryptogram), std::end(FactoryCryptogram), m_configuration.begin() + CryptogramAddress);
    std::copy(std::begin(FactorySeed), std::end(FactorySeed), m_configuration.begin() + SecretSeedAddress);
    std::fill(m_configuration.begin() + PasswordsAddress, m_configuration.end(), 0xFF);
    for (auto &zone : m_userZones)
        zone.fill(0xFF);
}

std::unique_ptr<At88sc1608Card> At88sc1608Card::factoryNew()
{
    return std::unique_ptr<At88sc1608Card>(new At88sc1608Card());
}

std::unique_ptr<At88sc1608Card> At88sc1608Card::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew();
    if (const auto *configuration = member(card, "configuration")) {
        const Bytes bytes = hexValue(*configuration, where + ".configuration", ConfigurationBytes);
        std::copy(bytes.begin(), bytes.end(), result->m_configuration.begin());
    }
    if (const auto *zones = member(card, "userZones")) {
        requireObject(*zones, where + ".userZones");
        for (const auto &[key, value] : zones->items()) {
            const int zone = indexKey(key, where + ".userZones", ZoneCount - 1);
            const Bytes bytes = hexValue(value, where + ".userZones." + key, UserZoneBytes);
            std::copy(bytes.begin(), bytes.end(), result->m_userZones[std::size_t(zone)].begin());
        }
    }
    if (const auto *fuse = member(card, "fuseBlown"))
        result->m_fuseBlown = boolValue(*fuse, where + ".fuseBlown");
    return result;
}

nlohmann::ordered_json At88sc1608Card::toJson() const
{
    nlohmann::ordered_json zones;
    for (std::size_t zone = 0; zone < m_userZones.size(); ++zone)
        zones[std::to_string(zone)] = toHex(m_userZones[zone].data(), UserZoneBytes);
    return {{"type", TypeName},
            {"configuration", toHex(m_configuration.data(), ConfigurationBytes)},
            {"userZones", zones},
            {"fuseBlown", m_fuseBlown}};
}

std::vector<std::string> At88sc1608Card::dumpLines() const
{
    std::vector<std::string> lines;
    for (int offset = 0; offset < ConfigurationBytes; offset += 32)
        lines.push_back("C " + toHex(m_configuration.data() + offset, 32));
    for (std::size_t zone = 0; zone < m_userZones.size(); ++zone)
        for (int offset = 0; offset < UserZoneBytes; offset += 32)
            lines.push_back(std::to_string(zone) + " " + toHex(m_userZones[zone].data() + offset, 32));
    return lines;
}

std::unique_ptr<ContactCard> At88sc1608Card::clone() const
{
    return std::unique_ptr<ContactCard>(new At88sc1608Card(*this));
}

void At88sc1608Card::endSession()
{
    m_verified = -1;
    m_authenticated = false;
}

int At88sc1608Card::counterAddress(int index)
{
    return PasswordsAddress + 8 * (index % ZoneCount) + (index >= ZoneCount ? 4 : 0);
}

int32_t At88sc1608Card::answerToReset(uint8_t *answer)
{
    if (!answer)
        return status::WrongParameter;
    setPowered(true);
    std::copy_n(m_configuration.begin(), 4, answer);
    return status::Ok;
}

int32_t At88sc1608Card::readFuse(uint8_t *fuse) const
{
    if (!fuse)
        return status::WrongParameter;
    // An intact fuse reads as 1.
    *fuse = m_fuseBlown ? 0x00 : 0x01;
    return status::Ok;
}

int32_t At88sc1608Card::blowFuse()
{
    if (!m_fuseBlown) {
        m_fuseBlown = true;
        markMemoryChanged();
    }
    return status::Ok;
}

int32_t At88sc1608Card::verifyPassword(uint8_t index, const uint8_t *password)
{
    if (!password || index >= 2 * ZoneCount)
        return status::WrongParameter;
    m_verified = -1;
    const int counter = counterAddress(index);
    uint8_t &attempts = m_configuration[std::size_t(counter)];
    if (attempts == 0)
        return status::AccessDenied;
    if (std::equal(password, password + At88sc1608PasswordBytes, m_configuration.begin() + counter + 1)) {
        if (attempts != 0xFF) {
            attempts = 0xFF;
            markMemoryChanged();
        }
        m_verified = index;
        return status::Ok;
    }
    // The highest remaining bit goes: eight wrong presentations lock the password.
    for (int bit = 7; bit >= 0; --bit) {
        if (attempts & (1 << bit)) {
            attempts = uint8_t(attempts & ~(1 << bit));
            break;
        }
    }
    markMemoryChanged();
    return status::AuthFailed;
}

int32_t At88sc1608Card::authenticate(const uint8_t *q0AndResponse, const uint8_t *response)
{
    if (!q0AndResponse || !response)
        return status::WrongParameter;
    m_authenticated = false;
    SecureAuth::Block ci{}, gc{}, q0{}, answer{};
    std::copy_n(m_configuration.begin() + CryptogramAddress, SecretBytes, ci.begin());
    std::copy_n(m_configuration.begin() + SecretSeedAddress, SecretBytes, gc.begin());
    std::copy_n(q0AndResponse, SecretBytes, q0.begin());
    std::copy_n(response, SecretBytes, answer.begin());
    const SecureAuth::Block expected = SecureAuthCipher(ci, gc, q0);
    // Both copies of the answer must be the one the card computes.
    if (answer != expected || !std::equal(answer.begin(), answer.end(), q0AndResponse + SecretBytes))
        return status::AuthFailed;
    // A new cryptogram for the next authentication: the cipher run on over the answer.
    const SecureAuth::Block next = SecureAuthCipher(answer, gc, q0);
    std::copy(next.begin(), next.end(), m_configuration.begin() + CryptogramAddress);
    markMemoryChanged();
    m_authenticated = true;
    return status::Ok;
}

int32_t At88sc1608Card::read(uint8_t address, int32_t count, int32_t zone, uint8_t *data) const
{
    if (!data || count < 1 || zone < 0 || zone > ConfigurationZone)
        return status::WrongParameter;
    if (zone == ConfigurationZone) {
        if (address + count > ConfigurationBytes)
            return status::WrongParameter;
        if (overlaps(address, count, PasswordsAddress, ConfigurationBytes - PasswordsAddress) && m_verified != SecureCodeIndex)
            return status::NotAuthenticated;
        std::copy_n(m_configuration.begin() + address, count, data);
        if (m_fuseBlown)
            for (int i = 0; i < count; ++i)
                if (overlaps(address + i, 1, SecretSeedAddress, SecretBytes))
                    data[i] = 0;
        return status::Ok;
    }
    if (address + count > UserZoneBytes)
        return status::WrongParameter;
    if (m_verified != zone && m_verified != zone + ZoneCount)
        return status::NotAuthenticated;
    std::copy_n(m_userZones[std::size_t(zone)].begin() + address, count, data);
    return status::Ok;
}

int32_t At88sc1608Card::write(uint8_t address, int32_t zone, const uint8_t *data, int32_t count)
{
    if (!data || count < 1 || zone < 0 || zone > ConfigurationZone)
        return status::WrongParameter;
    if (zone == ConfigurationZone) {
        if (address + count > ConfigurationBytes)
            return status::WrongParameter;
        if (m_verified != SecureCodeIndex)
            return status::NotAuthenticated;
        if (m_fuseBlown && overlaps(address, count, SecretSeedAddress, SecretBytes))
            return status::AccessDenied;
        WriteTear::land(m_configuration.data() + address, data, std::size_t(count));
    } else {
        if (address + count > UserZoneBytes)
            return status::WrongParameter;
        if (m_verified != zone)
            return status::NotAuthenticated;
        WriteTear::land(m_userZones[std::size_t(zone)].data() + address, data, std::size_t(count));
    }
    markMemoryChanged();
    return status::Ok;
}

} // namespace zentrava
