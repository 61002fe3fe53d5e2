#include "app/CardPages.h"

#include "base/CardTypes.h"
#include "pages/CMifareS50Page.h"
#include "pages/CIso15693Page.h"
#include "pages/CMifareS70Page.h"
#include "pages/CSrf55vPage.h"
#include "pages/CUltraLightPage.h"

#include <array>

namespace {

using CardPageFactory = CCardPage *(*)(int cardType, int screenWidth, QWidget *parent);

// The factory of a page class that takes only its parent.
template <class Page>
CCardPage *makePage(int /*cardType*/, int /*screenWidth*/, QWidget *parent)
{
    return new Page(parent);
}

// The ISO 15693 page takes its card profile from the card type.
CCardPage *makeIso15693Page(int cardType, int /*screenWidth*/, QWidget *parent)
{
    return new CIso15693Page(cardType, parent);
}

// The SRF55V page's variant: 0 for the SRF55V02P, 1 for the SRF55V10P.
CCardPage *makeSrf55vPage(int cardType, int /*screenWidth*/, QWidget *parent)
{
    return new CSrf55vPage(cardType == 23 ? 1 : 0, parent);
}

// Pages register here, one factory per card type; null: no page.
const std::array<CardPageFactory, CardTypeCount> PageFactories = {{
    &makePage<CUltraLightPage>, // 0 Mifare_UltraLight
    &makePage<CMifareS50Page>,  // 1 Mifare_Std S50
    &makePage<CMifareS70Page>,  // 2 Mifare_ Std S70
    nullptr,                    // 3 AT88RF020
    nullptr,                    // 4 SR176
    nullptr,                    // 5 SRIX4K
    nullptr,                    // 6 Mifare_Pro(X)
    nullptr,                    // 7 SmartCard
    nullptr,                    // 8 TRH1064
    &makeIso15693Page,          // 9 Tag_it
    &makeIso15693Page,          // 10 I.CODE SLI
    nullptr,                    // 11 SAM
    nullptr,                    // 12 CPU Card
    nullptr,                    // 13 AT24C01
    nullptr,                    // 14 AT24C02
    nullptr,                    // 15 AT24C04
    nullptr,                    // 16 AT24C08
    nullptr,                    // 17 AT24C16
    nullptr,                    // 18 AT24C32
    nullptr,                    // 19 AT24C64
    nullptr,                    // 20 AT88SC1608
    nullptr,                    // 21 SHC1102
    &makeSrf55vPage,            // 22 SRF55V02P
    &makeSrf55vPage,            // 23 SRF55V10P
    nullptr,                    // 24 Mifare_DesFire
    nullptr,                    // 25 Test
    nullptr,                    // 26 Set
    nullptr,                    // 27 Demo
}};

} // namespace

CCardPage *CreateCardPage(int cardType, int screenWidth, QWidget *parent)
{
    const CardPageFactory factory = PageFactories[std::size_t(ValidCardType(cardType))];
    return factory != nullptr ? factory(cardType, screenWidth, parent) : nullptr;
}

bool HasCardPage(int cardType)
{
    return PageFactories[std::size_t(ValidCardType(cardType))] != nullptr;
}
