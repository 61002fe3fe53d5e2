#pragma once

#include <QByteArray>

#include <cstdint>
#include <span>

// A type A card's reset answer as the processor-card console shows it: the card's serial number
// (serialLength bytes, fewer when the answer is shorter) and, after it, the reset information.
struct ResetAnswerFields
{
    QByteArray serial;
    QByteArray resetInformation;
};
ResetAnswerFields SplitResetAnswer(std::span<const uint8_t> answer, int serialLength);
