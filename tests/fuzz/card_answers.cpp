// Every decoder that turns a reader's answer into the fields a page shows: the clock, the model
// text, the reset answers, the system information, the inventory and the block security. The
// first byte chooses the decoder and its parameter; the rest is the answer, exactly as long as
// the reader said, so that any read past it is caught.
#include "FuzzHarness.h"

#include "consoles/ResetAnswer.h"
#include "pages/CardAnswers.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzzharness::Input input(data, size);
    const int choice = input.byte();
    const std::vector<uint8_t> copy = input.restCopy();
    const std::span<const uint8_t> answer(copy);
    switch (choice % 6) {
    case 0:
        if (const auto reading = DecodeClock(answer)) {
            FUZZ_CHECK(reading->date.isValid() && reading->time.isValid());
            FUZZ_CHECK(reading->date.year() >= 1951 && reading->date.year() <= 2050);
            FUZZ_CHECK(reading->weekDay >= 0 && reading->weekDay <= 99);
        }
        break;
    case 1: {
        const QByteArray text = DecodeModelText(answer);
        FUZZ_CHECK(std::size_t(text.size()) <= answer.size() && !text.contains('\0'));
        break;
    }
    case 2: {
        const ResetAnswerFields fields = SplitResetAnswer(answer, choice / 6 - 4);
        FUZZ_CHECK(std::size_t(fields.serial.size() + fields.resetInformation.size()) == answer.size());
        break;
    }
    case 3:
        if (const auto information = DecodeSystemInformation(answer))
            FUZZ_CHECK(answer.size() >= 12);
        break;
    case 4: {
        const int maxTags = choice / 6 - 2;
        const QList<QByteArray> uids = DecodeInventory(answer, maxTags);
        FUZZ_CHECK(uids.size() <= std::max(maxTags, 0) && std::size_t(uids.size()) * 9 <= answer.size());
        break;
    }
    case 5: {
        // Two answers in a row into a buffer of a chosen size, as the page's read plan does.
        std::vector<uint8_t> security;
        const std::size_t capacity = std::size_t(choice / 12);
        const std::size_t half = answer.size() / 2;
        const int rest = int(answer.size() - half);
        const int claimed = rest - choice / 6 % 2;
        const bool first = AppendBlockSecurity(security, capacity, answer.first(half), int(half));
        const bool second = AppendBlockSecurity(security, capacity, answer.subspan(half), claimed);
        FUZZ_CHECK(first && second == (claimed == rest));
        FUZZ_CHECK(security.size() == std::min(capacity, half + (second ? std::size_t(rest) : 0)));
        break;
    }
    }
    return 0;
}
