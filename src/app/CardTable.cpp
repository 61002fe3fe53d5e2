#include "app/CardTable.h"

#include "pages/CMifareS50Page.h"
#include "pages/CMifareS70Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"

#include <array>

namespace {

constexpr auto C = PagePlacement::Centred;
constexpr auto T = PagePlacement::TemplatePosition;
constexpr auto F = PagePlacement::FillsView;

// The factory of a page class that takes only its parent.
template <class Page>
CCardPage *makePage(int /*cardType*/, int /*screenWidth*/, QWidget *parent)
{
    return new Page(parent);
}

// Pages register here: each row's factory builds its page. Rows without a factory show no page.
const std::array<CardTypeInfo, CardTypeCount> CardTypes = {{
    {"Mifare_UltraLight", 32787, &makePage<CUltraLightPage>, C, C}, // 0
    {"Mifare_Std S50", 32774, &makePage<CMifareS50Page>, C, C},     // 1
    {"Mifare_ Std S70", 32810, &makePage<CMifareS70Page>, C, C},    // 2
    {"AT88RF020", 32776, nullptr, T, C},          // 3
    {"SR176", 32788, nullptr, C, C},              // 4
    {"SRIX4K", 32789, nullptr, F, F},             // 5
    {"Mifare_Pro(X) ", 32786, nullptr, T, C},     // 6
    {"SmartCard", 32811, nullptr, T, C},          // 7
    {"TRH1064", 32815, nullptr, C, C},            // 8
    {"Tag_it", 32790, nullptr, F, F},             // 9
    {"I.CODE SLI", 32812, nullptr, F, F},         // 10
    {"SAM", 32780, nullptr, C, C},                // 11
    {"CPU Card", 32792, nullptr, C, C},           // 12
    {"AT24C01", 32793, nullptr, F, F},            // 13
    {"AT24C02", 32794, nullptr, F, F},            // 14
    {"AT24C04", 32795, nullptr, F, F},            // 15
    {"AT24C08", 32796, nullptr, F, F},            // 16
    {"AT24C16", 32797, nullptr, F, F},            // 17
    {"AT24C32", 32798, nullptr, F, F},            // 18
    {"AT24C64", 32799, nullptr, F, F},            // 19
    {"AT88SC1608", 32800, nullptr, F, F},         // 20
    {"SHC1102", 32802, nullptr, C, C},            // 21
    {"SRF55V02P", 32804, nullptr, C, C},          // 22
    {"SRF55V10P", 32805, nullptr, C, C},          // 23
    {"Mifare_DesFire", 32813, nullptr, T, C},     // 24
    {"Test", 32814, nullptr, C, C},               // 25
    {"Set", 0, nullptr, C, C},                    // 26
    {"Demo", 0, nullptr, C, C},                   // 27
}};

} // namespace

const CardTypeInfo &CardTypeEntry(int cardType)
{
    return CardTypes[std::size_t(ValidCardType(cardType))];
}

QString CardName(int cardType)
{
    if (cardType == PortPageCardType)
        return QStringLiteral("Set");
    return QString::fromLatin1(CardTypeEntry(cardType).name);
}

int CardTypeForCommand(int commandId)
{
    for (std::size_t i = 0; i < CardTypes.size(); ++i) {
        if (CardTypes[i].commandId != 0 && CardTypes[i].commandId == commandId)
            return int(i);
    }
    return -1;
}

int ValidCardType(int cardType)
{
    return cardType >= 0 && cardType < CardTypeCount ? cardType : 0;
}
