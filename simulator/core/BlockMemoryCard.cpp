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

} // namespace zentrava
