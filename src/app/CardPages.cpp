#include "app/CardPages.h"

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

using CardPageFactory = CCardPage *(*)(CardKind kind, int screenWidth, QWidget *parent);

// The factory of a page class that takes only its parent.
template <class Page>
CCardPage *makePage(CardKind /*kind*/, int /*screenWidth*/, QWidget *parent)
{
    return new Page(parent);
}

// The AT88RF020 page takes its template from the screen width.
CCardPage *makeAt88rf020Page(CardKind /*kind*/, int screenWidth, QWidget *parent)
{
    return new CAt88rf020Page(screenWidth, parent);
}

// The AT24Cxx page learns its memory size from the card type.
CCardPage *makeAt24Page(CardKind kind, int /*screenWidth*/, QWidget *parent)
{
    auto *page = new CAt24Page(parent);
    page->setCardType(kind);
    return page;
}

// The ISO 15693 page takes its card profile from the card type.
CCardPage *makeIso15693Page(CardKind kind, int /*screenWidth*/, QWidget *parent)
{
    return new CIso15693Page(kind, parent);
}

// The SRF55V page's variant: 0 for the SRF55V02P, 1 for the SRF55V10P.
CCardPage *makeSrf55vPage(CardKind kind, int /*screenWidth*/, QWidget *parent)
{
    return new CSrf55vPage(kind == CardKind::Srf55v10p ? 1 : 0, parent);
}

// The consoles whose template follows the screen width; the ISO 14443-4 page also serves
// three card types.
CCardPage *makeIso14443CpuPage(CardKind kind, int screenWidth, QWidget *parent)
{
    return new CIso14443CpuPage(kind, CIso14443CpuPage::dialogTemplate(screenWidth), parent);
}
CCardPage *makeSamPage(CardKind /*kind*/, int screenWidth, QWidget *parent)
{
    return new CSamPage(CSamPage::dialogTemplate(screenWidth), parent);
}

// Pages register here, one factory per card type in table order; null: no page.
struct CardPageRow {
    CardKind kind;
    CardPageFactory factory;
};
constexpr std::array<CardPageRow, CardTypeCount> PageFactories = {{
    {CardKind::MifareUltraLight, &makePage<CUltraLightPage>},
    {CardKind::MifareStdS50, &makePage<CMifareS50Page>},
    {CardKind::MifareStdS70, &makePage<CMifareS70Page>},
    {CardKind::At88rf020, &makeAt88rf020Page},
    {CardKind::Sr176, &makePage<CSr176Page>},
    {CardKind::Srix4k, &makePage<CSrix4kPage>},
    {CardKind::MifarePro, &makeIso14443CpuPage},
    {CardKind::SmartCard, &makeIso14443CpuPage},
    {CardKind::Trh1064, &makePage<CTrh1064Page>},
    {CardKind::TagIt, &makeIso15693Page},
    {CardKind::IcodeSli, &makeIso15693Page},
    {CardKind::Sam, &makeSamPage},
    {CardKind::CpuCard, &makePage<CCpuCardPage>},
    {CardKind::At24c01, &makeAt24Page},
    {CardKind::At24c02, &makeAt24Page},
    {CardKind::At24c04, &makeAt24Page},
    {CardKind::At24c08, &makeAt24Page},
    {CardKind::At24c16, &makeAt24Page},
    {CardKind::At24c32, &makeAt24Page},
    {CardKind::At24c64, &makeAt24Page},
    {CardKind::At88sc1608, &makePage<CAt1608Page>},
    {CardKind::Shc1102, &makePage<CShc1102Page>},
    {CardKind::Srf55v02p, &makeSrf55vPage},
    {CardKind::Srf55v10p, &makeSrf55vPage},
    {CardKind::MifareDesfire, &makeIso14443CpuPage},
    {CardKind::Test, &makePage<CTransceivePage>},
    {CardKind::Set, nullptr},
    {CardKind::Demo, nullptr},
}};
static_assert([] {
    for (std::size_t row = 0; row < PageFactories.size(); ++row) {
        if (PageFactories[row].kind != CardKind(row))
            return false;
    }
    return true;
}());

} // namespace

CCardPage *CreateCardPage(CardKind kind, int screenWidth, QWidget *parent)
{
    const CardPageFactory factory = PageFactories[std::size_t(ValidCardType(int(kind)))].factory;
    return factory != nullptr ? factory(kind, screenWidth, parent) : nullptr;
}

bool HasCardPage(CardKind kind)
{
    return PageFactories[std::size_t(ValidCardType(int(kind)))].factory != nullptr;
}
