#include "reader/RuntimeState.h"

int CardType = 0;
int ComPort = 1;
int BaudRate = 1;
int CurBitmap = 0;
bool PortOpen = false;
bool AllCardsInMenu = false;

int CurrentBaudRate()
{
    if (BaudRate < 0 || BaudRate >= int(BaudRateTable.size()))
        return BaudRateTable[1];
    return BaudRateTable[std::size_t(BaudRate)];
}

void ResetRuntimeState()
{
    CardType = 0;
    ComPort = 1;
    BaudRate = 1;
    CurBitmap = 0;
    PortOpen = false;
    AllCardsInMenu = false;
    LanguageIndex = BuildLanguageIndex();
}
