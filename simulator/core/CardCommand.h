#pragma once

#include "HexText.h"
#include "StatusCode.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

// What every card family's commands share. The session has already checked the port, the device
// index and that every buffer is given, and writes back what the command changed; a command
// only finds its card and hands it the call.
namespace zentrava {

// The command reaches the card its family addresses, or no card answers when there is none.
template <class Card, class Command, class... Arguments>
int32_t onCard(Card *card, Command command, Arguments &&...arguments)
{
    return card ? std::invoke(command, *card, std::forward<Arguments>(arguments)...) : status::NoCard;
}

// A card's answer of a fixed length: the caller's one-byte length is set when it succeeded.
inline int32_t answered(int32_t result, uint8_t *len, int bytes)
{
    if (result == status::Ok)
        *len = static_cast<uint8_t>(bytes);
    return result;
}

// An answer handed to the caller's buffer and its one-byte length: at most 255 bytes.
inline void copyOut(const Bytes &bytes, uint8_t *target, uint8_t *len)
{
    const std::size_t count = std::min<std::size_t>(bytes.size(), 255);
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(count), target);
    *len = static_cast<uint8_t>(count);
}

} // namespace zentrava
