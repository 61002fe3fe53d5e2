#include "TypeBCommands.h"

#include "CardCommand.h"
#include "Iso15693Frames.h"
#include "ProcessorCard.h"
#include "ProcessorCommands.h"
#include "SimulatedReader.h"

namespace zentrava {

namespace {

bool answersRequestB(const VirtualCard &card)
{
    return card.answerToRequestB().has_value();
}

// A raw ISO 14443 type B frame (without its CRC) and the answer of the card, if any.
std::optional<Bytes> typeBFrame(RfField &field, const Bytes &frame)
{
    constexpr uint8_t Reqb = 0x05, Attrib = 0x1D, Hltb = 0x50, WakeUpFlag = 0x08;
    const auto withPupi = [&frame](const VirtualCard &card) {
        const Bytes pupi = card.uid();
        return card.answerToRequestB() && frame.size() >= 1 + pupi.size() &&
               std::equal(pupi.begin(), pupi.end(), frame.begin() + 1);
    };
    const uint8_t command = frame[0];
    if (command == Reqb && frame.size() == 3) {
        field.request((frame[2] & WakeUpFlag) != 0);
        auto *card = field.firstReady<VirtualCard>(answersRequestB);
        return card ? card->answerToRequestB() : std::nullopt;
    }
    if (command == Attrib && frame.size() >= 9) {
        auto *card = field.firstReady<VirtualCard>(withPupi);
        if (!card)
            return std::nullopt;
        field.activate(card);
        return Bytes{0x00}; // MBLI and CID 0
    }
    VirtualCard *active = field.activeCard();
    if (command == Hltb && frame.size() == 5 && active && withPupi(*active)) {
        active->setState(CardState::Halted);
        return Bytes{0x00};
    }
    // An I-block without CID or NAD: the PCB, then the APDU; the card answers with the same PCB.
    auto *card = field.active<ProcessorCard>();
    if ((command & 0xFE) == 0x02 && frame.size() > 1 && card && card->kind() == ProcessorCard::Kind::TypeB) {
        Bytes answer = card->transceive(Bytes(frame.begin() + 1, frame.end()));
        answer.insert(answer.begin(), command);
        return answer;
    }
    return std::nullopt;
}

} // namespace

// Request B (0 wakes idle tags, 8 halted ones too) makes the first card that answers in the chosen
// radio mode the addressed one; a refused command or a deselect ends that.
int32_t TypeBCommands::request(SimulatedReader &reader, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    constexpr uint8_t RequestB = 0x00;
    constexpr uint8_t WakeUpB = 0x08;
    // Some hosts pass 1 for the wake-up: it is taken as 8.
    constexpr uint8_t WakeUpShort = 0x01;
    if (mode != RequestB && mode != WakeUpB && mode != WakeUpShort)
        return status::WrongParameter;
    // Cards of other modulations stay asleep through the request.
    reader.field.request(mode != RequestB);
    auto *card = reader.field.firstReady<VirtualCard>(answersRequestB);
    if (!card)
        return status::NoCard;
    reader.field.activate(card);
    copyOut(*card->answerToRequestB(), answer, len);
    return status::Ok;
}

int32_t TypeBCommands::transceive(SimulatedReader &reader, const uint8_t *data, int32_t count, uint8_t *answer,
                                  uint8_t *len)
{
    if (!fitsCommand(count))
        return status::WrongParameter;
    // Raw frames reach type B cards and ISO 15693 tags, each in its own radio mode.
    RfField &field = reader.field;
    std::optional<Bytes> reply;
    if (field.powers(RadioMode::Iso14443B))
        reply = typeBFrame(field, Bytes(data, data + count));
    else if (field.radioMode() == RadioMode::Iso15693)
        reply = Iso15693Frames::answer(field, Bytes(data, data + count));
    if (!reply)
        return status::NoCard;
    copyOut(*reply, answer, len);
    return status::Ok;
}

} // namespace zentrava
