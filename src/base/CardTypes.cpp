#include "base/CardTypes.h"

#include <array>

namespace {

constexpr auto C = PagePlacement::Centred;
constexpr auto T = PagePlacement::TemplatePosition;
constexpr auto F = PagePlacement::FillsView;

const std::array<CardTypeInfo, CardTypeCount> CardTypes = {{
    {"Mifare_UltraLight", 32787, C, C}, // 0
    {"Mifare_Std S50", 32774, C, C},    // 1
    {"Mifare_ Std S70", 32810, C, C},   // 2
    {"AT88RF020", 32776, T, C},         // 3
    {"SR176", 32788, C, C},             // 4
    {"SRIX4K", 32789, F, F},            // 5
    {"Mifare_Pro(X) ", 32786, T, C},    // 6
    {"SmartCard", 32811, T, C},         // 7
    {"TRH1064", 32815, C, C},           // 8
    {"Tag_it", 32790, F, F},            // 9
    {"I.CODE SLI", 32812, F, F},        // 10
    {"SAM", 32780, C, C},               // 11
    {"CPU Card", 32792, C, C},          // 12
    {"AT24C01", 32793, F, F},           // 13
    {"AT24C02", 32794, F, F},           // 14
    {"AT24C04", 32795, F, F},           // 15
    {"AT24C08", 32796, F, F},           // 16
    {"AT24C16", 32797, F, F},           // 17
    {"AT24C32", 32798, F, F},           // 18
    {"AT24C64", 32799, F, F},           // 19
    {"AT88SC1608", 32800, F, F},        // 20
    {"SHC1102", 32802, C, C},           // 21
    {"SRF55V02P", 32804, C, C},         // 22
    {"SRF55V10P", 32805, C, C},         // 23
    {"Mifare_DesFire", 32813, T, C},    // 24
    {"Test", 32814, C, C},              // 25
    {"Set", 0, C, C},                   // 26
    {"Demo", 0, C, C},                  // 27
}};

} // namespace

const CardTypeInfo &CardTypeEntry(CardKind kind)
{
    return CardTypes[std::size_t(ValidCardType(int(kind)))];
}

QString CardName(CardKind kind)
{
    if (kind == CardKind::PortPage)
        return QStringLiteral("Set");
    return QString::fromLatin1(CardTypeEntry(kind).name);
}

std::optional<CardKind> CardKindForCommand(int commandId)
{
    for (std::size_t row = 0; row < CardTypes.size(); ++row) {
        if (CardTypes[row].commandId != 0 && CardTypes[row].commandId == commandId)
            return CardKind(row);
    }
    return std::nullopt;
}

CardKind ValidCardType(int cardType)
{
    return HasCardTypeRow(CardKind(cardType)) ? CardKind(cardType) : CardKind::MifareUltraLight;
}
