#include "BlockMemoryCard.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "WriteTear.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

namespace zentrava {

BlockMemoryCard::BlockMemoryCard(int blockCount, int blockSize, Bytes memory)
    : m_blockCount(blockCount), m_blockSize(blockSize), m_memory(std::move(memory))
{
    m_memory.resize(static_cast<std::size_t>(blockCount * blockSize));
}

Bytes BlockMemoryCard::block(int number) const
{
    const uint8_t *start = blockData(number);
    return Bytes(start, start + m_blockSize);
}

void BlockMemoryCard::writeBlock(int number, const uint8_t *data)
{
    if (WriteTear::land(blockData(number), data, static_cast<std::size_t>(m_blockSize)))
        markMemoryChanged();
}

std::optional<std::string> BlockMemoryCard::replaceMemory(const Bytes &image)
{
    if (image.size() != m_memory.size())
        return "a " + typeName() + " card holds " + std::to_string(m_memory.size()) + " bytes (" +
               std::to_string(m_blockCount) + " blocks of " + std::to_string(m_blockSize) +
               "), the dump has " + std::to_string(image.size());
    if (auto problem = checkImage(image))
        return problem;
    if (image != m_memory) {
        m_memory = image;
        markMemoryChanged();
    }
    setState(CardState::Idle);
    return std::nullopt;
}

std::vector<std::string> BlockMemoryCard::dumpLines() const
{
    std::vector<std::string> lines;
    for (int number = 0; number < m_blockCount; ++number) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%3d  ", number);
        lines.push_back(prefix + toHex(blockData(number), static_cast<std::size_t>(m_blockSize)));
    }
    return lines;
}

nlohmann::ordered_json BlockMemoryCard::blocksToJson() const
{
    nlohmann::ordered_json blocks = nlohmann::ordered_json::object();
    for (int number = 0; number < m_blockCount; ++number)
        blocks[std::to_string(number)] = toHex(blockData(number), static_cast<std::size_t>(m_blockSize));
    return blocks;
}

void BlockMemoryCard::blocksFromJson(const nlohmann::ordered_json &blocks, const std::string &where)
{
    jsonfields::requireObject(blocks, where);
    Bytes image = m_memory;
    for (const auto &[key, value] : blocks.items()) {
        const int number = jsonfields::indexKey(key, where, m_blockCount - 1);
        const Bytes data = jsonfields::hexValue(value, where + "." + key,
                                                static_cast<std::size_t>(m_blockSize));
        std::copy(data.begin(), data.end(), image.begin() + number * m_blockSize);
    }
    if (auto problem = checkImage(image))
        throw ScenarioError(where + ": " + *problem);
    m_memory = std::move(image);
}

namespace {

// "block 0", "pages 0 and 1", "blocks 0 to 3".
std::string firstBlocks(const char *unit, int count)
{
    if (count == 1)
        return std::string(unit) + " 0";
    return std::string(unit) + "s 0 " + (count == 2 ? "and 1" : "to " + std::to_string(count - 1));
}

} // namespace

std::optional<Bytes> BlockMemoryCard::serialFromJson(const nlohmann::ordered_json &card, const std::string &where,
                                                     const SerialInBlocks &serial)
{
    using namespace jsonfields;
    std::optional<Bytes> uid;
    if (const auto *info = member(card, "Card")) {
        requireObject(*info, where + ".Card");
        if (const auto *text = member(*info, "UID"))
            uid = hexValue(*text, where + ".Card.UID", serial.bytes);
    }
    const auto *blocks = member(card, "blocks");
    if (blocks)
        requireObject(*blocks, where + ".blocks");
    bool blocksGiven = blocks != nullptr;
    for (int block = 0; blocksGiven && block < serial.blocks; ++block)
        blocksGiven = member(*blocks, std::to_string(block).c_str()) != nullptr;
    if (!uid && !blocksGiven)
        throw ScenarioError(where + ": needs " + serial.name + " (Card.UID) or " + firstBlocks(serial.unit, serial.blocks));
    return uid;
}

void BlockMemoryCard::serialBlocksFromJson(const nlohmann::ordered_json &card, const std::string &where,
                                           const std::optional<Bytes> &uid, const SerialInBlocks &serial)
{
    if (const auto *blocks = jsonfields::member(card, "blocks"))
        blocksFromJson(*blocks, where + ".blocks");
    if (uid && *uid != this->uid())
        throw ScenarioError(where + ": Card.UID " + toHex(*uid) + " disagrees with " +
                            firstBlocks(serial.unit, serial.blocks) + " (" + toHex(this->uid()) + ")");
}

void BlockMemoryCard::partFromJson(const nlohmann::ordered_json &object, const char *key, const std::string &place,
                                   const nlohmann::ordered_json &card, int block, std::size_t offset, std::size_t size,
                                   const char *unit)
{
    using namespace jsonfields;
    const auto *value = member(object, key);
    if (!value)
        return;
    const Bytes bytes = hexValue(*value, place + "." + key, size);
    uint8_t *target = blockData(block) + offset;
    const auto *blocks = member(card, "blocks");
    if (!(blocks && member(*blocks, std::to_string(block).c_str())))
        std::copy(bytes.begin(), bytes.end(), target);
    else if (!std::equal(bytes.begin(), bytes.end(), target))
        throw ScenarioError(place + "." + key + " disagrees with " + unit + " " + std::to_string(block));
}

} // namespace zentrava
