#pragma once

#include <QString>

// The 28 card types of the "Choose Card" menu: what each is called, which menu command shows it
// and how the page host places its page. Which page class serves a type is decided above the
// pages (CardPages), so that this table stays below them.

// The CardType of the port and device page.
inline constexpr int PortPageCardType = 255;
inline constexpr int CardTypeCount = 28;

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

// The card type's row, indexed by CardType (held inside the table).
const CardTypeInfo &CardTypeEntry(int cardType);
// CardNames: the name of a card type; the port page (255) is "Set".
QString CardName(int cardType);
// The card type of a menu command, or -1.
int CardTypeForCommand(int commandId);
// A CardType read from the settings held inside the table: 0 to 27 as they are, anything else 0.
int ValidCardType(int cardType);
