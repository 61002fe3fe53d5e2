#include "app/CardPages.h"

#include "base/CardTypes.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "pages/CMifareS50Page.h"
#include "pages/CMifareS70Page.h"
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
    nullptr,                    // 3 AT88RF020
    nullptr,                    // 4 SR176
    nullptr,                    // 5 SRIX4K
    &makeIso14443CpuPage,       // 6 Mifare_Pro(X)
    &makeIso14443CpuPage,       // 7 SmartCard
    nullptr,                    // 8 TRH1064
    nullptr,                    // 9 Tag_it
    nullptr,                    // 10 I.CODE SLI
    &makeSamPage,               // 11 SAM
    &makePage<CCpuCardPage>,    // 12 CPU Card
    nullptr,                    // 13 AT24C01
    nullptr,                    // 14 AT24C02
    nullptr,                    // 15 AT24C04
    nullptr,                    // 16 AT24C08
    nullptr,                    // 17 AT24C16
    nullptr,                    // 18 AT24C32
    nullptr,                    // 19 AT24C64
    nullptr,                    // 20 AT88SC1608
    nullptr,                    // 21 SHC1102
    nullptr,                    // 22 SRF55V02P
    nullptr,                    // 23 SRF55V10P
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
