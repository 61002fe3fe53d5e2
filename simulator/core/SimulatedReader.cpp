#include "SimulatedReader.h"

#include "DesCipher.h"
#include "At88rf020Card.h"
#include "Iso15693Frames.h"
#include "MifareClassicCard.h"
#include "ProcessorCard.h"
#include "ReaderClock.h"
#include "ScenarioError.h"
#include "Shc1102Card.h"
#include "Sr176Card.h"
#include "Srix4kCard.h"
#include "StatusCode.h"
#include "Trh1064Card.h"
#include "UltralightCard.h"

#include <algorithm>
#include <cstdio>

namespace zentrava {

namespace {

constexpr int32_t BaudRates[] = {9600, 14400, 19200, 28800, 38400, 57600, 115200};
constexpr uint8_t RequestAll = 0x52;
constexpr uint8_t RequestIdle = 0x26;
// A short APDU: header, 255 data bytes and Le.
constexpr int32_t MaxCommandLength = 261;

void copyOut(const Bytes &bytes, uint8_t *target, uint8_t *len)
{
    const std::size_t count = std::min<std::size_t>(bytes.size(), 255);
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(count), target);
    *len = static_cast<uint8_t>(count);
}

} // namespace

void SimulatedReader::syncScenario()
{
    const ScenarioFile file(ScenarioFile::defaultLocation());
    const ScenarioFile::Stamp stamp = file.stamp();
    if (m_loaded && file.path() == m_scenarioPath && stamp == m_stamp)
        return;
    const bool samePath = m_loaded && file.path() == m_scenarioPath;
    m_loaded = true;
    m_scenarioPath = file.path();
    m_stamp = stamp;
    m_writeBack = false;
    m_settingsChanged = false;
    Scenario scenario;
    if (!stamp.exists) {
        scenario = Scenario::builtInDefault();
    } else {
        try {
            scenario = file.load();
            m_writeBack = scenario.reader.writeBack;
        } catch (const std::exception &error) {
            // The operator's file is left alone; the reader works but has no cards.
            std::fprintf(stderr, "libZentrava: scenario file ignored, the reader has no cards: %s\n", error.what());
            scenario = Scenario();
        }
    }
    // Only the faults changed (the tool armed or ended one): the cards stay as they are, selected
    // and authenticated, so that a fault strikes in the middle of what the program is doing.
    if (samePath && stamp.exists && onlyFaultsDiffer(scenario)) {
        adoptFaults(scenario.faults);
        return;
    }
    m_settings = scenario.reader;
    m_field.replaceCards(std::move(scenario.field));
    m_contact.replaceCard(std::move(scenario.contactSlot));
    m_awayCards.clear();
    m_awayContactCard.reset();
    m_cardsAway = false;
    adoptFaults(scenario.faults);
}

bool SimulatedReader::onlyFaultsDiffer(const Scenario &scenario) const
{
    const auto faultsText = [](const std::vector<ReaderFault> &faults) {
        return Scenario::serialize({}, {}, nullptr, faults);
    };
    if (faultsText(scenario.faults) == faultsText(m_faults.faults()))
        return false;
    const std::string fileState = Scenario::serialize(scenario.reader, scenario.field, scenario.contactSlot.get());
    return fileState == (m_cardsAway ? Scenario::serialize(m_settings, cardsOfScenario(), m_awayContactCard.get())
                                     : Scenario::serialize(m_settings, m_field.cards(), m_contact.card()));
}

void SimulatedReader::adoptFaults(const std::vector<ReaderFault> &faults)
{
    m_faults.adopt(faults);
    if (m_faults.cardsAway() && !m_cardsAway)
        takeCardsAway();
    else if (!m_faults.cardsAway() && m_cardsAway)
        layCardsBack();
}

void SimulatedReader::layCardsBack()
{
    m_field.replaceCards(cardsOfScenario());
    m_contact.replaceCard(std::move(m_awayContactCard));
    m_awayCards.clear();
    m_cardsAway = false;
}

std::optional<int32_t> SimulatedReader::faultBefore(std::string_view function)
{
    syncScenario();
    return m_faults.forcedStatus(function);
}

int32_t SimulatedReader::faultAfter(int32_t result, bool torn)
{
    if (torn) {
        // The card lost its power half way through programming: it never acknowledged the write
        // and starts idle again.
        m_faults.tearSpent();
        if (VirtualCard *card = m_field.activeCard())
            card->setState(CardState::Idle);
        result = status::NoCard;
    }
    if (m_faults.countCall())
        takeCardsAway();
    return finish(result);
}

void SimulatedReader::takeCardsAway()
{
    CardList staying;
    for (std::size_t i = 0; i < m_field.cards().size(); ++i) {
        const VirtualCard &card = *m_field.cards()[i];
        if (card.radioMode() == RadioMode::SamSlot)
            staying.push_back(card.clone());
        else
            m_awayCards.emplace_back(i, card.clone());
    }
    m_field.replaceCards(std::move(staying));
    m_cardsAway = true;
    if (m_contact.card()) {
        m_awayContactCard = m_contact.card()->clone();
        m_contact.replaceCard(nullptr);
    }
}

CardList SimulatedReader::cardsOfScenario() const
{
    CardList cards;
    auto away = m_awayCards.begin();
    auto staying = m_field.cards().begin();
    while (away != m_awayCards.end() || staying != m_field.cards().end()) {
        if (away != m_awayCards.end() && (away->first == cards.size() || staying == m_field.cards().end()))
            cards.push_back((away++)->second->clone());
        else
            cards.push_back((*staying++)->clone());
    }
    return cards;
}

int32_t SimulatedReader::finish(int32_t result)
{
    bool changed = m_field.takeMemoryChanged();
    changed = m_contact.takeMemoryChanged() || changed;
    changed = m_settingsChanged || changed;
    changed = m_faults.takeChanged() || changed;
    m_settingsChanged = false;
    if (!changed || !m_writeBack)
        return result;
    const ScenarioFile file(m_scenarioPath);
    // Replaced by the operator since we read it: their version wins and is read at the next call.
    if (file.stamp() != m_stamp)
        return result;
    try {
        if (!m_cardsAway)
            file.save(Scenario::serialize(m_settings, m_field.cards(), m_contact.card(), m_faults.faults()));
        else
            file.save(Scenario::serialize(m_settings, cardsOfScenario(), m_awayContactCard.get(), m_faults.faults()));
        m_stamp = file.stamp();
    } catch (const ScenarioError &error) {
        std::fprintf(stderr, "libZentrava: %s\n", error.what());
    }
    return result;
}

int32_t SimulatedReader::beginWithoutDevice()
{
    syncScenario();
    return m_portOpen ? status::Ok : status::PortNotOpen;
}

int32_t SimulatedReader::begin(uint16_t icdev)
{
    if (const int32_t result = beginWithoutDevice())
        return result;
    // One reader on the line, device index 0.
    return icdev == 0 ? status::Ok : status::WrongParameter;
}

int32_t SimulatedReader::libraryVersion(uint32_t *version)
{
    if (!version)
        return status::WrongParameter;
    syncScenario();
    *version = m_settings.libraryVersion;
    return status::Ok;
}

int32_t SimulatedReader::openPort(int32_t port, int32_t baud)
{
    syncScenario();
    m_portOpen = port == m_settings.port && std::find(std::begin(BaudRates), std::end(BaudRates), baud) != std::end(BaudRates);
    return m_portOpen ? status::Ok : status::PortUnavailable;
}

int32_t SimulatedReader::closePort()
{
    m_portOpen = false;
    return status::Ok;
}

int32_t SimulatedReader::setDeviceNumber(uint16_t number)
{
    if (const int32_t result = beginWithoutDevice())
        return result;
    if (m_settings.deviceNumber != number) {
        m_settings.deviceNumber = number;
        m_settingsChanged = true;
    }
    return finish(status::Ok);
}

int32_t SimulatedReader::getDeviceNumber(uint8_t *number)
{
    if (const int32_t result = beginWithoutDevice())
        return result;
    if (!number)
        return status::WrongParameter;
    number[0] = static_cast<uint8_t>(m_settings.deviceNumber);
    number[1] = static_cast<uint8_t>(m_settings.deviceNumber >> 8);
    return status::Ok;
}

int32_t SimulatedReader::model(uint16_t icdev, uint8_t *text, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!text || !len)
        return status::WrongParameter;
    copyOut(Bytes(m_settings.model.begin(), m_settings.model.end()), text, len);
    return status::Ok;
}

int32_t SimulatedReader::beep(uint16_t icdev, uint8_t)
{
    return begin(icdev);
}

int32_t SimulatedReader::light(uint16_t icdev, uint8_t colour)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (colour > 3)
        return status::WrongParameter;
    m_light = colour;
    return status::Ok;
}

int32_t SimulatedReader::antenna(uint16_t icdev, uint8_t on)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (on > 1)
        return status::WrongParameter;
    m_field.setAntenna(on == 1);
    return status::Ok;
}

int32_t SimulatedReader::initType(uint16_t icdev, uint8_t type)
{
    if (const int32_t result = begin(icdev))
        return result;
    const auto mode = radioModeFromByte(type);
    if (!mode)
        return status::WrongParameter;
    m_field.setRadioMode(*mode);
    return status::Ok;
}

int32_t SimulatedReader::readTime(uint16_t icdev, uint8_t *clock, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!clock || !len)
        return status::WrongParameter;
    const ReaderClock::Bcd now = ReaderClock::read(m_settings.clockOffsetSeconds, ReaderClock::localNow());
    std::copy(now.begin(), now.end(), clock);
    *len = static_cast<uint8_t>(now.size());
    return status::Ok;
}

int32_t SimulatedReader::writeTime(uint16_t icdev, const uint8_t *clock)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!clock)
        return status::WrongParameter;
    const auto offset = ReaderClock::offsetFor(clock, ReaderClock::localNow());
    if (!offset)
        return status::WrongParameter;
    m_settings.clockOffsetSeconds = *offset;
    m_settingsChanged = true;
    return finish(status::Ok);
}

int32_t SimulatedReader::request(uint16_t icdev, uint8_t mode, uint8_t *tagType)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!tagType || (mode != RequestAll && mode != RequestIdle))
        return status::WrongParameter;
    // A type A request reaches no tag of another radio mode.
    if (m_field.radioMode() != RadioMode::Iso14443A)
        return status::NoCard;
    const VirtualCard *first = m_field.request(mode == RequestAll);
    if (!first)
        return status::NoCard;
    tagType[0] = first->tagType()[0];
    tagType[1] = first->tagType()[1];
    return status::Ok;
}

int32_t SimulatedReader::anticollision(uint16_t icdev, uint8_t, uint8_t *serial, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!serial || !len)
        return status::WrongParameter;
    const auto *card = m_field.firstReady<MifareClassicCard>();
    if (!card)
        return status::NoCard;
    copyOut(card->uid(), serial, len);
    return status::Ok;
}

int32_t SimulatedReader::select(uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!serial || !size || serialLen != 4)
        return status::WrongParameter;
    const Bytes wanted(serial, serial + 4);
    auto *card = m_field.firstReady<MifareClassicCard>([&](const MifareClassicCard &c) { return c.uid() == wanted; });
    if (!card)
        return status::NoCard;
    m_field.activate(card);
    *size = card->sak();
    return status::Ok;
}

int32_t SimulatedReader::halt(uint16_t icdev)
{
    if (const int32_t result = begin(icdev))
        return result;
    VirtualCard *card = m_field.activeCard();
    if (!card)
        return status::NoCard;
    card->setState(CardState::Halted);
    return status::Ok;
}

int32_t SimulatedReader::mifareAuthenticate(uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!key)
        return status::WrongParameter;
    auto *card = m_field.active<MifareClassicCard>();
    return card ? card->authenticate(mode, block, key) : status::NoCard;
}

int32_t SimulatedReader::mifareRead(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    int32_t result = status::NoCard;
    if (auto *mifare = m_field.active<MifareClassicCard>())
        result = mifare->read(block, data);
    else if (auto *ultralight = m_field.active<UltralightCard>())
        result = ultralight->read(block, data);
    if (result == status::Ok)
        *len = 16;
    return result;
}

int32_t SimulatedReader::mifareWrite(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = m_field.active<MifareClassicCard>();
    return finish(card ? card->write(block, data) : status::NoCard);
}

int32_t SimulatedReader::mifareInitValue(uint16_t icdev, uint8_t block, int32_t value)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = m_field.active<MifareClassicCard>();
    return finish(card ? card->initValue(block, value) : status::NoCard);
}

int32_t SimulatedReader::mifareReadValue(uint16_t icdev, uint8_t block, int32_t *value)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!value)
        return status::WrongParameter;
    auto *card = m_field.active<MifareClassicCard>();
    return card ? card->readValue(block, value) : status::NoCard;
}

int32_t SimulatedReader::mifareDecrement(uint16_t icdev, uint8_t block, int32_t amount)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = m_field.active<MifareClassicCard>();
    return finish(card ? card->decrement(block, amount) : status::NoCard);
}

int32_t SimulatedReader::mifareIncrement(uint16_t icdev, uint8_t block, int32_t amount)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = m_field.active<MifareClassicCard>();
    return finish(card ? card->increment(block, amount) : status::NoCard);
}

int32_t SimulatedReader::resetProcessorCard(uint16_t icdev, uint8_t mode, bool desfire, uint8_t *answer, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!answer || !len || (mode != RequestAll && mode != RequestIdle))
        return status::WrongParameter;
    m_field.request(mode == RequestAll);
    const auto kind = desfire ? ProcessorCard::Kind::Desfire : ProcessorCard::Kind::TypeA;
    auto *card = m_field.firstReady<ProcessorCard>([kind](const ProcessorCard &c) { return c.kind() == kind; });
    if (!card)
        return status::NoCard;
    m_field.activate(card);
    Bytes activation = card->uid();
    activation.insert(activation.end(), card->answerToSelect().begin(), card->answerToSelect().end());
    copyOut(activation, answer, len);
    return status::Ok;
}

int32_t SimulatedReader::typeAReset(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return resetProcessorCard(icdev, mode, false, answer, len);
}

int32_t SimulatedReader::desfireReset(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return resetProcessorCard(icdev, mode, true, answer, len);
}

int32_t SimulatedReader::cosCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer,
                                    uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    // An empty frame never reaches the card.
    if (!command || !answer || !len || commandLen <= 0 || commandLen > MaxCommandLength)
        return status::WrongParameter;
    auto *card = m_field.active<ProcessorCard>();
    if (!card)
        return status::NoCard;
    copyOut(card->transceive(Bytes(command, command + commandLen)), answer, len);
    return finish(status::Ok);
}

int32_t SimulatedReader::contactlessDeselect(uint16_t icdev)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = m_field.active<ProcessorCard>();
    if (!card)
        return status::NoCard;
    card->setState(CardState::Halted);
    return status::Ok;
}

int32_t SimulatedReader::ultralightSelect(uint16_t icdev, uint8_t *serial, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!serial || !len)
        return status::WrongParameter;
    auto *card = m_field.firstReady<UltralightCard>();
    if (!card)
        return status::NoCard;
    m_field.activate(card);
    copyOut(card->uid(), serial, len);
    return status::Ok;
}

int32_t SimulatedReader::ultralightWrite(uint16_t icdev, uint8_t page, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = m_field.active<UltralightCard>();
    return finish(card ? card->write(page, data) : status::NoCard);
}

Shc1102Card *SimulatedReader::shc1102Card()
{
    // The tag answered the last request; its commands then address it directly.
    for (const auto &card : m_field.cards()) {
        auto *tag = dynamic_cast<Shc1102Card *>(card.get());
        if (tag && (tag->state() == CardState::Ready || tag->state() == CardState::Active)) {
            m_field.activate(tag);
            return tag;
        }
    }
    return nullptr;
}

int32_t SimulatedReader::shc1102Authenticate(uint16_t icdev, const uint8_t *password)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!password)
        return status::WrongParameter;
    auto *card = shc1102Card();
    return card ? card->authenticate(password) : status::NoCard;
}

int32_t SimulatedReader::shc1102Read(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    auto *card = shc1102Card();
    const int32_t result = card ? card->read(block, data) : status::NoCard;
    if (result == status::Ok)
        *len = 4;
    return result;
}

int32_t SimulatedReader::shc1102Write(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = shc1102Card();
    return finish(card ? card->write(block, data) : status::NoCard);
}

// Request B (0 wakes idle tags, 8 halted ones too) makes the first card that answers in the chosen
// radio mode the addressed one; a refused command or a deselect ends that.
int32_t SimulatedReader::requestTypeB(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    constexpr uint8_t RequestB = 0x00;
    constexpr uint8_t WakeUpB = 0x08;
    if (const int32_t result = begin(icdev))
        return result;
    // Some hosts pass 1 for the wake-up: it is taken as 8.
    constexpr uint8_t WakeUpShort = 0x01;
    if (!answer || !len || (mode != RequestB && mode != WakeUpB && mode != WakeUpShort))
        return status::WrongParameter;
    // Cards of other modulations stay asleep through the request.
    m_field.request(mode != RequestB);
    // Every type B card answers in field order: the AT88RF020 in its own mode, the TRH1064 and
    // the processor cards in type B.
    auto *card = m_field.firstReady<VirtualCard>([](const VirtualCard &c) { return c.answerToRequestB().has_value(); });
    if (!card)
        return status::NoCard;
    m_field.activate(card);
    copyOut(*card->answerToRequestB(), answer, len);
    return status::Ok;
}

int32_t SimulatedReader::at88rf020Check(uint16_t icdev, const uint8_t *password)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!password)
        return status::WrongParameter;
    auto *card = m_field.active<At88rf020Card>();
    return card ? card->check(password) : status::NoCard;
}

int32_t SimulatedReader::at88rf020Read(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    auto *card = m_field.active<At88rf020Card>();
    const int32_t result = card ? card->read(page, data) : status::NoCard;
    if (result == status::Ok)
        *len = At88rf020Card::PageBytes;
    return result;
}

int32_t SimulatedReader::at88rf020Write(uint16_t icdev, uint8_t page, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = m_field.active<At88rf020Card>();
    return finish(card ? card->write(page, data) : status::NoCard);
}

int32_t SimulatedReader::at88rf020Lock(uint16_t icdev, const uint8_t *lockBytes)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!lockBytes)
        return status::WrongParameter;
    auto *card = m_field.active<At88rf020Card>();
    return finish(card ? card->lock(lockBytes) : status::NoCard);
}

int32_t SimulatedReader::at88rf020Count(uint16_t icdev, const uint8_t *signature)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!signature)
        return status::WrongParameter;
    auto *card = m_field.active<At88rf020Card>();
    return finish(card ? card->count(signature) : status::NoCard);
}

int32_t SimulatedReader::at88rf020Deselect(uint16_t icdev)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = m_field.active<At88rf020Card>();
    if (!card)
        return status::NoCard;
    card->setState(CardState::Halted);
    return status::Ok;
}

// ST tags: the selection wakes every ST tag in the field and selects the first, whose chip ID
// it answers; the SR176 and SRIX4K commands then address the tag of their kind among those that
// answered.
int32_t SimulatedReader::stSelect(uint16_t icdev, uint8_t *chipId)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!chipId)
        return status::WrongParameter;
    if (m_field.radioMode() != RadioMode::StMicro)
        return status::NoCard;
    VirtualCard *first = m_field.request(true);
    if (auto *sr176 = dynamic_cast<Sr176Card *>(first))
        *chipId = sr176->chipId();
    else if (auto *srix4k = dynamic_cast<Srix4kCard *>(first))
        *chipId = srix4k->chipId();
    else
        return status::NoCard;
    m_field.activate(first);
    return status::Ok;
}

template <class Card> Card *SimulatedReader::selectedStTag()
{
    for (const auto &card : m_field.cards()) {
        auto *tag = dynamic_cast<Card *>(card.get());
        if (tag && (tag->state() == CardState::Ready || tag->state() == CardState::Active)) {
            m_field.activate(tag);
            return tag;
        }
    }
    return nullptr;
}

int32_t SimulatedReader::sr176Read(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    auto *card = selectedStTag<Sr176Card>();
    const int32_t result = card ? card->read(block, data) : status::NoCard;
    if (result == status::Ok)
        *len = Sr176Card::BlockBytes;
    return result;
}

int32_t SimulatedReader::sr176Write(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = selectedStTag<Sr176Card>();
    return finish(card ? card->write(block, data) : status::NoCard);
}

int32_t SimulatedReader::sr176Protect(uint16_t icdev, uint8_t lockRegister)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = selectedStTag<Sr176Card>();
    return finish(card ? card->protect(lockRegister) : status::NoCard);
}

int32_t SimulatedReader::srix4kRead(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    auto *card = selectedStTag<Srix4kCard>();
    const int32_t result = card ? card->read(block, data) : status::NoCard;
    if (result == status::Ok)
        *len = Srix4kCard::BlockBytes;
    return result;
}

int32_t SimulatedReader::srix4kWrite(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *card = selectedStTag<Srix4kCard>();
    return finish(card ? card->write(block, data) : status::NoCard);
}

int32_t SimulatedReader::srix4kUid(uint16_t icdev, uint8_t *uid, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!uid || !len)
        return status::WrongParameter;
    auto *card = selectedStTag<Srix4kCard>();
    if (!card)
        return status::NoCard;
    copyOut(card->uid(), uid, len);
    return status::Ok;
}

int32_t SimulatedReader::srix4kWriteLockRegister(uint16_t icdev, uint8_t lockRegister)
{
    if (const int32_t result = begin(icdev))
        return result;
    auto *card = selectedStTag<Srix4kCard>();
    return finish(card ? card->writeLockRegister(lockRegister) : status::NoCard);
}

int32_t SimulatedReader::trh1064Read(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !len)
        return status::WrongParameter;
    auto *tag = m_field.active<Trh1064Card>();
    const int32_t result = tag ? tag->readPage(page, data) : status::NoCard;
    if (result == status::Ok)
        *len = static_cast<uint8_t>(Trh1064Card::pageSize(page));
    return result;
}

int32_t SimulatedReader::trh1064Write(uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data)
        return status::WrongParameter;
    auto *tag = m_field.active<Trh1064Card>();
    return finish(tag ? tag->writePage(page, data, count) : status::NoCard);
}

int32_t SimulatedReader::trh1064Check(uint16_t icdev, const uint8_t *key)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!key)
        return status::WrongParameter;
    auto *tag = m_field.active<Trh1064Card>();
    return tag ? tag->checkKey(key) : status::NoCard;
}

std::optional<Bytes> SimulatedReader::typeBFrame(const Bytes &frame)
{
    constexpr uint8_t Reqb = 0x05, Attrib = 0x1D, Hltb = 0x50, WakeUpFlag = 0x08;
    const auto withPupi = [&frame](const VirtualCard &card) {
        const Bytes pupi = card.uid();
        return card.answerToRequestB() && frame.size() >= 1 + pupi.size() &&
               std::equal(pupi.begin(), pupi.end(), frame.begin() + 1);
    };
    const uint8_t command = frame[0];
    if (command == Reqb && frame.size() == 3) {
        m_field.request((frame[2] & WakeUpFlag) != 0);
        auto *card = m_field.firstReady<VirtualCard>([](const VirtualCard &c) { return c.answerToRequestB().has_value(); });
        return card ? card->answerToRequestB() : std::nullopt;
    }
    if (command == Attrib && frame.size() >= 9) {
        auto *card = m_field.firstReady<VirtualCard>(withPupi);
        if (!card)
            return std::nullopt;
        m_field.activate(card);
        return Bytes{0x00}; // MBLI and CID 0
    }
    VirtualCard *active = m_field.activeCard();
    if (command == Hltb && frame.size() == 5 && active && withPupi(*active)) {
        active->setState(CardState::Halted);
        return Bytes{0x00};
    }
    // An I-block without CID or NAD: the PCB, then the APDU; the card answers with the same PCB.
    auto *card = m_field.active<ProcessorCard>();
    if ((command & 0xFE) == 0x02 && frame.size() > 1 && card && card->kind() == ProcessorCard::Kind::TypeB) {
        Bytes answer = card->transceive(Bytes(frame.begin() + 1, frame.end()));
        answer.insert(answer.begin(), command);
        return answer;
    }
    return std::nullopt;
}

int32_t SimulatedReader::transceive(uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!data || !answer || !len || count <= 0 || count > MaxCommandLength)
        return status::WrongParameter;
    // Raw frames reach type B cards and ISO 15693 tags, each in its own radio mode.
    std::optional<Bytes> reply;
    if (m_field.antennaOn() && m_field.radioMode() == RadioMode::Iso14443B)
        reply = typeBFrame(Bytes(data, data + count));
    else if (m_field.radioMode() == RadioMode::Iso15693)
        reply = Iso15693Frames::answer(m_field, Bytes(data, data + count));
    if (!reply)
        return status::NoCard;
    copyOut(*reply, answer, len);
    return finish(status::Ok);
}

// OpenCard powers a memory card in the contact slot; a processor card there answers its reset.
int32_t SimulatedReader::openContactCard(uint16_t icdev)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (m_contact.card())
        return finish(m_contact.openCard());
    return m_field.slotCard(RadioMode::ContactSlot) ? status::Ok : status::NoCard;
}

int32_t SimulatedReader::resetSlotCard(uint16_t icdev, RadioMode slot, uint8_t *answer, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!answer || !len)
        return status::WrongParameter;
    auto *card = dynamic_cast<ProcessorCard *>(m_field.slotCard(slot));
    if (!card)
        return status::NoCard;
    // A reset ends whatever session the card had.
    card->setState(CardState::Idle);
    card->setState(CardState::Active);
    copyOut(card->answerToSelect(), answer, len);
    return status::Ok;
}

int32_t SimulatedReader::slotCommand(uint16_t icdev, RadioMode slot, const uint8_t *command, int32_t commandLen,
                                     uint8_t *response, uint8_t *len)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (!command || !response || !len || commandLen <= 0 || commandLen > MaxCommandLength)
        return status::WrongParameter;
    // A card that was not reset since it was powered does not talk.
    auto *card = dynamic_cast<ProcessorCard *>(m_field.slotCard(slot));
    if (!card || card->state() != CardState::Active)
        return status::NoCard;
    copyOut(card->transceive(Bytes(command, command + commandLen)), response, len);
    return finish(status::Ok);
}

int32_t SimulatedReader::contactReset(uint16_t icdev, uint8_t *answer, uint8_t *len)
{
    return resetSlotCard(icdev, RadioMode::ContactSlot, answer, len);
}

int32_t SimulatedReader::contactCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response,
                                        uint8_t *len)
{
    return slotCommand(icdev, RadioMode::ContactSlot, command, commandLen, response, len);
}

int32_t SimulatedReader::samInit(uint16_t icdev, uint8_t baudCode)
{
    if (const int32_t result = begin(icdev))
        return result;
    if (baudCode > 1)
        return status::WrongParameter;
    // A new rate powers the module down: it must be reset again.
    m_samBaudCode = baudCode;
    if (VirtualCard *sam = m_field.slotCard(RadioMode::SamSlot))
        sam->setState(CardState::Idle);
    return status::Ok;
}

int32_t SimulatedReader::samReset(uint16_t icdev, uint8_t *answer, uint8_t *len)
{
    return resetSlotCard(icdev, RadioMode::SamSlot, answer, len);
}

int32_t SimulatedReader::samCommand(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response,
                                    uint8_t *len)
{
    return slotCommand(icdev, RadioMode::SamSlot, command, commandLen, response, len);
}

int32_t SimulatedReader::desCipher(bool encrypt, uint8_t *result, const uint8_t *data, int32_t dataLen,
                                   const uint8_t *key, int32_t keyLen)
{
    // The caller's result buffer holds 256 bytes.
    if (!result || !data || !key || dataLen <= 0 || dataLen > 256 || keyLen <= 0)
        return status::WrongParameter;
    const auto output = desEcb(encrypt, Bytes(key, key + keyLen), Bytes(data, data + dataLen));
    // The caller's result buffer holds 256 bytes.
    if (!output || output->size() > 256)
        return status::WrongParameter;
    std::copy(output->begin(), output->end(), result);
    return status::Ok;
}

} // namespace zentrava
