#include "reader/Settings.h"

#include "reader/CSettingsKey.h"
#include "reader/RuntimeState.h"

namespace {

constexpr int HighestComPort = 255;

int readValue(const CSettingsKey &key, const char *name, int fallback)
{
    uint32_t value = 0;
    return key.readDword(QString::fromLatin1(name), value) ? int32_t(value) : fallback;
}

// CardType names a table row or the port page; BaudRate indexes the rate table. A hand-edited
// file may hold anything, so both fall back to their defaults. ComPort is only a number, but a
// negative or absurd one would reach the port page's list and the info bar.
void bringIntoRange()
{
    if (CardType != PortPageCardType && (CardType < 0 || CardType >= CardTypeCount))
        CardType = 0;
    if (BaudRate < 0 || BaudRate >= int(BaudRateTable.size()))
        BaudRate = 1;
    if (ComPort < 0 || ComPort > HighestComPort)
        ComPort = 0;
}

} // namespace

bool ReadSettings()
{
    CSettingsKey key;
    if (!key.openForReading(QString::fromLatin1(SettingsKeyName))) {
        CardType = 1;
        ComPort = 0;
        AllCardsInMenu = false;
        bringIntoRange();
        return false;
    }
    CardType = readValue(key, "CurCard", 1);
    ComPort = readValue(key, "ComPort", 0);
    BaudRate = readValue(key, "BaudRate", 1);
    CurBitmap = readValue(key, "CurBitmap", 0);
    AllCardsInMenu = readValue(key, "AllCards", 0) != 0;
    bringIntoRange();
    return true;
}

void WriteSettings()
{
    CSettingsKey key;
    if (!key.openForWriting(QString::fromLatin1(SettingsKeyName)))
        return;
    key.writeDwords({{QStringLiteral("CurCard"), uint32_t(CardType)},
                     {QStringLiteral("ComPort"), uint32_t(ComPort)},
                     {QStringLiteral("BaudRate"), uint32_t(BaudRate)},
                     {QStringLiteral("CurBitmap"), uint32_t(CurBitmap)},
                     {QStringLiteral("AllCards"), uint32_t(AllCardsInMenu ? 1 : 0)}});
}
