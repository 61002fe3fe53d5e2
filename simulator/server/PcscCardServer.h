#pragma once

#include "ReaderSession.h"
#include "VpcdConnection.h"

#include <array>
#include <chrono>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>

namespace zentrava {

// The simulated reader's cards served to pcscd through the vpcd driver (zentrava-sim
// serve-pcsc), on three virtual readers: the top card of the field as the card of a PC/SC
// contactless reader, the contact slot's processor card and the SAM. Every command reaches the
// card models through the reader's session, as the simulated library's calls do: the scenario
// file is followed (another card laid on top swaps the card pcscd sees), the operator's faults
// apply, and what the cards change is written back.
//
// The contactless reader answers the class-FF commands of PC/SC part 3 the way a reader does
// for the card on it: GET DATA (UID, historical bytes), LOAD KEYS, GENERAL AUTHENTICATE, READ
// and UPDATE BINARY, and the value command FF C2 00 03; other APDUs go to a processor card.
// Cards a PC/SC reader does not activate (vicinity tags, type B, the ST and vendor tags) are
// not shown; nor is the contact slot's memory card.
class PcscCardServer {
public:
    struct Ports {
        std::string host = "127.0.0.1";
        // vpcd's own configuration listens on 0x8C7B for its first reader, one port up for the second.
        uint16_t contactless = 0x8C7B;
        uint16_t contact = 0x8C7C;
        uint16_t sam = 0x8C7D;
    };

    PcscCardServer(ReaderSession &session, const Ports &ports, std::ostream &log);
    // Serves until `stopRequested` answers true, which it asks at least every tick.
    void serve(const std::function<bool()> &stopRequested);

private:
    enum SlotIndex { Contactless, Contact, Sam, SlotCount };
    enum class Family { None, Mifare1k, Mifare4k, Ultralight, TypeA, Desfire, Contact, Sam };
    // The card a virtual reader shows, as the session has it now.
    struct CardFacts {
        Family family = Family::None;
        Bytes uid;
        Bytes answer; // the answer to select of a contactless processor card, the ATR of a slot's
        bool active = false;
        std::string identity() const;
    };
    struct Slot {
        const char *name;
        VpcdConnection link;
        std::string shown; // the identity of the card laid on the reader, empty for none
        std::chrono::steady_clock::time_point absentUntil{};
        bool unreachable = false;
    };

    CardFacts facts(SlotIndex slot);
    void followField();
    void handle(SlotIndex slot, const Bytes &message);
    Bytes atr(const CardFacts &card) const;
    Bytes answerApdu(SlotIndex slot, const Bytes &apdu);
    Bytes answerClassFf(const CardFacts &card, const Bytes &apdu);
    // Selects or resets the card as the reader does when it is powered or dropped out.
    int32_t activate(const CardFacts &card);
    int32_t ensureActive(const CardFacts &card);
    void ensurePortOpen();

    ReaderSession &m_session;
    std::ostream &m_log;
    std::array<Slot, SlotCount> m_slots;
    // The reader's key slots, filled by LOAD KEYS.
    std::map<uint8_t, std::array<uint8_t, 6>> m_keys;
};

} // namespace zentrava
