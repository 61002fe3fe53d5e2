#include "consoles/ResetAnswer.h"

#include <algorithm>

ResetAnswerFields SplitResetAnswer(std::span<const uint8_t> answer, int serialLength)
{
    const std::size_t serialBytes = std::min(answer.size(), std::size_t(std::max(serialLength, 0)));
    const auto *bytes = reinterpret_cast<const char *>(answer.data());
    return {QByteArray(bytes, qsizetype(serialBytes)),
            QByteArray(bytes + serialBytes, qsizetype(answer.size() - serialBytes))};
}
