#include "pages/CUltraLightPage.h"

#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "controls/CHexEdit.h"
#include "pages/CMifareStdPage.h"
#include "pages/CardActivation.h"
#include "reader/RuntimeState.h"

#include <QColor>
#include <QComboBox>
#include <QPalette>

#include <algorithm>
#include <array>

namespace {

using enum ReaderFunction;
using enum CUltraLightPage::ControlId;

// The UltraLight card needs a pause only once the radio type is set.
constexpr FieldResetWaits UltraLightFieldReset = {0, 20, 0};

constexpr int PageCount = 16;
constexpr int PageBytes = 4;
constexpr int PagesPerRead = 4;
constexpr int ReadBytes = PagesPerRead * PageBytes;
constexpr int FirstWritablePage = 2;

// The lock bytes and the one-time-programmable page stand out whatever they hold.
constexpr QColor LockText{255, 255, 0};
constexpr QColor LockBackground{240, 0, 0};

// Where the bytes of a page are shown: page 2 is split into its first two bytes and its two
// lock bytes.
struct PagePiece {
    int field;
    int page;
    int offset; // within the page
    int count;
};

constexpr std::array<PagePiece, PageCount + 1> PagePieces = [] {
    std::array<PagePiece, PageCount + 1> pieces{};
    std::size_t next = 0;
    for (int page = 0; page < PageCount; ++page) {
        if (page == 2) {
            pieces[next++] = {CUltraLightPage::pageField(page), page, 0, 2};
            pieces[next++] = {LockBytesField, page, 2, 2};
        } else {
            pieces[next++] = {CUltraLightPage::pageField(page), page, 0, PageBytes};
        }
    }
    return pieces;
}();
static_assert(PagePieces.back().field == LastPageField);

DialogTemplate buildTemplate()
{
    static constexpr const char *PageNames[PageCount] = {"PAGE0", "PAGE1", "PAGE2", "PAGE3", "PAGE4", "PAGE5",
                                                         "PAGE6", "PAGE7", "PAGE8", "PAGE9", "PAGE10", "PAGE11",
                                                         "PAGE12", "PAGE13", "PAGE14", "PAGE15"};
    ControlList add;
    // The frame of the page comes first: the page's height is measured from it.
    add(UnaddressedControlId, ControlKind::GroupBox, 7, 7, 226, 204, "Mifare UltraLight");
    add(SerialLabel, ControlKind::Label, 15, 24, 60, 8, {"SN0.......SN6", "SN0.......SN6"});
    add(SerialField, ControlKind::HexEdit, 78, 22, 80, 12, "", Locked);
    add(RequestAllButton, ControlKind::Button, 15, 40, 50, 14, {"寻卡.ALL", "ReqALL"});
    add(RequestIdleButton, ControlKind::Button, 69, 40, 50, 14, {"寻卡.IDL", "ReqIDL"});
    add(HaltButton, ControlKind::Button, 123, 40, 50, 14, {"休眠", "Halt"});
    // Pages 0 to 7 in the left column, 8 to 15 in the right one.
    for (int page = 0; page < PageCount; ++page) {
        const int x = page < 8 ? 15 : 130;
        const int y = 62 + 15 * (page % 8);
        add(UnaddressedControlId, ControlKind::Label, x, y + 2, 30, 8, PageNames[page]);
        for (const PagePiece &piece : PagePieces) {
            if (piece.page == page)
                add(piece.field, ControlKind::HexEdit, x + 31 + 16 * piece.offset, y, piece.count == PageBytes ? 60 : 28, 12);
        }
    }
    add(PageLabel, ControlKind::Label, 15, 192, 24, 8, {"页地址", "Page"});
    add(PageList, ControlKind::DropList, 42, 190, 36, 12);
    add(ReadButton, ControlKind::Button, 90, 189, 56, 14, {"读卡", "Read Card"});
    add(WriteButton, ControlKind::Button, 150, 189, 56, 14, {"写卡", "Write Page"});
    return DialogTemplate{143, 240, 218, std::move(add.controls)};
}

void paintLockColours(QWidget *field)
{
    QPalette palette = field->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, LockText);
        palette.setColor(group, QPalette::Base, LockBackground);
    }
    field->setPalette(palette);
    field->setAutoFillBackground(true);
}

} // namespace

CUltraLightPage::CUltraLightPage(QWidget *parent)
    : CCardPage(dialogTemplate(), parent)
{
    initialise();
    onClicked(RequestAllButton, [this] { requestAll(); });
    onClicked(RequestIdleButton, [this] { requestIdle(); });
    onClicked(HaltButton, &CMifareStdPage::halt);
    onClicked(ReadButton, [this] { readCard(); });
    onClicked(WriteButton, [this] { writePage(); });
}

const DialogTemplate &CUltraLightPage::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CUltraLightPage::initialise()
{
    for (int page = FirstWritablePage; page < PageCount; ++page)
        addListItem(PageList, QString::number(page), page);
    comboBox(PageList)->setCurrentIndex(0);
    for (const PagePiece &piece : PagePieces)
        hexEdit(piece.field)->SetMaxBytes(piece.count);
    paintLockColours(hexEdit(LockBytesField));
    paintLockColours(hexEdit(pageField(3)));
    const QRect frame = controlRect(UnaddressedControlId);
    setContentHeight(frame.y() + frame.height() + 50);
}

void CUltraLightPage::clearPageFields()
{
    for (int field = FirstPageField; field <= LastPageField; ++field)
        hexEdit(field)->clear();
}

bool CUltraLightPage::selectCard(ReaderOperation &op, uint8_t requestMode)
{
    uint8_t tagType[2] = {};
    if (!op.call<rf_request>(0, requestMode, tagType))
        return false;
    AnswerBuffer serial{};
    uint8_t length = 0;
    if (!op.call<rf_ul_select>(0, serial.data(), &length))
        return false;
    clearPageFields();
    hexEdit(SerialField)->SetHexBytes(serial.data(), length);
    op.succeed(Message(Msg::OperationSucceeded));
    return true;
}

void CUltraLightPage::requestAll()
{
    hexEdit(SerialField)->clear();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (ResetField(op, TypeA, UltraLightFieldReset) && selectCard(op, RequestAll))
            return;
    }
}

void CUltraLightPage::requestIdle()
{
    hexEdit(SerialField)->clear();
    ReaderOperation op;
    if (op.requirePortOpen())
        selectCard(op, RequestIdle);
}

void CUltraLightPage::readCard()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    clearPageFields();
    for (int read = 0; read < PageCount / PagesPerRead; ++read) {
        const int firstPage = PagesPerRead * read;
        AnswerBuffer buffer{};
        uint8_t length = 0;
        // The report names the read (0 to 3), not its page address.
        if (!op.callReportedAs<rf_M1_read>(Message(Msg::ReadPageError, read), 0, uint8_t(firstPage), buffer.data(), &length)
            || !op.acceptLengthAs(length, ReadBytes, Message(Msg::ReadPageError, read)))
            return;
        for (const PagePiece &piece : PagePieces) {
            if (piece.page >= firstPage && piece.page < firstPage + PagesPerRead)
                hexEdit(piece.field)->SetHexBytes(buffer.data() + PageBytes * (piece.page - firstPage) + piece.offset, piece.count);
        }
    }
    op.succeed(Message(Msg::CardRead));
}

void CUltraLightPage::writePage()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    // No length check: bytes not entered are written as zero.
    std::array<uint8_t, PageBytes> data{};
    const int page = selectedItemData(PageList);
    for (const PagePiece &piece : PagePieces) {
        if (piece.page != page)
            continue;
        const QByteArray bytes = hexEdit(piece.field)->GetHexBytes();
        std::copy_n(bytes.constData(), std::min<int>(int(bytes.size()), piece.count), data.begin() + piece.offset);
    }
    if (op.call<rf_ul_write>(0, uint8_t(page), data.data()))
        op.succeed(Message(Msg::CardWritten));
}
