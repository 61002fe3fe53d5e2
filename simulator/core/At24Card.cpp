#include "At24Card.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "StatusCode.h"
#include "WriteTear.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>

namespace zentrava {

namespace {

// The sizes and write pages of the real chips.
constexpr At24Card::Chip Chips[] = {
    {"at24c01", 128, 8},   {"at24c02", 256, 8},   {"at24c04", 512, 16}, {"at24c08", 1024, 16},
    {"at24c16", 2048, 16}, {"at24c32", 4096, 32}, {"at24c64", 8192, 32},
};
constexpr int32_t MaxTransfer_bytes = 1024;
constexpr std::size_t DumpLine_bytes = 32;

} // namespace

std::span<const At24Card::Chip> At24Card::chips()
{
    return Chips;
}

const At24Card::Chip *At24Card::findChip(const std::string &name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const Chip &chip : Chips)
        if (lower == chip.name)
            return &chip;
    return nullptr;
}

At24Card::At24Card(const Chip &chip) : m_chip(chip), m_memory(std::size_t(chip.memory_bytes), 0xFF) {}

std::unique_ptr<At24Card> At24Card::factoryNew(const Chip &chip)
{
    return std::unique_ptr<At24Card>(new At24Card(chip));
}

std::unique_ptr<At24Card> At24Card::fromJson(const Chip &chip, const nlohmann::ordered_json &card, const std::string &where)
{
    auto result = factoryNew(chip);
    if (const auto *memory = jsonfields::member(card, "memory"))
        result->m_memory = jsonfields::hexValue(*memory, where + ".memory", std::size_t(chip.memory_bytes));
    return result;
}

nlohmann::ordered_json At24Card::toJson() const
{
    return {{"type", m_chip.name}, {"memory", toHex(m_memory)}};
}

std::vector<std::string> At24Card::dumpLines() const
{
    std::vector<std::string> lines;
    for (std::size_t offset = 0; offset < m_memory.size(); offset += DumpLine_bytes)
        lines.push_back(toHex(m_memory.data() + offset, DumpLine_bytes));
    return lines;
}

std::unique_ptr<ContactCard> At24Card::clone() const
{
    return std::unique_ptr<ContactCard>(new At24Card(*this));
}

int32_t At24Card::read(int32_t address, int32_t count, uint8_t *data) const
{
    if (!data || address < 0 || count < 1 || count > MaxTransfer_bytes || address + count > m_chip.memory_bytes)
        return status::WrongParameter;
    std::copy_n(m_memory.begin() + address, count, data);
    return status::Ok;
}

int32_t At24Card::write(int32_t address, int32_t count, const uint8_t *data)
{
    if (!data || address < 0 || count < 1 || count > MaxTransfer_bytes || address + count > m_chip.memory_bytes)
        return status::WrongParameter;
    // One page write per write page touched.
    for (int done = 0; done < count;) {
        const int inPage = m_chip.writePage_bytes - (address + done) % m_chip.writePage_bytes;
        const int piece = std::min(inPage, count - done);
        pageWrite(address + done, data + done, piece);
        done += piece;
    }
    return status::Ok;
}

void At24Card::pageWrite(int address, const uint8_t *data, int count)
{
    const int pageStart = address - address % m_chip.writePage_bytes;
    // The chip counts only the low address bits within the page: later bytes overwrite earlier ones.
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        const int offset = (address - pageStart + i) % m_chip.writePage_bytes;
        changed = WriteTear::land(&m_memory[std::size_t(pageStart + offset)], data + i, 1) || changed;
    }
    if (changed)
        markMemoryChanged();
}

} // namespace zentrava
