#pragma once

// A PC/SC resource manager in a test: readers with or without a card, each card answering the
// commands it was scripted with; every call that reaches it is recorded. It hands out a table of
// PC/SC functions, as the system's, for the reader under test.

#include "PcscApi.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ScriptedCard {
    std::string atr;                            // hex
    std::map<std::string, std::string> answers; // command → answer (data and status word), hex
};

class ScriptedPcsc
{
public:
    ScriptedPcsc();
    ~ScriptedPcsc();
    ScriptedPcsc(const ScriptedPcsc &) = delete;
    ScriptedPcsc &operator=(const ScriptedPcsc &) = delete;

    const PcscFunctions &functions() const;

    struct Reader {
        std::string name;
        std::optional<ScriptedCard> card;
    };
    std::vector<Reader> readers;
    // Laid on reader 0 when a request waits for a card there.
    std::optional<ScriptedCard> cardLaidDuringWait;

    // Takes the card away from a reader, lays another, or the same one again: connections made
    // to the card that was there answer "removed card" from now on.
    void lay(std::size_t reader, std::optional<ScriptedCard> card);
    // pcscd stopping (every call answers "no service") and starting again (contexts of before
    // are invalid).
    void stopService();
    void startService();
    // The next call of `function` ("transmit", "status", ...) answers `result` without effect.
    void failNext(const std::string &function, LONG result);

    // What reached the manager: the commands transmitted (hex), and every call with its
    // argument that matters ("connect 1", "reconnect reset", "disconnect unpower", "wait 2000").
    std::vector<std::string> sent;
    std::vector<std::string> calls;

    // The trampolines' way in.
    LONG establishContext(LPSCARDCONTEXT context);
    LONG releaseContext(SCARDCONTEXT context);
    LONG listReaders(SCARDCONTEXT context, LPSTR names, LPDWORD size);
    LONG connect(SCARDCONTEXT context, LPCSTR reader, LPSCARDHANDLE handle, LPDWORD protocol);
    LONG reconnect(SCARDHANDLE handle, DWORD initialization, LPDWORD protocol);
    LONG disconnect(SCARDHANDLE handle, DWORD disposition);
    LONG status(SCARDHANDLE handle, LPBYTE atr, LPDWORD atrLength);
    LONG getStatusChange(SCARDCONTEXT context, DWORD timeout, PcscReaderState *states, DWORD count);
    LONG transmit(SCARDHANDLE handle, LPCBYTE command, DWORD length, LPBYTE answer, LPDWORD answerLength);

private:
    struct Connection {
        std::size_t reader;
        int card; // the laying it was made to
        int service;
    };
    bool forced(const std::string &function, LONG &result);
    LONG check(SCARDHANDLE handle, Connection *&connection);
    // A context of the pcscd that runs now.
    bool current(SCARDCONTEXT context) const;

    bool m_running = true;
    int m_service = 1;
    std::map<SCARDCONTEXT, int> m_contexts; // context → service it belongs to
    std::map<SCARDHANDLE, Connection> m_connections;
    std::vector<int> m_layings; // per reader, counts every lay()
    std::map<std::string, LONG> m_failures;
    long m_next = 1;
};

std::string Hex(const uint8_t *bytes, std::size_t count);
std::vector<uint8_t> Bytes(const std::string &hex);
