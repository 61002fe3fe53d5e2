#pragma once

// The PC/SC functions the library uses, gathered in one table: the library reaches pcsc-lite
// (winscard on Windows) through it, and the tests point it at a scripted fake. Every type is the
// platform's own: DWORD, LONG and the handles are 8 bytes in pcsc-lite on 64-bit Linux and 4 on
// Windows.

#ifdef _WIN32
#include <windows.h>
#include <winscard.h>
// The narrow-character entries, whatever UNICODE says.
#define PCSC_NARROW(name) name##A
using PcscReaderState = SCARD_READERSTATEA;
#else
#include <winscard.h>
#define PCSC_NARROW(name) name
using PcscReaderState = SCARD_READERSTATE;
#endif

struct PcscFunctions {
    decltype(&SCardEstablishContext) establishContext;
    decltype(&SCardReleaseContext) releaseContext;
    decltype(&PCSC_NARROW(SCardListReaders)) listReaders;
    decltype(&PCSC_NARROW(SCardConnect)) connect;
    decltype(&SCardReconnect) reconnect;
    decltype(&SCardDisconnect) disconnect;
    decltype(&PCSC_NARROW(SCardStatus)) status;
    decltype(&PCSC_NARROW(SCardGetStatusChange)) getStatusChange;
    decltype(&SCardTransmit) transmit;
};

// The system's PC/SC library. On Linux every call is watched: one that waits for pcscd longer
// than the answer limit (plus the wait it asked for) answers SCARD_E_TIMEOUT, and the context it
// used is gone.
const PcscFunctions &SystemPcsc();
void SetPcscAnswerLimit(int milliseconds);
