#include "ScriptedPcsc.h"

#include <cstring>

namespace {

ScriptedPcsc *theFake = nullptr;

LONG establishContext(DWORD, LPCVOID, LPCVOID, LPSCARDCONTEXT context) { return theFake->establishContext(context); }
LONG releaseContext(SCARDCONTEXT context) { return theFake->releaseContext(context); }
LONG listReaders(SCARDCONTEXT context, LPCSTR, LPSTR names, LPDWORD size) { return theFake->listReaders(context, names, size); }
LONG connect(SCARDCONTEXT context, LPCSTR reader, DWORD, DWORD, LPSCARDHANDLE handle, LPDWORD protocol)
{
    return theFake->connect(context, reader, handle, protocol);
}
LONG reconnect(SCARDHANDLE handle, DWORD, DWORD, DWORD initialization, LPDWORD protocol)
{
    return theFake->reconnect(handle, initialization, protocol);
}
LONG disconnect(SCARDHANDLE handle, DWORD disposition) { return theFake->disconnect(handle, disposition); }
LONG status(SCARDHANDLE handle, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE atr, LPDWORD atrLength)
{
    return theFake->status(handle, atr, atrLength);
}
LONG getStatusChange(SCARDCONTEXT context, DWORD timeout, PcscReaderState *states, DWORD count)
{
    return theFake->getStatusChange(context, timeout, states, count);
}
LONG transmit(SCARDHANDLE handle, const SCARD_IO_REQUEST *, LPCBYTE command, DWORD length, SCARD_IO_REQUEST *,
              LPBYTE answer, LPDWORD answerLength)
{
    return theFake->transmit(handle, command, length, answer, answerLength);
}

const PcscFunctions Trampolines{establishContext, releaseContext, listReaders, connect, reconnect,
                                disconnect,       status,         getStatusChange, transmit};

const char *dispositionName(DWORD disposition)
{
    switch (disposition) {
    case SCARD_LEAVE_CARD: return "leave";
    case SCARD_RESET_CARD: return "reset";
    case SCARD_UNPOWER_CARD: return "unpower";
    default: return "eject";
    }
}

} // namespace

std::string Hex(const uint8_t *bytes, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::vector<uint8_t> Bytes(const std::string &hex)
{
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

ScriptedPcsc::ScriptedPcsc() { theFake = this; }
ScriptedPcsc::~ScriptedPcsc() { theFake = nullptr; }

const PcscFunctions &ScriptedPcsc::functions() const { return Trampolines; }

void ScriptedPcsc::lay(std::size_t reader, std::optional<ScriptedCard> card)
{
    m_layings.resize(readers.size());
    readers[reader].card = std::move(card);
    ++m_layings[reader];
}

void ScriptedPcsc::stopService() { m_running = false; }

void ScriptedPcsc::startService()
{
    m_running = true;
    ++m_service;
}

void ScriptedPcsc::failNext(const std::string &function, LONG result) { m_failures[function] = result; }

bool ScriptedPcsc::forced(const std::string &function, LONG &result)
{
    if (!m_running) {
        result = LONG(SCARD_E_NO_SERVICE);
        return true;
    }
    const auto failure = m_failures.find(function);
    if (failure == m_failures.end())
        return false;
    result = failure->second;
    m_failures.erase(failure);
    return true;
}

bool ScriptedPcsc::current(SCARDCONTEXT context) const
{
    const auto owner = m_contexts.find(context);
    return owner != m_contexts.end() && owner->second == m_service;
}

LONG ScriptedPcsc::check(SCARDHANDLE handle, Connection *&connection)
{
    const auto found = m_connections.find(handle);
    if (found == m_connections.end() || found->second.service != m_service)
        return LONG(SCARD_E_INVALID_HANDLE);
    connection = &found->second;
    m_layings.resize(readers.size());
    if (connection->card != m_layings[connection->reader] || !readers[connection->reader].card)
        return LONG(SCARD_W_REMOVED_CARD);
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::establishContext(LPSCARDCONTEXT context)
{
    calls.push_back("establish");
    LONG result = 0;
    if (forced("establish", result))
        return result;
    *context = m_next++;
    m_contexts[*context] = m_service;
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::releaseContext(SCARDCONTEXT context)
{
    calls.push_back("release");
    m_contexts.erase(context);
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::listReaders(SCARDCONTEXT, LPSTR names, LPDWORD size)
{
    LONG result = 0;
    if (forced("list", result))
        return result;
    if (readers.empty())
        return LONG(SCARD_E_NO_READERS_AVAILABLE);
    std::string multiString;
    for (const Reader &reader : readers)
        multiString += reader.name + '\0';
    multiString += '\0';
    if (names != nullptr) {
        if (*size < multiString.size())
            return LONG(SCARD_E_INSUFFICIENT_BUFFER);
        std::memcpy(names, multiString.data(), multiString.size());
    }
    *size = DWORD(multiString.size());
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::connect(SCARDCONTEXT context, LPCSTR reader, LPSCARDHANDLE handle, LPDWORD protocol)
{
    LONG result = 0;
    if (forced("connect", result))
        return result;
    if (!current(context))
        return LONG(SCARD_E_INVALID_HANDLE);
    for (std::size_t i = 0; i < readers.size(); ++i) {
        if (readers[i].name != reader)
            continue;
        calls.push_back("connect " + std::to_string(i + 1));
        if (!readers[i].card)
            return LONG(SCARD_E_NO_SMARTCARD);
        m_layings.resize(readers.size());
        *handle = m_next++;
        m_connections[*handle] = {i, m_layings[i], m_service};
        *protocol = SCARD_PROTOCOL_T1;
        return SCARD_S_SUCCESS;
    }
    return LONG(SCARD_E_UNKNOWN_READER);
}

LONG ScriptedPcsc::reconnect(SCARDHANDLE handle, DWORD initialization, LPDWORD protocol)
{
    calls.push_back(std::string("reconnect ") + dispositionName(initialization));
    LONG result = 0;
    if (forced("reconnect", result))
        return result;
    Connection *connection = nullptr;
    if (const LONG checked = check(handle, connection); checked != SCARD_S_SUCCESS)
        return checked;
    *protocol = SCARD_PROTOCOL_T1;
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::disconnect(SCARDHANDLE handle, DWORD disposition)
{
    calls.push_back(std::string("disconnect ") + dispositionName(disposition));
    m_connections.erase(handle);
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::status(SCARDHANDLE handle, LPBYTE atr, LPDWORD atrLength)
{
    LONG result = 0;
    if (forced("status", result))
        return result;
    Connection *connection = nullptr;
    if (const LONG checked = check(handle, connection); checked != SCARD_S_SUCCESS)
        return checked;
    const std::vector<uint8_t> bytes = Bytes(readers[connection->reader].card->atr);
    if (*atrLength < bytes.size())
        return LONG(SCARD_E_INSUFFICIENT_BUFFER);
    std::memcpy(atr, bytes.data(), bytes.size());
    *atrLength = DWORD(bytes.size());
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::getStatusChange(SCARDCONTEXT context, DWORD timeout, PcscReaderState *states, DWORD count)
{
    if (timeout > 0)
        calls.push_back("wait " + std::to_string(timeout));
    LONG result = 0;
    if (forced("wait", result))
        return result;
    if (!current(context))
        return LONG(SCARD_E_INVALID_HANDLE);
    for (DWORD i = 0; i < count; ++i) {
        std::size_t index = 0;
        while (index < readers.size() && readers[index].name != states[i].szReader)
            ++index;
        if (index == readers.size())
            return LONG(SCARD_E_UNKNOWN_READER);
        if (!readers[index].card && timeout > 0 && index == 0 && cardLaidDuringWait) {
            lay(0, cardLaidDuringWait);
            cardLaidDuringWait.reset();
        }
        const DWORD now = readers[index].card ? SCARD_STATE_PRESENT : SCARD_STATE_EMPTY;
        // Nothing changes while the test waits: a wait for a change is at once a time-out.
        if (timeout > 0 && (states[i].dwCurrentState & ~DWORD(SCARD_STATE_CHANGED)) == now)
            return LONG(SCARD_E_TIMEOUT);
        states[i].dwEventState = now | SCARD_STATE_CHANGED;
    }
    return SCARD_S_SUCCESS;
}

LONG ScriptedPcsc::transmit(SCARDHANDLE handle, LPCBYTE command, DWORD length, LPBYTE answer, LPDWORD answerLength)
{
    const std::string text = Hex(command, length);
    sent.push_back(text);
    LONG result = 0;
    if (forced("transmit", result))
        return result;
    Connection *connection = nullptr;
    if (const LONG checked = check(handle, connection); checked != SCARD_S_SUCCESS)
        return checked;
    const ScriptedCard &card = *readers[connection->reader].card;
    const auto scripted = card.answers.find(text);
    const std::vector<uint8_t> bytes = Bytes(scripted != card.answers.end() ? scripted->second : "6A81");
    if (*answerLength < bytes.size())
        return LONG(SCARD_E_INSUFFICIENT_BUFFER);
    std::memcpy(answer, bytes.data(), bytes.size());
    *answerLength = DWORD(bytes.size());
    return SCARD_S_SUCCESS;
}
