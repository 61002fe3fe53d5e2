#include "PcscApi.h"

const PcscFunctions &SystemPcsc()
{
    static const PcscFunctions functions{
        SCardEstablishContext,
        SCardReleaseContext,
        PCSC_NARROW(SCardListReaders),
        PCSC_NARROW(SCardConnect),
        SCardReconnect,
        SCardDisconnect,
        PCSC_NARROW(SCardStatus),
        PCSC_NARROW(SCardGetStatusChange),
        SCardTransmit,
    };
    return functions;
}
