#include "PcscReader.h"

#include "PcscStatus.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

// A PC/SC result as the 32-bit status the program shows (LONG is 8 bytes in pcsc-lite).
int32_t statusOf(LONG result) { return int32_t(uint32_t(result)); }

// The results after which the context is gone: pcscd stopped or was restarted, or did not
// answer in time (outside a wait for a card, which handles its own time-out).
bool contextLost(LONG result)
{
    return result == LONG(SCARD_E_NO_SERVICE) || result == LONG(SCARD_E_SERVICE_STOPPED)
        || result == LONG(SCARD_E_INVALID_HANDLE) || result == LONG(SCARD_E_TIMEOUT)
        || result == LONG(SCARD_F_COMM_ERROR);
}

// Copies an answer for the program through its one-byte length.
int32_t give(std::span<const uint8_t> bytes, uint8_t *out, uint8_t *len)
{
    if (bytes.size() > pcsc::MaxAnswerBytes)
        return pcscstatus::AnswerTooLong;
    std::copy(bytes.begin(), bytes.end(), out);
    *len = uint8_t(bytes.size());
    return pcscstatus::Ok;
}

bool isIso15693(const pcsc::AtrFacts &atr)
{
    // ISO 15693 parts 1 to 4.
    return atr.kind == pcsc::AtrFacts::Kind::StorageCard && atr.standard >= 0x09 && atr.standard <= 0x0C;
}

constexpr std::size_t ReceiveBufferBytes = 65536 + 2;
constexpr int32_t MaxCommandBytes = 65544; // an extended APDU

} // namespace

PcscReader::PcscReader(const PcscFunctions &pcsc, std::function<PcscSettings()> settings)
    : m_pcsc(pcsc), m_settingsSource(std::move(settings)), m_answer(ReceiveBufferBytes)
{
}

PcscReader::~PcscReader() { closePort(); }

int32_t PcscReader::libraryVersion(uint32_t *version)
{
    if (version == nullptr)
        return pcscstatus::WrongParameter;
    *version = 1;
    return pcscstatus::Ok;
}

int32_t PcscReader::openPort(int32_t port, int32_t /*baud: PC/SC readers need none*/)
{
    closePort();
    m_settings = m_settingsSource();
    if (const int32_t status = ensureContext(); status != pcscstatus::Ok)
        return status;
    std::vector<std::string> readers;
    // The list may grow between asking its size and fetching it.
    LONG result = LONG(SCARD_E_INSUFFICIENT_BUFFER);
    for (int attempt = 0; attempt < 3 && result == LONG(SCARD_E_INSUFFICIENT_BUFFER); ++attempt) {
        DWORD size = 0;
        result = m_pcsc.listReaders(m_context, nullptr, nullptr, &size);
        if (result != SCARD_S_SUCCESS)
            break;
        std::vector<char> names(size + 1, '\0');
        result = m_pcsc.listReaders(m_context, nullptr, names.data(), &size);
        if (result != SCARD_S_SUCCESS)
            continue;
        names.back() = '\0';
        for (const char *name = names.data(); *name != '\0' && name < names.data() + names.size();
             name += std::strlen(name) + 1)
            readers.emplace_back(name);
    }
    if (result != SCARD_S_SUCCESS) {
        const int32_t status = failed(result, nullptr);
        closePort();
        return status;
    }
    if (port < 1 || std::size_t(port) > readers.size()) {
        closePort();
        return pcscstatus::NoSuchReader;
    }
    const std::size_t contactless = std::size_t(port - 1);
    m_slots[Contactless].reader = readers[contactless];
    if (const auto contact = ChooseReader(readers, m_settings.contact, contactless + 1))
        m_slots[Contact].reader = readers[*contact];
    if (const auto sam = ChooseReader(readers, m_settings.sam, contactless + 2))
        m_slots[Sam].reader = readers[*sam];
    m_portOpen = true;
    return pcscstatus::Ok;
}

int32_t PcscReader::closePort()
{
    for (Slot &slot : m_slots) {
        forget(slot, SCARD_LEAVE_CARD);
        slot.reader.clear();
    }
    if (m_hasContext)
        m_pcsc.releaseContext(m_context);
    m_hasContext = false;
    m_portOpen = false;
    return pcscstatus::Ok;
}

int32_t PcscReader::model(uint8_t *text, uint8_t *len)
{
    if (text == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    const std::string &name = m_slots[Contactless].reader;
    const std::size_t shown = std::min(name.size(), pcsc::MaxAnswerBytes);
    return give({reinterpret_cast<const uint8_t *>(name.data()), shown}, text, len);
}

int32_t PcscReader::antenna(uint8_t on)
{
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    // The field is the reader's: switching it off unpowers the card, which loses its
    // authentication and selection as in a field gap; the next request powers it again.
    if (on == 0)
        forget(m_slots[Contactless], SCARD_UNPOWER_CARD);
    return pcscstatus::Ok;
}

int32_t PcscReader::initType(uint8_t type)
{
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    // The reader finds type A, type B and ISO 15693 cards by itself.
    return type == 'A' || type == 'B' || type == '1' ? pcscstatus::Ok : pcscstatus::NotSupported;
}

int32_t PcscReader::request(uint8_t mode, uint8_t *tagType)
{
    if (tagType == nullptr || (mode != 0x26 && mode != 0x52))
        return pcscstatus::WrongParameter;
    // No card is ever halted through PC/SC, so a request of idle cards finds what one of all does.
    if (const int32_t status = findTypeACard(m_slots[Contactless]); status != pcscstatus::Ok)
        return status;
    const pcsc::TypeAIdentity identity = pcsc::IdentityOf(atrFacts(m_slots[Contactless]));
    std::copy(std::begin(identity.atqa), std::end(identity.atqa), tagType);
    return pcscstatus::Ok;
}

int32_t PcscReader::anticollision(uint8_t /*bitCount*/, uint8_t *serial, uint8_t *len)
{
    if (serial == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    std::span<const uint8_t> uid;
    if (const int32_t status = cardUid(uid); status != pcscstatus::Ok)
        return status;
    if (uid.size() != 4)
        return pcscstatus::UidLengthDiffers;
    return give(uid, serial, len);
}

int32_t PcscReader::select(const uint8_t *serial, uint8_t serialLen, uint8_t *size)
{
    if (serial == nullptr || size == nullptr)
        return pcscstatus::WrongParameter;
    std::span<const uint8_t> uid;
    if (const int32_t status = cardUid(uid); status != pcscstatus::Ok)
        return status;
    if (!std::equal(uid.begin(), uid.end(), serial, serial + serialLen))
        return pcscstatus::NoCard;
    *size = pcsc::IdentityOf(atrFacts(m_slots[Contactless])).sak;
    return pcscstatus::Ok;
}

int32_t PcscReader::authenticate(uint8_t mode, uint8_t block, const uint8_t *key)
{
    if (key == nullptr || (mode != 0x60 && mode != 0x61))
        return pcscstatus::WrongParameter;
    const std::span<const uint8_t, 6> keyBytes(key, 6);
    if (const int32_t status = classFf(pcsc::command::LoadKey(m_settings.keySlot, keyBytes)); status != pcscstatus::Ok)
        return status;
    return classFf(pcsc::command::Authenticate(block, mode, m_settings.keySlot));
}

int32_t PcscReader::readBlock(uint8_t block, uint8_t *data, uint8_t *len)
{
    if (data == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    // A Mifare block, or four UltraLight pages from the one given.
    std::span<const uint8_t> bytes;
    if (const int32_t status = classFf(pcsc::command::ReadBinary(block, 16), &bytes); status != pcscstatus::Ok)
        return status;
    return give(bytes, data, len);
}

int32_t PcscReader::writeBlock(uint8_t block, const uint8_t *data)
{
    return updateBinary(block, data, 16);
}

int32_t PcscReader::updateBinary(uint8_t block, const uint8_t *data, std::size_t bytes)
{
    if (data == nullptr)
        return pcscstatus::WrongParameter;
    return classFf(pcsc::command::UpdateBinary(block, {data, bytes}));
}

int32_t PcscReader::initValue(uint8_t block, int32_t value)
{
    return classFf(pcsc::command::UpdateBinary(block, pcsc::EncodeValueBlock(value, block)));
}

int32_t PcscReader::readValue(uint8_t block, int32_t *value)
{
    if (value == nullptr)
        return pcscstatus::WrongParameter;
    std::span<const uint8_t> bytes;
    if (const int32_t status = classFf(pcsc::command::ReadBinary(block, 16), &bytes); status != pcscstatus::Ok)
        return status;
    const std::optional<int32_t> decoded = pcsc::DecodeValueBlock(bytes);
    if (!decoded)
        return pcscstatus::NotValueBlock;
    *value = *decoded;
    return pcscstatus::Ok;
}

int32_t PcscReader::decrement(uint8_t block, int32_t amount)
{
    return changeValue(pcsc::command::ValueOperation::Decrement, block, amount);
}

int32_t PcscReader::increment(uint8_t block, int32_t amount)
{
    return changeValue(pcsc::command::ValueOperation::Increment, block, amount);
}

// Only the reader's own value command: a read, an addition and a write would not be atomic, and a
// card pulled between them would lose value.
int32_t PcscReader::changeValue(pcsc::command::ValueOperation operation, uint8_t block, int32_t amount)
{
    const int32_t status = classFf(pcsc::command::ChangeValue(operation, block, amount));
    if (status > 0 && status <= 0xFFFF && pcsc::MeansCommandUnknown(uint16_t(status)))
        return pcscstatus::NotSupported;
    return status;
}

int32_t PcscReader::ultralightSelect(uint8_t *serial, uint8_t *len)
{
    if (serial == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    if (const int32_t status = findTypeACard(m_slots[Contactless]); status != pcscstatus::Ok)
        return status;
    std::span<const uint8_t> uid;
    if (const int32_t status = cardUid(uid); status != pcscstatus::Ok)
        return status;
    return give(uid, serial, len);
}

int32_t PcscReader::ultralightWrite(uint8_t page, const uint8_t *data)
{
    return updateBinary(page, data, 4);
}

int32_t PcscReader::typeAReset(uint8_t /*mode*/, uint8_t *answer, uint8_t *len)
{
    return typeAActivation(4, answer, len);
}

int32_t PcscReader::desfireReset(uint8_t /*mode*/, uint8_t *answer, uint8_t *len)
{
    return typeAActivation(7, answer, len);
}

int32_t PcscReader::typeAActivation(std::size_t uidBytes, uint8_t *answer, uint8_t *len)
{
    if (answer == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    Slot &slot = m_slots[Contactless];
    if (const int32_t status = resetCard(slot); status != pcscstatus::Ok)
        return status;
    const pcsc::AtrFacts atr = atrFacts(slot);
    if (isIso15693(atr))
        return pcscstatus::NoCard;
    std::span<const uint8_t> uid;
    if (const int32_t status = cardUid(uid); status != pcscstatus::Ok)
        return status;
    if (uid.size() != uidBytes)
        return pcscstatus::UidLengthDiffers;
    return give(pcsc::TypeAActivation(uid, atr), answer, len);
}

int32_t PcscReader::requestB(uint8_t /*mode*/, uint8_t *answer, uint8_t *len)
{
    if (answer == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    Slot &slot = m_slots[Contactless];
    if (const int32_t status = resetCard(slot); status != pcscstatus::Ok)
        return status;
    std::span<const uint8_t> pupi;
    if (const int32_t status = cardUid(pupi); status != pcscstatus::Ok)
        return status;
    const std::optional<pcsc::Bytes> atqb = pcsc::AnswerToRequestB(pupi, atrFacts(slot));
    if (!atqb)
        return pcscstatus::NoCard;
    return give(*atqb, answer, len);
}

int32_t PcscReader::cosCommand(const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len)
{
    return apdu(Contactless, command, commandLen, answer, len);
}

int32_t PcscReader::openContactCard()
{
    return findCard(m_slots[Contact]);
}

int32_t PcscReader::contactReset(uint8_t *answer, uint8_t *len)
{
    return slotReset(Contact, answer, len);
}

int32_t PcscReader::contactCommand(const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len)
{
    return apdu(Contact, command, commandLen, response, len);
}

int32_t PcscReader::samInit(uint8_t baudCode)
{
    if (baudCode > 1)
        return pcscstatus::WrongParameter;
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    // The reader sets the module's rate itself.
    return m_slots[Sam].reader.empty() ? pcscstatus::NoSuchReader : pcscstatus::Ok;
}

int32_t PcscReader::samReset(uint8_t *answer, uint8_t *len)
{
    return slotReset(Sam, answer, len);
}

int32_t PcscReader::samCommand(const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len)
{
    return apdu(Sam, command, commandLen, response, len);
}

int32_t PcscReader::slotReset(SlotIndex index, uint8_t *answer, uint8_t *len)
{
    if (answer == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    Slot &slot = m_slots[index];
    if (const int32_t status = resetCard(slot); status != pcscstatus::Ok)
        return status;
    return give(slot.atr, answer, len);
}

int32_t PcscReader::apdu(SlotIndex index, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len)
{
    if (answer == nullptr || len == nullptr || commandLen < 0 || commandLen > MaxCommandBytes
        || (command == nullptr && commandLen > 0))
        return pcscstatus::WrongParameter;
    Slot &slot = m_slots[index];
    // A card in a slot is the slot's: it is found at the first command as at a reset. A
    // contactless card is found only by a request or a reset.
    if (index != Contactless && !slot.connected)
        if (const int32_t status = findCard(slot); status != pcscstatus::Ok)
            return status;
    std::span<const uint8_t> response;
    if (const int32_t status = transmit(slot, {command, std::size_t(commandLen)}, response); status != pcscstatus::Ok)
        return status;
    if (const int32_t status = pcsc::ApduOutcome(response); status != pcscstatus::Ok)
        return status;
    return give(response, answer, len);
}

int32_t PcscReader::iso15693Inventory(uint8_t *records, uint8_t *len)
{
    if (records == nullptr || len == nullptr)
        return pcscstatus::WrongParameter;
    Slot &slot = m_slots[Contactless];
    if (const int32_t status = findCard(slot); status != pcscstatus::Ok)
        return status;
    if (!isIso15693(atrFacts(slot)))
        return pcscstatus::NoCard;
    std::span<const uint8_t> uid;
    if (const int32_t status = cardUid(uid); status != pcscstatus::Ok)
        return status;
    if (uid.size() != 8)
        return pcscstatus::UidLengthDiffers;
    // One record: a flags byte (none known through PC/SC) and the UID.
    pcsc::Bytes record{0x00};
    const pcsc::Bytes shown = pcsc::Iso15693UidAsShown(uid);
    record.insert(record.end(), shown.begin(), shown.end());
    return give(record, records, len);
}

int32_t PcscReader::findTag(const uint8_t *uid)
{
    if (uid == nullptr)
        return pcscstatus::WrongParameter;
    // The tag is named by its UID, so finding it again after it was laid back is safe.
    Slot &slot = m_slots[Contactless];
    if (!slot.connected)
        if (const int32_t status = findCard(slot); status != pcscstatus::Ok)
            return status;
    if (!isIso15693(atrFacts(slot)))
        return pcscstatus::NoCard;
    std::span<const uint8_t> tagUid;
    if (const int32_t status = cardUid(tagUid); status != pcscstatus::Ok)
        return status;
    const pcsc::Bytes shown = pcsc::Iso15693UidAsShown(tagUid);
    return std::equal(shown.begin(), shown.end(), uid, uid + 8) ? pcscstatus::Ok : pcscstatus::NoCard;
}

int32_t PcscReader::iso15693Read(uint8_t /*mode*/, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount,
                                 uint8_t *data, uint8_t *len)
{
    constexpr std::size_t BlockBytes = 4;
    if (data == nullptr || len == nullptr || blockCount == 0 || blockCount * BlockBytes > pcsc::MaxAnswerBytes
        || firstBlock + blockCount > 256)
        return pcscstatus::WrongParameter;
    if (const int32_t status = findTag(uid); status != pcscstatus::Ok)
        return status;
    pcsc::Bytes blocks;
    for (int block = firstBlock; block < firstBlock + blockCount; ++block) {
        std::span<const uint8_t> bytes;
        const int32_t status = classFf(pcsc::command::ReadBinary(uint8_t(block), BlockBytes), &bytes);
        if (status != pcscstatus::Ok)
            return status;
        blocks.insert(blocks.end(), bytes.begin(), bytes.end());
    }
    return give(blocks, data, len);
}

int32_t PcscReader::iso15693Write(uint8_t /*mode*/, const uint8_t *uid, uint8_t block, const uint8_t *data)
{
    if (data == nullptr)
        return pcscstatus::WrongParameter;
    if (const int32_t status = findTag(uid); status != pcscstatus::Ok)
        return status;
    return updateBinary(block, data, 4);
}

// The plumbing.

int32_t PcscReader::ensureContext()
{
    if (m_hasContext)
        return pcscstatus::Ok;
    const LONG result = m_pcsc.establishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &m_context);
    if (result != SCARD_S_SUCCESS)
        return statusOf(result);
    m_hasContext = true;
    return pcscstatus::Ok;
}

int32_t PcscReader::failed(LONG result, Slot *slot)
{
    if (contextLost(result)) {
        // The handles died with the context; pcscd knows nothing of them any more.
        for (Slot &each : m_slots)
            each.connected = false;
        if (m_hasContext)
            m_pcsc.releaseContext(m_context);
        m_hasContext = false;
    } else if (slot != nullptr) {
        // A card removed, reset or swapped: its handle is of no more use.
        forget(*slot, SCARD_LEAVE_CARD);
    }
    return statusOf(result);
}

void PcscReader::forget(Slot &slot, DWORD disposition)
{
    if (slot.connected)
        m_pcsc.disconnect(slot.handle, disposition);
    slot.connected = false;
    slot.atr.clear();
    slot.uid.clear();
}

int32_t PcscReader::waitForCard(const Slot &slot)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_settings.cardWaitMs);
    PcscReaderState state{};
    state.szReader = slot.reader.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    DWORD timeout = 0;
    for (;;) {
        const LONG result = m_pcsc.getStatusChange(m_context, timeout, &state, 1);
        // No card came within the limit: the context is still good.
        if (result == LONG(SCARD_E_TIMEOUT) && timeout > 0)
            return statusOf(result);
        if (result != SCARD_S_SUCCESS)
            return failed(result, nullptr);
        if ((state.dwEventState & SCARD_STATE_PRESENT) != 0)
            return pcscstatus::Ok;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return statusOf(LONG(SCARD_E_TIMEOUT));
        timeout = DWORD(left);
        state.dwCurrentState = state.dwEventState & ~DWORD(SCARD_STATE_CHANGED);
    }
}

int32_t PcscReader::findCard(Slot &slot)
{
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    if (slot.reader.empty())
        return pcscstatus::NoSuchReader;
    // The card found before, if it is still there and still the same: its handle says so.
    if (slot.connected && readAtr(slot) == pcscstatus::Ok)
        return pcscstatus::Ok;
    if (const int32_t status = ensureContext(); status != pcscstatus::Ok)
        return status;
    if (const int32_t status = waitForCard(slot); status != pcscstatus::Ok)
        return status;
    const LONG result = m_pcsc.connect(m_context, slot.reader.c_str(), SCARD_SHARE_SHARED,
                                       SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &slot.handle, &slot.protocol);
    if (result != SCARD_S_SUCCESS)
        return failed(result, nullptr);
    slot.connected = true;
    slot.uid.clear();
    return readAtr(slot);
}

int32_t PcscReader::resetCard(Slot &slot)
{
    if (slot.connected) {
        const LONG result = m_pcsc.reconnect(slot.handle, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1,
                                             SCARD_RESET_CARD, &slot.protocol);
        if (result == SCARD_S_SUCCESS) {
            slot.uid.clear();
            return readAtr(slot);
        }
        // Gone or swapped: the reset finds whatever card is there now.
        failed(result, &slot);
    }
    return findCard(slot);
}

int32_t PcscReader::readAtr(Slot &slot)
{
    DWORD nameLength = 0;
    DWORD state = 0;
    DWORD protocol = 0;
    uint8_t atr[64] = {};
    DWORD atrLength = sizeof atr;
    const LONG result = m_pcsc.status(slot.handle, nullptr, &nameLength, &state, &protocol, atr, &atrLength);
    if (result != SCARD_S_SUCCESS)
        return failed(result, &slot);
    slot.atr.assign(atr, atr + std::min<DWORD>(atrLength, sizeof atr));
    return pcscstatus::Ok;
}

int32_t PcscReader::transmit(Slot &slot, std::span<const uint8_t> command, std::span<const uint8_t> &answer)
{
    if (!m_portOpen)
        return pcscstatus::PortNotOpen;
    // While pcscd is away every call answers so, not only the one that found it gone.
    if (const int32_t status = ensureContext(); status != pcscstatus::Ok)
        return status;
    if (!slot.connected)
        return pcscstatus::NoCard;
    const SCARD_IO_REQUEST protocol{slot.protocol, sizeof(SCARD_IO_REQUEST)};
    DWORD received = DWORD(m_answer.size());
    const LONG result = m_pcsc.transmit(slot.handle, &protocol, command.data(), DWORD(command.size()), nullptr,
                                        m_answer.data(), &received);
    if (result != SCARD_S_SUCCESS)
        return failed(result, &slot);
    answer = std::span<const uint8_t>(m_answer.data(), std::min<std::size_t>(received, m_answer.size()));
    return pcscstatus::Ok;
}

int32_t PcscReader::classFf(std::span<const uint8_t> command, std::span<const uint8_t> *data)
{
    std::span<const uint8_t> answer;
    if (const int32_t status = transmit(m_slots[Contactless], command, answer); status != pcscstatus::Ok)
        return status;
    return pcsc::ClassFfOutcome(answer, data);
}

int32_t PcscReader::cardUid(std::span<const uint8_t> &uid)
{
    Slot &slot = m_slots[Contactless];
    if (!slot.connected)
        return m_portOpen ? pcscstatus::NoCard : pcscstatus::PortNotOpen;
    if (slot.uid.empty()) {
        std::span<const uint8_t> data;
        if (const int32_t status = classFf(pcsc::command::GetUid(), &data); status != pcscstatus::Ok)
            return status;
        if (data.empty())
            return pcscstatus::NoCard;
        slot.uid.assign(data.begin(), data.end());
    }
    uid = slot.uid;
    return pcscstatus::Ok;
}

int32_t PcscReader::findTypeACard(Slot &slot)
{
    if (const int32_t status = findCard(slot); status != pcscstatus::Ok)
        return status;
    // A vicinity tag does not answer a type A request.
    return isIso15693(atrFacts(slot)) ? pcscstatus::NoCard : pcscstatus::Ok;
}

pcsc::AtrFacts PcscReader::atrFacts(const Slot &slot) const
{
    return pcsc::ParseAtr(slot.atr).value_or(pcsc::AtrFacts{});
}
