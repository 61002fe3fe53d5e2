#include "pages/CAt88rf020Page.h"

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "pages/CardActivation.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using enum ReaderFunction;
using enum CAt88rf020Page::ControlId;

// The radio mode the reader talks to the AT88RF020 in, and the request B mode (idle tags).
constexpr uint8_t At88rf020Radio = 0x72;
constexpr uint8_t RequestBIdle = 0;
// The tag needs time after each step of the antenna cycle.
constexpr FieldResetWaits At88rf020FieldReset = {20, 20, 50};
constexpr int AttemptCount = 2;

// The two halves of page 0 (PUPI and lock bytes) and page 2 (signature and counter).
constexpr int Page0Fields[] = {Page0PupiField, Page0LockField};
constexpr int Page2Fields[] = {Page2SignatureField, Page2CounterField};

constexpr int PageCount = 32;
constexpr int PageBytes = 8;
constexpr int PasswordPage = 3;
constexpr int PasswordBytes = 8;
constexpr int LockBytes = 4;
constexpr int SignatureBytes = 6;
// The answer to request B: a marker byte, the PUPI, application data and protocol information.
constexpr int AtqbBytes = 12;
constexpr int PupiOffset = 1;
constexpr int PupiBytes = 4;

// Where the bytes of a page are shown: pages 0 and 1 in two halves, page 2 as its signature and
// its counter, every other page in one field pageField(p).
struct PagePiece {
    int field;
    int page;
    int offset; // within the page
    int count;
};

std::vector<PagePiece> pagePieces()
{
    std::vector<PagePiece> pieces = {
        {Page0PupiField, 0, 0, 4},      {Page0LockField, 0, 4, 4},   {Page1FirstHalfField, 1, 0, 4},
        {Page1SecondHalfField, 1, 4, 4}, {Page2SignatureField, 2, 0, 6}, {Page2CounterField, 2, 6, 2},
    };
    for (int page = PasswordPage; page < PageCount; ++page)
        pieces.push_back({CAt88rf020Page::pageField(page), page, 0, PageBytes});
    return pieces;
}

const std::vector<PagePiece> &PagePieces()
{
    static const std::vector<PagePiece> pieces = pagePieces();
    return pieces;
}

// Width of a hex field for its byte count: two digits a byte and the frame.
int fieldWidth(int bytes)
{
    return 14 * bytes + 6;
}

// The three templates hold the same controls; the narrow screens get them closer to the
// page's corner, since the page then stands at its template position.
DialogTemplate buildTemplate(int templateId)
{
    const int margin = templateId == 134 ? 2 : templateId == 132 ? 4 : 7;
    std::vector<ControlTemplate> controls;
    const auto add = [&controls, margin](int id, ControlKind kind, int x, int y, int width, int height,
                                         LanguageText caption = {}, uint32_t flags = NoFlags) {
        controls.push_back(ControlTemplate{id, kind, margin + x, margin + y, width, height, caption, flags});
    };
    add(UnaddressedControlId, ControlKind::Label, 4, 6, 40, 8, "PUPI");
    add(PupiField, ControlKind::HexEdit, 48, 4, fieldWidth(PupiBytes), 12);
    add(ReqBButton, ControlKind::Button, 184, 3, 56, 14, {"寻卡", "ReqB"});
    add(DeselectButton, ControlKind::Button, 246, 3, 56, 14, {"DESELECT", "Deselect"});
    add(UnaddressedControlId, ControlKind::Label, 4, 24, 40, 8, {"密码", "Password"});
    add(PasswordField, ControlKind::HexEdit, 48, 22, fieldWidth(PasswordBytes), 12);
    add(CheckButton, ControlKind::Button, 184, 21, 56, 14, {"验证", "Check"});
    add(UnaddressedControlId, ControlKind::Label, 4, 42, 40, 8, {"LOCK", "Lock"});
    add(LockField, ControlKind::HexEdit, 48, 40, fieldWidth(LockBytes), 12);
    add(LockButton, ControlKind::Button, 184, 39, 56, 14, {"LOCK", "Lock"});
    add(UnaddressedControlId, ControlKind::Label, 4, 60, 40, 8, {"签名", "Signature"});
    add(SignatureField, ControlKind::HexEdit, 48, 58, fieldWidth(SignatureBytes), 12);
    add(CountButton, ControlKind::Button, 184, 57, 56, 14, {"记数", "Count"});
    add(UnaddressedControlId, ControlKind::Label, 246, 24, 24, 8, {"页地址", "Page"});
    add(PageList, ControlKind::DropList, 272, 22, 30, 120);
    add(WriteButton, ControlKind::Button, 246, 39, 56, 14, {"写卡", "Write Card"});
    add(ReadButton, ControlKind::Button, 246, 57, 56, 14, {"读卡", "Read Card"});
    // Pages 0 to 15 in the left column, 16 to 31 in the right one.
    constexpr int GroupTop = 78;
    constexpr int RowHeight = 14;
    constexpr int RowWidth = 126;
    add(PageGroup, ControlKind::GroupBox, 0, GroupTop, 354, 16 * RowHeight + 20, "AT88RF020");
    for (int page = 0; page < PageCount; ++page) {
        const int x = page < 16 ? 6 : 180;
        const int y = GroupTop + 12 + RowHeight * (page % 16);
        static const QByteArray names[PageCount] = {
            "PAGE0", "PAGE1", "PAGE2", "PAGE3", "PAGE4", "PAGE5", "PAGE6", "PAGE7", "PAGE8", "PAGE9", "PAGE10",
            "PAGE11", "PAGE12", "PAGE13", "PAGE14", "PAGE15", "PAGE16", "PAGE17", "PAGE18", "PAGE19", "PAGE20",
            "PAGE21", "PAGE22", "PAGE23", "PAGE24", "PAGE25", "PAGE26", "PAGE27", "PAGE28", "PAGE29", "PAGE30",
            "PAGE31"};
        add(UnaddressedControlId, ControlKind::Label, x, y + 2, 30, 8, names[page].constData());
        // Every row is as wide as an 8-byte field; a split page puts its second field right
        // after the first.
        for (const PagePiece &piece : PagePieces()) {
            if (piece.page != page)
                continue;
            const int start = piece.offset == 0 ? 0 : fieldWidth(piece.offset) + 2;
            const int width = piece.offset == 0 && piece.count < PageBytes ? fieldWidth(piece.count) : RowWidth - start;
            add(piece.field, ControlKind::HexEdit, x + 32 + start, y, width, 12);
        }
    }
    return DialogTemplate{templateId, 362 + margin, GroupTop + 16 * RowHeight + 28 + margin, std::move(controls)};
}

} // namespace

CAt88rf020Page::CAt88rf020Page(int screenWidth, QWidget *parent)
    : CCardPage(dialogTemplate(templateIdForWidth(screenWidth)), parent)
{
    initialise();
    onClicked(ReqBButton, [this] { requestB(); });
    onClicked(CheckButton, [this] { checkPassword(); });
    onClicked(LockButton, [this] { lock(); });
    onClicked(CountButton, [this] { count(); });
    onClicked(ReadButton, [this] { readCard(); });
    onClicked(WriteButton, [this] { writeCard(); });
    onClicked(DeselectButton, [this] { deselect(); });
}

int CAt88rf020Page::templateIdForWidth(int screenWidth)
{
    if (screenWidth == 640)
        return 134;
    return screenWidth == 800 ? 132 : 133;
}

const DialogTemplate &CAt88rf020Page::dialogTemplate(int templateId)
{
    static const DialogTemplate narrowest = buildTemplate(134);
    static const DialogTemplate narrow = buildTemplate(132);
    static const DialogTemplate wide = buildTemplate(133);
    return templateId == 134 ? narrowest : templateId == 132 ? narrow : wide;
}

void CAt88rf020Page::initialise()
{
    addCaptionFrame(PageGroup);
    addListItem(PageList, QStringLiteral("1"), 1);
    for (int page = PasswordPage; page < PageCount; ++page)
        addListItem(PageList, QString::asprintf("%d", page), page);
    selectListIndex(PageList, 0);
    hexEdit(PasswordField)->SetMaxBytes(PasswordBytes);
    hexEdit(LockField)->SetMaxBytes(LockBytes);
    hexEdit(SignatureField)->SetMaxBytes(SignatureBytes);
    for (const PagePiece &piece : PagePieces())
        hexEdit(piece.field)->SetMaxBytes(piece.count);
    const QRect group = controlRect(PageGroup);
    setContentHeight(group.y() + group.height() + 50);
}

void CAt88rf020Page::clearPageFields()
{
    for (const PagePiece &piece : PagePieces()) {
        if (piece.page != PasswordPage)
            hexEdit(piece.field)->clear();
    }
}

void CAt88rf020Page::showPage(int page, const uint8_t *data)
{
    for (const PagePiece &piece : PagePieces()) {
        if (piece.page == page)
            hexEdit(piece.field)->SetHexBytes(data + piece.offset, piece.count);
    }
}

bool CAt88rf020Page::requireFieldBytes(int field, int bytes, Msg message)
{
    if (hexEdit(field)->GetHexByteCount() == bytes)
        return true;
    ShowMessageBox(this, Message(message), QStringLiteral("Error"), MessageIcon::Error);
    return false;
}

bool CAt88rf020Page::activate(ReaderOperation &op, QByteArray &answer)
{
    if (!ResetField(op, At88rf020Radio, At88rf020FieldReset))
        return false;
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!op.call<rf_atqb>(0, RequestBIdle, buffer.data(), &length) || !op.acceptLength<rf_atqb>(length, AtqbBytes))
        return false;
    answer = ByteArrayOf(buffer.data(), AtqbBytes);
    return true;
}

void CAt88rf020Page::requestB()
{
    clearPageFields();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    QByteArray answer;
    for (int attempt = 0; attempt < AttemptCount; ++attempt) {
        if (activate(op, answer)) {
            hexEdit(PupiField)->SetHexBytes(answer.mid(PupiOffset, PupiBytes));
            hexEdit(PasswordField)->setFocus();
            op.succeed(Message(Msg::RequestSucceeded));
            return;
        }
    }
    hexEdit(PupiField)->clear();
}

void CAt88rf020Page::checkPassword()
{
    ReaderOperation op;
    if (!op.requirePortOpen() || !requireFieldBytes(PasswordField, PasswordBytes, Msg::PasswordNeedsEightBytes))
        return;
    const QByteArray password = hexEdit(PasswordField)->GetHexBytes();
    if (op.call<rf_at020_check>(0, BytePointer(password)))
        op.succeed(Message(Msg::PasswordChecked));
}

void CAt88rf020Page::lock()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    for (int field : Page0Fields)
        hexEdit(field)->clear();
    if (!requireFieldBytes(LockField, LockBytes, Msg::LockNeedsFourBytes))
        return;
    const QByteArray lockBytes = hexEdit(LockField)->GetHexBytes();
    // The lock itself is reported but not listed; the read of page 0 that shows it is.
    if (!op.callReportingOnly<rf_at020_lock>(0, BytePointer(lockBytes)))
        return;
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!op.call<rf_at020_read>(0, uint8_t(0), buffer.data(), &length) || !op.acceptLength<rf_at020_read>(length, PageBytes))
        return;
    showPage(0, buffer.data());
    op.succeed(Message(Msg::LockSucceeded));
}

void CAt88rf020Page::count()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    for (int field : Page2Fields)
        hexEdit(field)->clear();
    if (!requireFieldBytes(SignatureField, SignatureBytes, Msg::SignatureNeedsSixBytes))
        return;
    const QByteArray signature = hexEdit(SignatureField)->GetHexBytes();
    if (!op.call<rf_at020_count>(0, BytePointer(signature)))
        return;
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!op.call<rf_at020_read>(0, uint8_t(2), buffer.data(), &length) || !op.acceptLength<rf_at020_read>(length, PageBytes))
        return;
    showPage(2, buffer.data());
    op.succeed(Message(Msg::CountSucceeded));
}

void CAt88rf020Page::readCard()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    clearPageFields();
    for (int page = 0; page < PageCount; ++page) {
        if (page == PasswordPage)
            continue;
        AnswerBuffer buffer{};
        uint8_t length = 0;
        const QString label = Message(Msg::ReadPageError, page);
        if (!op.callReportedAs<rf_at020_read>(label, 0, uint8_t(page), buffer.data(), &length)
            || !op.acceptLengthAs(length, PageBytes, label))
            return;
        showPage(page, buffer.data());
    }
    op.succeed(Message(Msg::CardRead));
}

void CAt88rf020Page::writeCard()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    // Bytes the operator left out of a field are written as zero, never as what the buffer
    // happened to hold.
    std::array<uint8_t, PageBytes> data{};
    const int page = selectedItemData(PageList);
    if (page < 0)
        return;
    for (const PagePiece &piece : PagePieces()) {
        if (piece.page != page)
            continue;
        const QByteArray bytes = hexEdit(piece.field)->GetHexBytes();
        std::copy_n(bytes.constData(), std::min<int>(int(bytes.size()), piece.count), data.begin() + piece.offset);
    }
    if (op.call<rf_at020_write>(0, uint8_t(page), data.data()))
        op.succeed(Message(Msg::CardWritten));
}

void CAt88rf020Page::deselect()
{
    ReaderOperation op;
    if (op.requirePortOpen() && op.call<rf_at020_deselect>(0))
        op.succeed(Message(Msg::DeselectSucceeded));
}
