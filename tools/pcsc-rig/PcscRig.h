#pragma once

#include <string>
#include <sys/types.h>

// A private pcscd with the simulator's card server on its virtual readers, for the end-to-end
// tests and the bench. pcscd runs in the foreground in a mount namespace of its own, where a
// private folder lies over /run/pcscd: its socket and pid file never meet a system pcscd, and
// this process (and what it starts) reaches it through PCSCLITE_CSOCK_NAME. Two vpcd readers of
// two slots each, on free loopback ports; the second loads its own copy of the driver, since
// one vpcd library keeps one card per slot number whatever the reader. Everything started is
// stopped by its process id.
class PcscRig
{
public:
    // The three readers the card server serves.
    static constexpr const char *Contactless = "Vornex PCD 00 00";
    static constexpr const char *Contact = "Vornex PCD 00 01";
    static constexpr const char *Sam = "Vornex SAM 00 00";

    // `programFolder` holds zentrava-sim; the card server serves the cards of `scenarioFile`.
    PcscRig(std::string programFolder, std::string scenarioFile);
    ~PcscRig();
    PcscRig(const PcscRig &) = delete;
    PcscRig &operator=(const PcscRig &) = delete;

    // pcscd and the card server, then waits until the three readers show their cards. Each
    // answers an empty text when done, else what failed.
    std::string start();
    // SIGTERM to the card server; true when it ended by itself with status 0.
    bool stopCardServer();
    // Waits with SCardGetStatusChange until `reader` shows a card (or none); false after `ms`.
    bool waitForCard(const char *reader, bool present, int ms = 5000);
    // The reader's position in pcscd's list (1 is the first): the port the program opens.
    int portOf(const char *reader);

    // pcscd or vpcd is not installed, or the namespace cannot be made. The tests fail then,
    // unless VORNEX_SKIP_PCSC=1 asks them to skip.
    static bool skipAsked();

private:
    std::string startPcscd();
    std::string startCardServer();
    std::string logTail(const std::string &file) const;

    std::string m_programFolder;
    std::string m_scenario;
    std::string m_folder;
    int m_port = 0;
    pid_t m_pcscd = -1;
    pid_t m_server = -1;
};
