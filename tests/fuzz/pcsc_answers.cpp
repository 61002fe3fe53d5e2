// The PC/SC reader library's reading of what a reader answers: class-FF answers and APDU answers
// of every length and status word, ATRs, the activation and request-B answers rebuilt from them,
// value blocks and vicinity UIDs; and the value command as the card server reads it. The first
// byte chooses what is read; the rest is the answer, exactly as long as the reader said.
#include "FuzzHarness.h"

#include "PcscAnswers.h"
#include "PcscStatus.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzzharness::Input input(data, size);
    const int choice = input.pick(5);
    const std::vector<uint8_t> copy = input.restCopy();
    const std::span<const uint8_t> answer(copy);
    switch (choice) {
    case 0: {
        std::span<const uint8_t> body;
        const int32_t status = pcsc::ClassFfOutcome(answer, &body);
        const int32_t word = answer.size() < 2 ? 0 : answer[answer.size() - 2] << 8 | answer.back();
        if (word == 0) {
            FUZZ_CHECK(status == pcscstatus::NoStatusWord);
        } else {
            FUZZ_CHECK(status == (word == 0x9000 ? 0 : word));
            if (status == 0)
                FUZZ_CHECK(body.data() == answer.data() && body.size() == answer.size() - 2);
        }
        const int32_t whole = pcsc::ApduOutcome(answer);
        FUZZ_CHECK((whole == 0) == (answer.size() >= 2 && answer.size() <= pcsc::MaxAnswerBytes));
        break;
    }
    case 1: {
        // A UID of 0 to 10 bytes, then the ATR.
        const std::size_t uidBytes = answer.empty() ? 0 : std::min<std::size_t>(answer[0] % 11, answer.size() - 1);
        const auto uid = answer.subspan(answer.empty() ? 0 : 1, uidBytes);
        const auto atr = answer.subspan(answer.empty() ? 0 : 1 + uidBytes);
        const auto facts = pcsc::ParseAtr(atr);
        if (!facts)
            break;
        FUZZ_CHECK(atr.size() <= 33 && facts->historical.size() <= 15 && facts->historical.size() < atr.size());
        const bool storage = facts->kind == pcsc::AtrFacts::Kind::StorageCard;
        FUZZ_CHECK(!storage || facts->historical.size() >= 11);
        const pcsc::Bytes activation = pcsc::TypeAActivation(uid, *facts);
        FUZZ_CHECK(activation.size() <= pcsc::MaxAnswerBytes && std::equal(uid.begin(), uid.end(), activation.begin()));
        FUZZ_CHECK(activation.size() == uid.size() + (storage ? 0 : 2 + facts->historical.size()));
        if (const auto atqb = pcsc::AnswerToRequestB(uid, *facts))
            FUZZ_CHECK(atqb->size() == 12 && (*atqb)[0] == 0x50 && std::equal(uid.begin(), uid.end(), atqb->begin() + 1));
        pcsc::IdentityOf(*facts);
        break;
    }
    case 2:
        if (const auto value = pcsc::DecodeValueBlock(answer))
            FUZZ_CHECK(pcsc::EncodeValueBlock(*value, answer[12]) == copy);
        break;
    case 3: {
        const pcsc::Bytes shown = pcsc::Iso15693UidAsShown(answer);
        FUZZ_CHECK(shown.size() == answer.size() && std::is_permutation(shown.begin(), shown.end(), answer.begin()));
        break;
    }
    case 4:
        // The value command as the simulator's card server reads it: what it takes apart, built
        // again, is the same command.
        if (const auto change = pcsc::command::ParseChangeValue(answer))
            FUZZ_CHECK(pcsc::command::ChangeValue(change->operation, change->block, change->amount) == copy);
        break;
    }
    return 0;
}
