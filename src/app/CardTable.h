#pragma once

#include <QString>

class CCardPage;
class QWidget;

// How the page host places a page in the view.
enum class PagePlacement {
    Centred,          // centred in the frame's client width, template vertical position
    TemplatePosition, // where the template puts it (narrow screens)
    FillsView,        // covers the view, then rearranged for the screen width
};

// Builds the page of a card type; the template may depend on the screen width.
using CardPageFactory = CCardPage *(*)(int cardType, int screenWidth, QWidget *parent);

struct CardTypeInfo {
    const char *name;        // shown verbatim in the title and the information bar
    int commandId;           // menu command, 0 for none
    CardPageFactory factory; // null: no page (not built, or 26 and 27)
    // Placement on a 640- or 800-pixel-wide screen and on any other width.
    PagePlacement narrowPlacement;
    PagePlacement placement;
};

// The 28 card types, indexed by CardType.
const CardTypeInfo &CardTypeEntry(int cardType);
// CardNames: the name of a card type; the port page (255) is "Set".
QString CardName(int cardType);
// The card type of a menu command, or -1.
int CardTypeForCommand(int commandId);
// A CardType read from the settings held inside the table: 0 to 27 as they are, anything else 0.
int ValidCardType(int cardType);
