#include "PcscCardServer.h"

#include "MifareClassicCard.h"
#include "ProcessorCard.h"
#include "UltralightCard.h"

#include "PcscAnswers.h"

#include <poll.h>

#include <cerrno>
#include <ostream>

namespace zentrava {

namespace {

using Clock = std::chrono::steady_clock;
namespace sw = pcsc::statusword;

// How often the server looks at the scenario for cards laid on or taken away.
constexpr int TickMs = 100;
// A card swapped for another stays away longer than pcscd takes between two looks at the
// reader (about 400 ms), so that pcscd sees the removal and never a new card under an old handle.
constexpr auto SwapGap = std::chrono::milliseconds(600);

Bytes withStatusWord(Bytes data, uint16_t statusWord)
{
    data.push_back(uint8_t(statusWord >> 8));
    data.push_back(uint8_t(statusWord));
    return data;
}

Bytes statusWordOnly(uint16_t statusWord) { return withStatusWord({}, statusWord); }

// The status word a PC/SC reader answers for what the card did.
uint16_t statusWordOf(int32_t result)
{
    switch (result) {
    case status::Ok: return sw::Success;
    case status::AuthFailed: return sw::AuthenticationFailed;
    case status::NotAuthenticated: return sw::SecurityNotSatisfied;
    case status::AccessDenied: return sw::NotAllowed;
    case status::NotValueBlock: return sw::IncompatibleWithFile;
    case status::ValueOverflow: return sw::WrongData;
    case status::WrongParameter: return sw::WrongParameters;
    case status::NotSupported: return sw::FunctionNotSupported;
    default: return sw::ExecutionError; // the card did not answer: gone, halted, a forced fault
    }
}

// The historical bytes of an ISO 14443-4 answer to select: after TL, T0 and the interface bytes
// T0 announces.
Bytes historicalOf(const Bytes &ats)
{
    if (ats.size() < 2)
        return {};
    const std::size_t end = std::min<std::size_t>(ats[0], ats.size());
    const uint8_t t0 = ats[1];
    const std::size_t start = 2 + ((t0 & 0x10) != 0) + ((t0 & 0x20) != 0) + ((t0 & 0x40) != 0);
    return start < end ? Bytes(ats.begin() + long(start), ats.begin() + long(end)) : Bytes{};
}

} // namespace

std::string PcscCardServer::CardFacts::identity() const
{
    return family == Family::None ? std::string() : std::to_string(int(family)) + ":" + toHex(uid);
}

PcscCardServer::PcscCardServer(ReaderSession &session, const Ports &ports, std::ostream &log)
    : m_session(session), m_log(log),
      m_slots{{Slot{"contactless", VpcdConnection(ports.host, ports.contactless), {}, {}, false},
               Slot{"contact", VpcdConnection(ports.host, ports.contact), {}, {}, false},
               Slot{"SAM", VpcdConnection(ports.host, ports.sam), {}, {}, false}}}
{
}

PcscCardServer::CardFacts PcscCardServer::facts(SlotIndex slot)
{
    return m_session.inspect([slot](const SimulatedReader &reader) {
        CardFacts facts;
        const VirtualCard *card = nullptr;
        if (slot == Contactless) {
            for (const auto &each : reader.field.cards())
                if (!isSlot(each->radioMode())) {
                    card = each.get();
                    break;
                }
        } else {
            card = reader.field.slotCard(slot == Contact ? RadioMode::ContactSlot : RadioMode::SamSlot);
        }
        if (const auto *mifare = dynamic_cast<const MifareClassicCard *>(card))
            facts.family = mifare->capacity() == MifareClassicCard::Capacity::OneK ? Family::Mifare1k : Family::Mifare4k;
        else if (dynamic_cast<const UltralightCard *>(card))
            facts.family = Family::Ultralight;
        else if (const auto *processor = dynamic_cast<const ProcessorCard *>(card)) {
            switch (processor->kind()) {
            case ProcessorCard::Kind::TypeA: facts.family = Family::TypeA; break;
            case ProcessorCard::Kind::Desfire: facts.family = Family::Desfire; break;
            case ProcessorCard::Kind::Contact: facts.family = Family::Contact; break;
            case ProcessorCard::Kind::Sam: facts.family = Family::Sam; break;
            case ProcessorCard::Kind::TypeB: break;
            }
            facts.answer = processor->answerToSelect();
        }
        if (facts.family != Family::None) {
            facts.uid = card->uid();
            facts.active = card->state() == CardState::Active;
        }
        return facts;
    });
}

void PcscCardServer::serve(const std::function<bool()> &stopRequested)
{
    for (const Slot &slot : m_slots)
        m_log << "serve-pcsc: the " << slot.name << " reader's card on vpcd port " << slot.link.port() << "\n";
    m_log.flush();
    while (!stopRequested()) {
        followField();
        pollfd waiting[SlotCount];
        SlotIndex slotOf[SlotCount];
        nfds_t count = 0;
        for (int i = 0; i < SlotCount; ++i)
            if (m_slots[std::size_t(i)].link.connected()) {
                waiting[count] = pollfd{m_slots[std::size_t(i)].link.descriptor(), POLLIN, 0};
                slotOf[count++] = SlotIndex(i);
            }
        // A signal ends the wait early (EINTR); the loop then asks whether to stop.
        if (poll(waiting, count, TickMs) <= 0)
            continue;
        for (nfds_t i = 0; i < count; ++i) {
            if ((waiting[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                continue;
            Slot &slot = m_slots[std::size_t(slotOf[i])];
            const std::optional<Bytes> message = slot.link.receive();
            if (!message) {
                m_log << "serve-pcsc: vpcd closed the " << slot.name << " reader\n";
                m_log.flush();
                slot.shown.clear();
                continue;
            }
            handle(slotOf[i], *message);
        }
    }
    for (Slot &slot : m_slots)
        slot.link.close();
}

void PcscCardServer::followField()
{
    const Clock::time_point now = Clock::now();
    for (int i = 0; i < SlotCount; ++i) {
        Slot &slot = m_slots[std::size_t(i)];
        const std::string identity = facts(SlotIndex(i)).identity();
        if (slot.link.connected() && identity != slot.shown) {
            slot.link.close();
            slot.shown.clear();
            slot.absentUntil = now + SwapGap;
            m_log << "serve-pcsc: the " << slot.name << " reader's card was taken away\n";
        }
        if (!slot.link.connected() && !identity.empty() && now >= slot.absentUntil) {
            const bool reached = slot.link.connect();
            if (reached) {
                slot.shown = identity;
                m_log << "serve-pcsc: a card lies on the " << slot.name << " reader\n";
            } else if (!slot.unreachable) {
                m_log << "serve-pcsc: vpcd does not listen on port " << slot.link.port() << " (is pcscd running?)\n";
            }
            slot.unreachable = !reached;
        }
    }
    m_log.flush();
}

void PcscCardServer::handle(SlotIndex slot, const Bytes &message)
{
    const CardFacts card = facts(slot);
    if (message.size() == 1) {
        switch (VpcdControl(message[0])) {
        case VpcdControl::PowerOn:
        case VpcdControl::Reset:
            activate(card);
            break;
        case VpcdControl::SendAtr:
            m_slots[slot].link.send(atr(card));
            break;
        case VpcdControl::PowerOff:
            break;
        }
        return;
    }
    if (!message.empty())
        m_slots[slot].link.send(answerApdu(slot, message));
}

Bytes PcscCardServer::atr(const CardFacts &card) const
{
    switch (card.family) {
    case Family::Mifare1k: return pcsc::StorageCardAtr(pcsc::StandardIso14443A, pcsc::CardMifare1k);
    case Family::Mifare4k: return pcsc::StorageCardAtr(pcsc::StandardIso14443A, pcsc::CardMifare4k);
    case Family::Ultralight: return pcsc::StorageCardAtr(pcsc::StandardIso14443A, pcsc::CardUltralight);
    case Family::TypeA:
    case Family::Desfire: return pcsc::ContactlessAtr(historicalOf(card.answer));
    case Family::Contact:
    case Family::Sam: return card.answer;
    case Family::None: break;
    }
    return {};
}

void PcscCardServer::ensurePortOpen()
{
    // The server is attached to the reader itself; the session still wants its port open.
    const auto [open, port] = m_session.inspect([](const SimulatedReader &reader) {
        return std::pair<bool, int32_t>(reader.device.portOpen, reader.device.settings.port);
    });
    if (!open)
        m_session.call<ReaderFunction::rf_init_com>(port, int32_t(14400));
}

int32_t PcscCardServer::activate(const CardFacts &card)
{
    ensurePortOpen();
    uint8_t answer[256];
    uint8_t length = 0;
    constexpr uint8_t RequestAll = 0x52;
    ReaderSession &s = m_session;
    switch (card.family) {
    case Family::Mifare1k:
    case Family::Mifare4k: {
        uint8_t size = 0;
        s.call<ReaderFunction::rf_init_type>(uint16_t(0), uint8_t('A'));
        const int32_t result = s.call<ReaderFunction::rf_request>(uint16_t(0), RequestAll, answer);
        if (result != status::Ok)
            return result;
        return s.call<ReaderFunction::rf_select>(uint16_t(0), card.uid.data(), uint8_t(card.uid.size()), &size);
    }
    case Family::Ultralight: {
        s.call<ReaderFunction::rf_init_type>(uint16_t(0), uint8_t('A'));
        const int32_t result = s.call<ReaderFunction::rf_request>(uint16_t(0), RequestAll, answer);
        if (result != status::Ok)
            return result;
        return s.call<ReaderFunction::rf_ul_select>(uint16_t(0), answer, &length);
    }
    case Family::TypeA:
        s.call<ReaderFunction::rf_init_type>(uint16_t(0), uint8_t('A'));
        return s.call<ReaderFunction::rf_typea_rst>(uint16_t(0), RequestAll, answer, &length);
    case Family::Desfire:
        s.call<ReaderFunction::rf_init_type>(uint16_t(0), uint8_t('A'));
        return s.call<ReaderFunction::rf_DESFire_rst>(uint16_t(0), RequestAll, answer, &length);
    case Family::Contact: return s.call<ReaderFunction::smartcard_rst>(uint16_t(0), answer, &length);
    case Family::Sam: return s.call<ReaderFunction::rf_sam_rst>(uint16_t(0), answer, &length);
    case Family::None: break;
    }
    return status::NoCard;
}

int32_t PcscCardServer::ensureActive(const CardFacts &card)
{
    // A card that dropped out (a refused command, another door's call, the file read anew) is
    // selected again, as a reader does; its authentication is lost with it.
    return card.active ? status::Ok : activate(card);
}

Bytes PcscCardServer::answerApdu(SlotIndex slot, const Bytes &apdu)
{
    const CardFacts card = facts(slot);
    if (slot == Contactless && apdu[0] == pcsc::ClassFf)
        return answerClassFf(card, apdu);
    const bool processor = card.family == Family::TypeA || card.family == Family::Desfire
        || card.family == Family::Contact || card.family == Family::Sam;
    if (!processor)
        return statusWordOnly(sw::ClassNotSupported);
    if (const int32_t result = ensureActive(card); result != status::Ok)
        return statusWordOnly(statusWordOf(result));
    uint8_t answer[256];
    uint8_t length = 0;
    const auto size = int32_t(apdu.size());
    int32_t result = status::NoCard;
    if (slot == Contactless)
        result = m_session.call<ReaderFunction::rf_cos_command>(uint16_t(0), apdu.data(), size, answer, &length);
    else if (slot == Contact)
        result = m_session.call<ReaderFunction::smartcard_cos>(uint16_t(0), apdu.data(), size, answer, &length);
    else
        result = m_session.call<ReaderFunction::rf_sam_cos>(uint16_t(0), apdu.data(), size, answer, &length);
    if (result != status::Ok)
        return statusWordOnly(statusWordOf(result));
    return Bytes(answer, answer + length);
}

Bytes PcscCardServer::answerClassFf(const CardFacts &card, const Bytes &apdu)
{
    namespace ins = pcsc::instruction;
    if (apdu.size() < 5)
        return statusWordOnly(sw::WrongLength);
    const uint8_t p1 = apdu[2];
    const uint8_t p2 = apdu[3];
    const std::size_t lc = apdu[4];
    const bool mifare = card.family == Family::Mifare1k || card.family == Family::Mifare4k;
    const bool memory = mifare || card.family == Family::Ultralight;
    ReaderSession &s = m_session;

    switch (apdu[1]) {
    case ins::GetData:
        if (p1 == 0x00)
            return withStatusWord(card.uid, sw::Success);
        if (p1 == 0x01 && (card.family == Family::TypeA || card.family == Family::Desfire))
            return withStatusWord(historicalOf(card.answer), sw::Success);
        return statusWordOnly(sw::FunctionNotSupported);
    case ins::LoadKeys: {
        if (apdu.size() != 11 || lc != 6)
            return statusWordOnly(sw::WrongLength);
        std::array<uint8_t, 6> key{};
        std::copy(apdu.begin() + 5, apdu.end(), key.begin());
        m_keys[p2] = key;
        return statusWordOnly(sw::Success);
    }
    case ins::GeneralAuthenticate: {
        if (apdu.size() != 10 || lc != 5 || apdu[5] != 0x01)
            return statusWordOnly(sw::WrongLength);
        if (!mifare)
            return statusWordOnly(sw::FunctionNotSupported);
        const auto key = m_keys.find(apdu[9]);
        if (key == m_keys.end())
            return statusWordOnly(sw::NotAllowed);
        if (const int32_t result = ensureActive(card); result != status::Ok)
            return statusWordOnly(statusWordOf(result));
        return statusWordOnly(statusWordOf(
            s.call<ReaderFunction::rf_M1_authentication2>(uint16_t(0), apdu[8], apdu[7], key->second.data())));
    }
    case ins::ReadBinary: {
        if (apdu.size() != 5 || p1 != 0x00)
            return statusWordOnly(apdu.size() != 5 ? sw::WrongLength : sw::WrongParameters);
        if (!memory)
            return statusWordOnly(sw::FunctionNotSupported);
        if (const int32_t result = ensureActive(card); result != status::Ok)
            return statusWordOnly(statusWordOf(result));
        uint8_t data[256];
        uint8_t length = 0;
        const int32_t result = s.call<ReaderFunction::rf_M1_read>(uint16_t(0), p2, data, &length);
        if (result != status::Ok)
            return statusWordOnly(statusWordOf(result));
        // Le 00: as much as the block holds.
        const std::size_t wanted = lc == 0 ? length : std::min<std::size_t>(lc, length);
        return withStatusWord(Bytes(data, data + wanted), sw::Success);
    }
    case ins::UpdateBinary: {
        if (apdu.size() != 5 + lc || p1 != 0x00)
            return statusWordOnly(apdu.size() != 5 + lc ? sw::WrongLength : sw::WrongParameters);
        if (!memory)
            return statusWordOnly(sw::FunctionNotSupported);
        if (lc != (mifare ? 16u : 4u))
            return statusWordOnly(sw::WrongLength);
        if (const int32_t result = ensureActive(card); result != status::Ok)
            return statusWordOnly(statusWordOf(result));
        const uint8_t *data = apdu.data() + 5;
        return statusWordOnly(statusWordOf(mifare ? s.call<ReaderFunction::rf_M1_write>(uint16_t(0), p2, data)
                                                  : s.call<ReaderFunction::rf_ul_write>(uint16_t(0), p2, data)));
    }
    case ins::Envelope: {
        const auto change = pcsc::command::ParseChangeValue(apdu);
        if (!change || !mifare)
            return statusWordOnly(sw::FunctionNotSupported);
        if (const int32_t result = ensureActive(card); result != status::Ok)
            return statusWordOnly(statusWordOf(result));
        const bool up = change->operation == pcsc::command::ValueOperation::Increment;
        return statusWordOnly(statusWordOf(
            up ? s.call<ReaderFunction::rf_M1_increment>(uint16_t(0), change->block, change->amount)
               : s.call<ReaderFunction::rf_M1_decrement>(uint16_t(0), change->block, change->amount)));
    }
    default: return statusWordOnly(sw::FunctionNotSupported);
    }
}

} // namespace zentrava
