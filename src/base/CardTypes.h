#pragma once

#include <QString>

#include <array>
#include <optional>

// The 28 card types of the "Choose Card" menu: what each is called, which menu command shows it
// and how the page host places its page. Which page class serves a type is decided above the
// pages (CardPages), so that this table stays below them.

// A card type: its value is the row of the table and what CardType holds and the settings keep.
enum class CardKind : int {
    MifareUltraLight = 0,
    MifareStdS50,
    MifareStdS70,
    At88rf020,
    Sr176,
    Srix4k,
    MifarePro,
    SmartCard,
    Trh1064,
    TagIt,
    IcodeSli,
    Sam,
    CpuCard,
    At24c01,
    At24c02,
    At24c04,
    At24c08,
    At24c16,
    At24c32,
    At24c64,
    At88sc1608,
    Shc1102,
    Srf55v02p,
    Srf55v10p,
    MifareDesfire,
    Test,
    Set,
    Demo,
    // Not a row of the table: the port and device page.
    PortPage = 255,
};

inline constexpr int CardTypeCount = 28;
// The CardType value of the port and device page.
inline constexpr int PortPageCardType = int(CardKind::PortPage);

// Every card type of the table, in table order.
inline constexpr std::array<CardKind, CardTypeCount> TableCardKinds = [] {
    std::array<CardKind, CardTypeCount> kinds{};
    for (int row = 0; row < CardTypeCount; ++row)
        kinds[std::size_t(row)] = CardKind(row);
    return kinds;
}();

// Whether the card type is a row of the table (the port page and stray values are not).
constexpr bool HasCardTypeRow(CardKind kind)
{
    return int(kind) >= 0 && int(kind) < CardTypeCount;
}

// How the page host places a page in the view.
enum class PagePlacement {
    Centred,          // centred in the frame's client width, template vertical position
    TemplatePosition, // where the template puts it (narrow screens)
    FillsView,        // covers the view, then rearranged for the screen width
};

struct CardTypeInfo {
    const char *name; // shown verbatim in the title and the information bar
    int commandId;    // menu command, 0 for none
    // Placement on a 640- or 800-pixel-wide screen and on any other width.
    PagePlacement narrowPlacement;
    PagePlacement placement;
};

// The card type's row; a value outside the table reads the first row.
const CardTypeInfo &CardTypeEntry(CardKind kind);
// CardNames: the name of a card type; the port page is "Set".
QString CardName(CardKind kind);
// The card type of a menu command, if it has one.
std::optional<CardKind> CardKindForCommand(int commandId);
// A CardType read from the settings held inside the table: 0 to 27 as they are, anything else
// (the port page included) the first row.
CardKind ValidCardType(int cardType);
