#include "consoles/ResetAnswer.h"

#include "base/BytePointer.h"

#include <algorithm>

ResetAnswerFields SplitResetAnswer(std::span<const uint8_t> answer, int serialLength)
{
    const std::size_t serialBytes = std::min(answer.size(), std::size_t(std::max(serialLength, 0)));
    return {ByteArrayOf(answer.data(), qsizetype(serialBytes)),
            ByteArrayOf(answer.data() + serialBytes, qsizetype(answer.size() - serialBytes))};
}
