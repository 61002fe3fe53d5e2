#include "app/CardPages.h"

#include "base/CardTypes.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt24Page.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CIso15693Page.h"
#include "pages/CMifareS50Page.h"
#include "pages/CMifareS70Page.h"
#include "pages/CShc1102Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrf55vPage.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"
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

// The AT88RF020 page takes its template from the screen width.
CCardPage *makeAt88rf020Page(int /*cardType*/, int screenWidth, QWidget *parent)
{
    return new CAt88rf020Page(screenWidth, parent);
}

// The AT24Cxx page learns its memory size from the card type.
CCardPage *makeAt24Page(int cardType, int /*screenWidth*/, QWidget *parent)
{
    auto *page = new CAt24Page(parent);
    page->setCardType(cardType);
    return page;
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

// The consoles whose template follows the screen width; the ISO 14443-4 page also serves
// three card types.
CCardPage *makeIso14443CpuPage(int cardType, int screenWidth, QWidget *parent)
{
    return new CIso14443CpuPage(cardType, CIso14443CpuPage::dialogTemplate(screenWidth), parent);
}
CCardPage *makeSamPage(int /*cardType*/, int screenWidth, QWidget *parent)
{
    return new CSamPage(CSamPage::dialogTemplate(screenWidth), parent);
}

// Pages register here, one factory per card type; null: no page.
const std::array<CardPageFactory, CardTypeCount> PageFactories = {{
    &makePage<CUltraLightPage>, // 0 Mifare_UltraLight
    &makePage<CMifareS50Page>,  // 1 Mifare_Std S50
    &makePage<CMifareS70Page>,  // 2 Mifare_ Std S70
    &makeAt88rf020Page,         // 3 AT88RF020
    &makePage<CSr176Page>,      // 4 SR176
    &makePage<CSrix4kPage>,     // 5 SRIX4K
    &makeIso14443CpuPage,       // 6 Mifare_Pro(X)
    &makeIso14443CpuPage,       // 7 SmartCard
    &makePage<CTrh1064Page>,    // 8 TRH1064
    &makeIso15693Page,          // 9 Tag_it
    &makeIso15693Page,          // 10 I.CODE SLI
    &makeSamPage,               // 11 SAM
    &makePage<CCpuCardPage>,    // 12 CPU Card
    &makeAt24Page,              // 13 AT24C01
    &makeAt24Page,              // 14 AT24C02
    &makeAt24Page,              // 15 AT24C04
    &makeAt24Page,              // 16 AT24C08
    &makeAt24Page,              // 17 AT24C16
    &makeAt24Page,              // 18 AT24C32
    &makeAt24Page,              // 19 AT24C64
    &makePage<CAt1608Page>,     // 20 AT88SC1608
    &makePage<CShc1102Page>,    // 21 SHC1102
    &makeSrf55vPage,            // 22 SRF55V02P
    &makeSrf55vPage,            // 23 SRF55V10P
    &makeIso14443CpuPage,       // 24 Mifare_DesFire
    &makePage<CTransceivePage>, // 25 Test
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
