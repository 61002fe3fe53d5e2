#include "MemoryDump.h"

#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace zentrava {

namespace {

// The largest card image is a 4K Mifare card; text dumps take a little more than twice that.
constexpr std::streamsize MaxDumpSize = 1024 * 1024;

std::string lowerExtension(const std::string &path)
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot);
    for (char &c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}

} // namespace

std::optional<MemoryDump::Format> MemoryDump::formatOf(const std::string &path)
{
    const std::string extension = lowerExtension(path);
    if (extension == ".bin" || extension == ".mfd")
        return Format::Binary;
    if (extension == ".eml")
        return Format::Eml;
    return std::nullopt;
}

std::string MemoryDump::toEml(const BlockMemoryCard &card)
{
    std::string text;
    for (int number = 0; number < card.blockCount(); ++number)
        text += toHex(card.block(number)) + "\n";
    return text;
}

Bytes MemoryDump::fromEml(std::string_view text, int blockSize)
{
    Bytes image;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        const auto block = fromHex(line);
        if (!block || block->size() != static_cast<std::size_t>(blockSize))
            throw std::runtime_error("line " + std::to_string(lineNumber) + " is not a block of " +
                                     std::to_string(blockSize * 2) + " hex digits");
        image.insert(image.end(), block->begin(), block->end());
    }
    return image;
}

void MemoryDump::save(const BlockMemoryCard &card, const std::string &path)
{
    const auto format = formatOf(path);
    if (!format)
        throw std::runtime_error(path + ": use the extension .bin, .mfd or .eml");
    const std::string bytes = format == Format::Binary
                                  ? std::string(card.memory().begin(), card.memory().end())
                                  : toEml(card);
    if (const std::string reason = writeFileAtomically(path, bytes); !reason.empty())
        throw std::runtime_error(path + ": cannot write: " + reason);
}

Bytes MemoryDump::load(const std::string &path, int blockSize)
{
    const auto format = formatOf(path);
    if (!format)
        throw std::runtime_error(path + ": use the extension .bin, .mfd or .eml");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(path + ": cannot read: " + std::strerror(errno));
    std::string content;
    content.resize(static_cast<std::size_t>(MaxDumpSize) + 1);
    file.read(content.data(), MaxDumpSize + 1);
    if (file.bad())
        throw std::runtime_error(path + ": cannot read: " + std::strerror(errno));
    content.resize(static_cast<std::size_t>(file.gcount()));
    if (content.size() > static_cast<std::size_t>(MaxDumpSize))
        throw std::runtime_error(path + ": larger than any card's memory");
    if (format == Format::Binary)
        return Bytes(content.begin(), content.end());
    try {
        return fromEml(content, blockSize);
    } catch (const std::runtime_error &error) {
        throw std::runtime_error(path + ": " + error.what());
    }
}

} // namespace zentrava
