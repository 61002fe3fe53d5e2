#pragma once

// The reader functions of the program carried out on PC/SC readers. The contactless reader is the
// port's (COM1 the first reader pcscd lists); the contact slot and the SAM slot are further readers
// (PcscSettings). Each member takes the list's parameters after the device index and answers a
// status: 0, a PC/SC error as its 32-bit value, a failed class-FF command's status word, or one
// of PcscStatus.h.
//
// Cards are found by the functions that find or reset one (request, selection, resets, OpenCard,
// inventory); the others work on the card found last and fail once it is gone, so that a card
// swapped between two operations is never written as if it were the first.

#include "PcscAnswers.h"
#include "PcscApi.h"
#include "PcscSettings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PcscReader
{
public:
    PcscReader(const PcscFunctions &pcsc, std::function<PcscSettings()> settings);
    ~PcscReader();
    PcscReader(const PcscReader &) = delete;
    PcscReader &operator=(const PcscReader &) = delete;

    // The reader itself.
    int32_t libraryVersion(uint32_t *version);
    int32_t openPort(int32_t port, int32_t baud);
    int32_t closePort();
    int32_t model(uint8_t *text, uint8_t *len);
    int32_t antenna(uint8_t on);
    int32_t initType(uint8_t type);

    // ISO 14443 A storage cards.
    int32_t request(uint8_t mode, uint8_t *tagType);
    int32_t anticollision(uint8_t bitCount, uint8_t *serial, uint8_t *len);
    int32_t select(const uint8_t *serial, uint8_t serialLen, uint8_t *size);
    int32_t authenticate(uint8_t mode, uint8_t block, const uint8_t *key);
    int32_t readBlock(uint8_t block, uint8_t *data, uint8_t *len);
    int32_t writeBlock(uint8_t block, const uint8_t *data);
    int32_t initValue(uint8_t block, int32_t value);
    int32_t readValue(uint8_t block, int32_t *value);
    int32_t decrement(uint8_t block, int32_t amount);
    int32_t increment(uint8_t block, int32_t amount);
    int32_t ultralightSelect(uint8_t *serial, uint8_t *len);
    int32_t ultralightWrite(uint8_t page, const uint8_t *data);

    // Processor cards: contactless, in the contact slot, in the SAM slot.
    int32_t typeAReset(uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t desfireReset(uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t requestB(uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t cosCommand(const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len);
    int32_t openContactCard();
    int32_t contactReset(uint8_t *answer, uint8_t *len);
    int32_t contactCommand(const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len);
    int32_t samInit(uint8_t baudCode);
    int32_t samReset(uint8_t *answer, uint8_t *len);
    int32_t samCommand(const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len);

    // The one ISO 15693 tag the reader activates.
    int32_t iso15693Inventory(uint8_t *records, uint8_t *len);
    int32_t iso15693Read(uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data,
                         uint8_t *len);
    int32_t iso15693Write(uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data);

private:
    enum SlotIndex { Contactless, Contact, Sam, SlotCount };
    struct Slot {
        std::string reader; // empty: no reader serves the slot
        bool connected = false;
        SCARDHANDLE handle = 0;
        DWORD protocol = 0;
        pcsc::Bytes atr;
        pcsc::Bytes uid; // GET DATA of this connection, read once
    };

    int32_t ensureContext();
    // Releases the context after pcscd went away, so that the next call asks for a new one.
    int32_t failed(LONG result, Slot *slot);
    void forget(Slot &slot, DWORD disposition);
    int32_t waitForCard(const Slot &slot);
    int32_t findCard(Slot &slot);
    int32_t resetCard(Slot &slot);
    int32_t readAtr(Slot &slot);
    int32_t transmit(Slot &slot, std::span<const uint8_t> command, std::span<const uint8_t> &answer);
    int32_t classFf(std::span<const uint8_t> command, std::span<const uint8_t> *data = nullptr);
    int32_t updateBinary(uint8_t block, const uint8_t *data, std::size_t bytes);
    int32_t cardUid(std::span<const uint8_t> &uid);
    int32_t findTypeACard(Slot &slot);
    int32_t typeAActivation(std::size_t uidBytes, uint8_t *answer, uint8_t *len);
    int32_t changeValue(pcsc::command::ValueOperation operation, uint8_t block, int32_t amount);
    int32_t apdu(SlotIndex slot, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len);
    int32_t slotReset(SlotIndex slot, uint8_t *answer, uint8_t *len);
    int32_t findTag(const uint8_t *uid);
    pcsc::AtrFacts atrFacts(const Slot &slot) const;

    const PcscFunctions &m_pcsc;
    std::function<PcscSettings()> m_settingsSource;
    PcscSettings m_settings;
    bool m_portOpen = false;
    bool m_hasContext = false;
    SCARDCONTEXT m_context = 0;
    Slot m_slots[SlotCount];
    std::vector<uint8_t> m_answer; // the receive buffer of every transmit
};
