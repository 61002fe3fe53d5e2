#pragma once

// A PC/SC resource manager in a test: readers with or without a card, each card answering the
// commands it was scripted with (6A 81 to any other); what reaches it is recorded. It hands out a
// table of PC/SC functions, as the system's, for the reader under test. One lives at a time.

#include "HexText.h"
#include "PcscApi.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scriptedpcsc {

// Bytes as the scenario file and the tests write them.
inline std::vector<uint8_t> Bytes(const std::string &hex) { return *zentrava::fromHex(hex); }

struct Card {
    std::string atr;                            // hex
    std::map<std::string, std::string> answers = {}; // command → answer (data and status word), hex
};

class Pcsc
{
public:
    struct Reader {
        std::string name;
        std::optional<Card> card;
    };
    std::vector<Reader> readers;
    std::optional<Card> cardLaidDuringWait; // laid on reader 0 when a request waits for a card there
    LONG nextTransmit = SCARD_S_SUCCESS;    // what the next transmit answers, without effect
    std::vector<std::string> sent;          // the commands transmitted, hex
    std::vector<std::string> calls;         // "connect 1" (the reader's position), "wait 2000"

    Pcsc() { current = this; }
    ~Pcsc() { current = nullptr; }

    // pcscd stopping (every call answers "no service") and starting again (the contexts and
    // handles of before are invalid).
    void stopService() { m_running = false; }
    void startService() { m_running = true, ++m_service; }

    const PcscFunctions &functions() const
    {
        static const PcscFunctions table{
            [](DWORD, LPCVOID, LPCVOID, LPSCARDCONTEXT context) {
                Pcsc &p = *current;
                if (!p.m_running)
                    return LONG(SCARD_E_NO_SERVICE);
                *context = p.m_next++;
                p.m_contexts[*context] = p.m_service;
                return LONG(SCARD_S_SUCCESS);
            },
            [](SCARDCONTEXT context) {
                current->m_contexts.erase(context);
                return LONG(SCARD_S_SUCCESS);
            },
            [](SCARDCONTEXT, LPCSTR, LPSTR names, LPDWORD size) {
                const Pcsc &p = *current;
                if (!p.m_running)
                    return LONG(SCARD_E_NO_SERVICE);
                if (p.readers.empty())
                    return LONG(SCARD_E_NO_READERS_AVAILABLE);
                std::vector<uint8_t> multiString;
                for (const Reader &reader : p.readers)
                    multiString.insert(multiString.end(), reader.name.c_str(), reader.name.c_str() + reader.name.size() + 1);
                multiString.push_back(0);
                if (names == nullptr) {
                    *size = DWORD(multiString.size());
                    return LONG(SCARD_S_SUCCESS);
                }
                return copy(multiString, reinterpret_cast<LPBYTE>(names), size);
            },
            [](SCARDCONTEXT context, LPCSTR name, DWORD, DWORD, LPSCARDHANDLE handle, LPDWORD protocol) {
                Pcsc &p = *current;
                if (const LONG checked = p.usable(context); checked != SCARD_S_SUCCESS)
                    return checked;
                const std::size_t i = p.position(name);
                if (i == p.readers.size())
                    return LONG(SCARD_E_UNKNOWN_READER);
                p.calls.push_back("connect " + std::to_string(i + 1));
                if (!p.readers[i].card)
                    return LONG(SCARD_E_NO_SMARTCARD);
                *handle = p.m_next++;
                p.m_connections[*handle] = {i, p.m_service};
                *protocol = SCARD_PROTOCOL_T1;
                return LONG(SCARD_S_SUCCESS);
            },
            [](SCARDHANDLE handle, DWORD, DWORD, DWORD, LPDWORD protocol) {
                *protocol = SCARD_PROTOCOL_T1;
                return current->connected(handle);
            },
            [](SCARDHANDLE handle, DWORD) {
                current->m_connections.erase(handle);
                return LONG(SCARD_S_SUCCESS);
            },
            [](SCARDHANDLE handle, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE atr, LPDWORD atrLength) {
                const Pcsc &p = *current;
                if (const LONG checked = p.connected(handle); checked != SCARD_S_SUCCESS)
                    return checked;
                return copy(Bytes(p.readers[p.m_connections.at(handle).reader].card->atr), atr, atrLength);
            },
            [](SCARDCONTEXT context, DWORD timeout, PcscReaderState *states, DWORD count) {
                Pcsc &p = *current;
                if (timeout > 0)
                    p.calls.push_back("wait " + std::to_string(timeout));
                if (const LONG checked = p.usable(context); checked != SCARD_S_SUCCESS)
                    return checked;
                for (PcscReaderState &state : std::span(states, count)) {
                    const std::size_t index = p.position(state.szReader);
                    if (index == p.readers.size())
                        return LONG(SCARD_E_UNKNOWN_READER);
                    if (!p.readers[index].card && timeout > 0 && index == 0)
                        p.readers[0].card = std::exchange(p.cardLaidDuringWait, std::nullopt);
                    const DWORD now = p.readers[index].card ? SCARD_STATE_PRESENT : SCARD_STATE_EMPTY;
                    // Nothing changes while the test waits: a wait for a change is at once a time-out.
                    if (timeout > 0 && (state.dwCurrentState & ~DWORD(SCARD_STATE_CHANGED)) == now)
                        return LONG(SCARD_E_TIMEOUT);
                    state.dwEventState = now | SCARD_STATE_CHANGED;
                }
                return LONG(SCARD_S_SUCCESS);
            },
            [](SCARDHANDLE handle, const SCARD_IO_REQUEST *, LPCBYTE command, DWORD length, SCARD_IO_REQUEST *,
               LPBYTE answer, LPDWORD answerLength) {
                Pcsc &p = *current;
                p.sent.push_back(zentrava::toHex(command, length));
                if (const LONG forced = std::exchange(p.nextTransmit, SCARD_S_SUCCESS); forced != SCARD_S_SUCCESS)
                    return forced;
                if (const LONG checked = p.connected(handle); checked != SCARD_S_SUCCESS)
                    return checked;
                const Card &card = *p.readers[p.m_connections.at(handle).reader].card;
                const auto scripted = card.answers.find(p.sent.back());
                return copy(Bytes(scripted != card.answers.end() ? scripted->second : "6A81"), answer, answerLength);
            }};
        return table;
    }

private:
    struct Connection {
        std::size_t reader;
        int service; // the pcscd it was made by
    };

    static inline Pcsc *current = nullptr;
    static LONG copy(const std::vector<uint8_t> &bytes, LPBYTE out, LPDWORD length)
    {
        if (*length < bytes.size())
            return LONG(SCARD_E_INSUFFICIENT_BUFFER);
        std::memcpy(out, bytes.data(), bytes.size());
        *length = DWORD(bytes.size());
        return LONG(SCARD_S_SUCCESS);
    }
    // The index of the reader of that name; readers.size() for none.
    std::size_t position(std::string_view name) const
    {
        return std::size_t(std::ranges::find(readers, name, &Reader::name) - readers.begin());
    }
    // Whether the context is one of the pcscd that runs now.
    LONG usable(SCARDCONTEXT context) const
    {
        if (!m_running)
            return LONG(SCARD_E_NO_SERVICE);
        const auto owner = m_contexts.find(context);
        return owner != m_contexts.end() && owner->second == m_service ? SCARD_S_SUCCESS : LONG(SCARD_E_INVALID_HANDLE);
    }
    // Whether the handle is one of the pcscd that runs now, to a reader that holds a card.
    LONG connected(SCARDHANDLE handle) const
    {
        if (!m_running)
            return LONG(SCARD_E_NO_SERVICE);
        const auto found = m_connections.find(handle);
        if (found == m_connections.end() || found->second.service != m_service)
            return LONG(SCARD_E_INVALID_HANDLE);
        return readers[found->second.reader].card ? SCARD_S_SUCCESS : LONG(SCARD_W_REMOVED_CARD);
    }

    bool m_running = true;
    int m_service = 1;
    std::map<SCARDCONTEXT, int> m_contexts; // context → the service it belongs to
    std::map<SCARDHANDLE, Connection> m_connections;
    long m_next = 1;
};

} // namespace scriptedpcsc
