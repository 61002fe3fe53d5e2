#pragma once

#include "ContactSlot.h"
#include "FaultPlan.h"
#include "ReaderSettings.h"
#include "RfField.h"
#include "ScenarioFile.h"
#include "WriteTear.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentrava {

class Shc1102Card;
class At88rf020Card;
class Sr176Card;
class Srix4kCard;

// The simulated reader behind libZentrava.so: one method per entry point of the reader library,
// with the contract's arguments and statuses. Before each call it brings its field up to date
// with the scenario file (another card laid on the reader), and after a call that changed a
// card's memory or the reader's settings it writes them back when the scenario file allows it.
class SimulatedReader {
public:
    // Every entry point runs through here with the name the program logs for it: the operator's
    // faults in the scenario file decide whether the call reaches the reader (a time-out, a
    // forced status), tear the write it makes, and count it towards the cards leaving the field.
    template <class Call> int32_t run(std::string_view function, Call call)
    {
        if (const auto forced = faultBefore(function))
            return faultAfter(*forced, false);
        const WriteTear::Scope tear(m_faults.tearBytes());
        const int32_t result = call();
        return faultAfter(result, tear.torn());
    }

    int32_t libraryVersion(uint32_t *version);
    int32_t openPort(int32_t port, int32_t baud);
    int32_t closePort();
    int32_t setDeviceNumber(uint16_t number);
    int32_t getDeviceNumber(uint8_t *number);
    int32_t model(uint16_t icdev, uint8_t *text, uint8_t *len);
    int32_t beep(uint16_t icdev, uint8_t tensOfMs);
    int32_t light(uint16_t icdev, uint8_t colour);
    int32_t antenna(uint16_t icdev, uint8_t on);
    int32_t initType(uint16_t icdev, uint8_t type);
    int32_t readTime(uint16_t icdev, uint8_t *clock, uint8_t *len);
    int32_t writeTime(uint16_t icdev, const uint8_t *clock);

    int32_t request(uint16_t icdev, uint8_t mode, uint8_t *tagType);
    int32_t anticollision(uint16_t icdev, uint8_t bitCount, uint8_t *serial, uint8_t *len);
    int32_t select(uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size);
    int32_t halt(uint16_t icdev);
    int32_t mifareAuthenticate(uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key);
    int32_t mifareRead(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len);
    int32_t mifareWrite(uint16_t icdev, uint8_t block, const uint8_t *data);
    int32_t mifareInitValue(uint16_t icdev, uint8_t block, int32_t value);
    int32_t mifareReadValue(uint16_t icdev, uint8_t block, int32_t *value);
    int32_t mifareDecrement(uint16_t icdev, uint8_t block, int32_t amount);
    int32_t mifareIncrement(uint16_t icdev, uint8_t block, int32_t amount);
    int32_t typeAReset(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t desfireReset(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t cosCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len);
    int32_t contactlessDeselect(uint16_t icdev);
    int32_t ultralightSelect(uint16_t icdev, uint8_t *serial, uint8_t *len);
    int32_t ultralightWrite(uint16_t icdev, uint8_t page, const uint8_t *data);
    int32_t shc1102Authenticate(uint16_t icdev, const uint8_t *password);
    int32_t shc1102Read(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len);
    int32_t shc1102Write(uint16_t icdev, uint8_t block, const uint8_t *data);
    // AT88RF020 (radio mode 0x72), and the ST tags SR176 and SRIX4K (radio mode 0x73).
    int32_t at88rf020Check(uint16_t icdev, const uint8_t *password);
    int32_t at88rf020Read(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len);
    int32_t at88rf020Write(uint16_t icdev, uint8_t page, const uint8_t *data);
    int32_t at88rf020Lock(uint16_t icdev, const uint8_t *lockBytes);
    int32_t at88rf020Count(uint16_t icdev, const uint8_t *signature);
    int32_t at88rf020Deselect(uint16_t icdev);
    int32_t stSelect(uint16_t icdev, uint8_t *chipId);
    int32_t sr176Read(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len);
    int32_t sr176Write(uint16_t icdev, uint8_t block, const uint8_t *data);
    int32_t sr176Protect(uint16_t icdev, uint8_t lockRegister);
    int32_t srix4kRead(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len);
    int32_t srix4kWrite(uint16_t icdev, uint8_t block, const uint8_t *data);
    int32_t srix4kUid(uint16_t icdev, uint8_t *uid, uint8_t *len);
    int32_t srix4kWriteLockRegister(uint16_t icdev, uint8_t lockRegister);
    // ISO 14443B request (REQB, or WUPB that wakes halted tags too) and the TRH1064 tag.
    int32_t requestTypeB(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len);
    int32_t trh1064Read(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len);
    int32_t trh1064Write(uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count);
    int32_t trh1064Check(uint16_t icdev, const uint8_t *key);

    // ISO 15693 tags: a command of Iso15693Commands runs on the field once the reader is ready,
    // and what it changed is written back.
    template <class Command> int32_t iso15693(uint16_t icdev, Command command)
    {
        if (const int32_t result = begin(icdev))
            return result;
        return finish(command(m_field));
    }

    // A command of the contact slot: the reader brought up to date, the command given the slot,
    // and changed card memory written back.
    template <class Command> int32_t contact(uint16_t icdev, Command command)
    {
        if (const int32_t result = begin(icdev))
            return result;
        return finish(command(m_contact));
    }

    // Type B processor cards, the raw frames of the pass-through, the contact slot's processor
    // card, the SAM slot and the cipher tool (which needs no port).
    int32_t transceive(uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len);
    int32_t openContactCard(uint16_t icdev);
    int32_t contactReset(uint16_t icdev, uint8_t *answer, uint8_t *len);
    int32_t contactCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len);
    int32_t samInit(uint16_t icdev, uint8_t baudCode);
    int32_t samReset(uint16_t icdev, uint8_t *answer, uint8_t *len);
    int32_t samCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len);
    static int32_t desCipher(bool encrypt, uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key,
                             int32_t keyLen);

private:
    // Up to date with the scenario file, the device index 0 and the port open: Ok, or the refusal.
    int32_t begin(uint16_t icdev);
    int32_t beginWithoutDevice();
    void syncScenario();
    // Writes changed memory and settings back; passes the status through.
    int32_t finish(int32_t result);
    int32_t resetProcessorCard(uint16_t icdev, uint8_t mode, bool desfire, uint8_t *answer, uint8_t *len);
    Shc1102Card *shc1102Card();
    template <class Card> Card *selectedStTag();
    int32_t resetSlotCard(uint16_t icdev, RadioMode slot, uint8_t *answer, uint8_t *len);
    int32_t slotCommand(uint16_t icdev, RadioMode slot, const uint8_t *command, int32_t commandLen, uint8_t *response,
                        uint8_t *len);
    // A raw ISO 14443 type B frame (without its CRC) and the answer of the card, if any.
    std::optional<Bytes> typeBFrame(const Bytes &frame);

    std::optional<int32_t> faultBefore(std::string_view function);
    int32_t faultAfter(int32_t result, bool torn);
    // The operator took every card off the reader (the SAM stays in its slot inside it).
    void takeCardsAway();
    void layCardsBack();
    void adoptFaults(const std::vector<ReaderFault> &faults);
    // The file read anew differs from the reader's own state in its faults only.
    bool onlyFaultsDiffer(const Scenario &scenario) const;
    // The cards of the scenario, those taken away included, for writing it back.
    CardList cardsOfScenario() const;

    FaultPlan m_faults;
    // Cards taken away, by their place in the field list, and the contact slot's.
    std::vector<std::pair<std::size_t, std::unique_ptr<VirtualCard>>> m_awayCards;
    std::unique_ptr<ContactCard> m_awayContactCard;
    bool m_cardsAway = false;
    bool m_loaded = false;
    std::string m_scenarioPath;
    ScenarioFile::Stamp m_stamp;
    bool m_writeBack = false;
    bool m_settingsChanged = false;
    ReaderSettings m_settings;
    RfField m_field;
    ContactSlot m_contact;
    bool m_portOpen = false;
    uint8_t m_light = 0;
    uint8_t m_samBaudCode = 0;
};

} // namespace zentrava
