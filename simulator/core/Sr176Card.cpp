#include "Sr176Card.h"

#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {
constexpr int Sr176UidBytes = 8;
constexpr int FirstUserBlock = Sr176UidBytes / Sr176Card::BlockBytes;
} // namespace

Sr176Card::Sr176Card(Bytes memory) : StTag(BlockCount, BlockBytes, std::move(memory)) {}

std::unique_ptr<Sr176Card> Sr176Card::factoryNew(const Bytes &uid)
{
    Bytes memory(BlockCount * BlockBytes, 0);
    std::copy(uid.begin(), uid.begin() + Sr176UidBytes, memory.begin());
    // The chip ID comes from the serial number's last byte.
    memory[SystemBlock * BlockBytes] = uid[Sr176UidBytes - 1];
    return std::unique_ptr<Sr176Card>(new Sr176Card(std::move(memory)));
}

std::unique_ptr<Sr176Card> Sr176Card::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    return fromJsonWithSerial<Sr176Card>(card, where, {Sr176UidBytes, Sr176UidBytes / BlockBytes}, factoryNew);
}

nlohmann::ordered_json Sr176Card::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}};
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Sr176Card::clone() const
{
    return std::unique_ptr<VirtualCard>(new Sr176Card(*this));
}

int32_t Sr176Card::read(uint8_t block, uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    std::copy(blockData(block), blockData(block) + BlockBytes, data);
    return status::Ok;
}

int32_t Sr176Card::write(uint8_t block, const uint8_t *data)
{
    if (block >= BlockCount)
        return refuse(status::WrongParameter);
    if (block < FirstUserBlock || block == SystemBlock || blockLocked(block))
        return refuse(status::AccessDenied);
    writeBlock(block, data);
    return status::Ok;
}

int32_t Sr176Card::protect(uint8_t lockBits)
{
    const uint8_t system[BlockBytes] = {chipId(), static_cast<uint8_t>(lockRegister() | lockBits)};
    writeBlock(SystemBlock, system);
    return status::Ok;
}

} // namespace zentrava
