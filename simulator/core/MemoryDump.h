#pragma once

#include "BlockMemoryCard.h"

#include <optional>
#include <string>
#include <string_view>

namespace zentrava {

// Memory images of block cards as other card tools exchange them: raw binary (.bin, .mfd), all
// blocks in order, and text (.eml), one block per line in hexadecimal.
class MemoryDump {
public:
    enum class Format { Binary, Eml };

    // By the file's extension; nothing for any other.
    static std::optional<Format> formatOf(const std::string &path);
    static std::string toEml(const BlockMemoryCard &card);
    // Throws std::runtime_error naming the line that is not a block of the given size.
    static Bytes fromEml(std::string_view text, int blockSize);

    // Both throw std::runtime_error with a message for the operator.
    static void save(const BlockMemoryCard &card, const std::string &path);
    static Bytes load(const std::string &path, int blockSize);
};

} // namespace zentrava
