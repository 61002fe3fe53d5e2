#include "pages/CTrh1064Page.h"

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "pages/CardActivation.h"
#include "reader/ReaderWait.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>

#include <algorithm>
#include <array>

namespace {

using enum ReaderFunction;
using enum CTrh1064Page::ControlId;

// The tag answers in the reader's type B radio mode.
constexpr uint8_t TypeB = 'B';
constexpr FieldResetWaits Trh1064FieldReset = {20, 20, 0};
constexpr int AfterFieldOn_ms = 50;
constexpr int SearchAttempts = 2;

constexpr auto Page1Fields = CTrh1064Page::Page1Fields;
constexpr std::array<int, 12> RightsBoxes = {Page0Read, Page0Write, Page1Read, Page1Write,
                                             Page2Read, Page2Write, Page2Key, Page3Read,
                                             Page3Write, Page3AuthDecrement, Page3AuthRead, Page3AuthWrite};

constexpr int KeyBytes = 8;
constexpr int PageBytes = 8;
constexpr int Page1Bytes = 40;
constexpr int PageCount = 4;
// The configuration byte is the last byte of page 0 as the tag sends it (its byte 0).
constexpr int ConfigurationOffset = 7;

// Configuration bits.
constexpr uint8_t Page0Locked = 1u << 0;
constexpr uint8_t Page1Locked = 1u << 1;
constexpr uint8_t Page2LockedOrPage3NoAuthWrite = 1u << 2;
constexpr uint8_t Page3Restricted = 1u << 3;
constexpr uint8_t Page2IsKey = 1u << 4;
constexpr uint8_t Page3DecrementOnly = 1u << 5;

DialogTemplate buildTemplate()
{
    ControlList add;
    constexpr int FieldX = 58;
    constexpr int FieldWidth = 112;
    constexpr int ButtonX = 178;
    add(SerialLabel, ControlKind::Label, 10, 12, 46, 8, {"序列号", "Serial"});
    add(SerialField, ControlKind::HexEdit, FieldX, 10, FieldWidth, 12);
    add(SearchButton, ControlKind::Button, ButtonX, 9, 60, 14, {"寻卡", "Search card"});
    add(KeyLabel, ControlKind::Label, 10, 30, 46, 8, {"密  钥", "key"});
    add(KeyField, ControlKind::HexEdit, FieldX, 28, FieldWidth, 12);
    add(AuthenticateButton, ControlKind::Button, ButtonX, 27, 60, 14, {"认证", "Authenticate"});
    add(PageLabel, ControlKind::Label, 10, 48, 46, 8, {"页地址", "Page Address"});
    add(PageList, ControlKind::DropList, FieldX, 46, 40, 60);
    add(ReadButton, ControlKind::Button, 104, 45, 32, 14, {"读", "Read"});
    add(WriteButton, ControlKind::Button, 140, 45, 32, 14, {"写", "Write"});
    add(UnaddressedControlId, ControlKind::Label, FieldX + 4, 66, FieldWidth, 8, "byte7  --  byte0");

    constexpr int BoxX = 178;
    constexpr int RowHeight = 14;
    const auto pageRow = [&](const char *name, int y, int field) {
        add(UnaddressedControlId, ControlKind::Label, 10, y + 2, 40, 8, name);
        add(field, ControlKind::HexEdit, FieldX, y, FieldWidth, 12);
    };
    const LanguageText read{"自由读", "Read"};
    const LanguageText write{"自由写", "Write"};
    int y = 78;
    pageRow("Page0", y, Page0Field);
    add(Page0Read, ControlKind::CheckBox, BoxX, y + 1, 36, 10, read);
    add(Page0Write, ControlKind::CheckBox, BoxX + 40, y + 1, 36, 10, write);
    y += RowHeight + 4;
    pageRow("Page1", y, Page1Fields[0]);
    add(Page1Read, ControlKind::CheckBox, BoxX, y + 1, 36, 10, read);
    add(Page1Write, ControlKind::CheckBox, BoxX + 40, y + 1, 36, 10, write);
    for (std::size_t i = 1; i < Page1Fields.size(); ++i)
        add(Page1Fields[i], ControlKind::HexEdit, FieldX, y + RowHeight * int(i), FieldWidth, 12);
    y += RowHeight * int(Page1Fields.size()) + 4;
    pageRow("Page2", y, Page2Field);
    add(Page2Read, ControlKind::CheckBox, BoxX, y + 1, 36, 10, read);
    add(Page2Write, ControlKind::CheckBox, BoxX + 40, y + 1, 36, 10, write);
    add(Page2Key, ControlKind::CheckBox, BoxX + 80, y + 1, 36, 10, {"密钥", "Key"});
    y += RowHeight + 4;
    pageRow("Page3", y, Page3Field);
    add(Page3Read, ControlKind::CheckBox, BoxX, y + 1, 36, 10, read);
    add(Page3Write, ControlKind::CheckBox, BoxX + 40, y + 1, 36, 10, write);
    add(Page3AuthDecrement, ControlKind::CheckBox, BoxX + 80, y + 1, 48, 10, {"认证减", "Auth dec"});
    add(Page3AuthRead, ControlKind::CheckBox, BoxX, y + RowHeight + 1, 48, 10, {"认证读", "Auth read"});
    add(Page3AuthWrite, ControlKind::CheckBox, BoxX + 56, y + RowHeight + 1, 52, 10, {"认证写", "Auth write"});
    return DialogTemplate{159, 312, y + 2 * RowHeight + 10, std::move(add.controls)};
}

} // namespace

CTrh1064Page::CTrh1064Page(QWidget *parent)
    : CCardPage(dialogTemplate(), parent)
{
    setPaintsBackground(false);
    for (int page = 0; page < PageCount; ++page)
        addListItem(PageList, QStringLiteral("Page%1").arg(page), page);
    selectListIndex(PageList, 0);
    for (int id : {SerialField, KeyField, Page0Field, Page2Field, Page3Field})
        hexEdit(id)->SetMaxBytes(PageBytes);
    for (int id : Page1Fields)
        hexEdit(id)->SetMaxBytes(PageBytes);
    for (int id : RightsBoxes)
        control(id)->installEventFilter(this);
    onClicked(SearchButton, [this] { searchCard(); });
    onClicked(AuthenticateButton, [this] { authenticate(); });
    onClicked(ReadButton, [this] { readPage(); });
    onClicked(WriteButton, [this] { writePage(); });
}

const DialogTemplate &CTrh1064Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

bool CTrh1064Page::eventFilter(QObject *watched, QEvent *event)
{
    // The access rights come from the tag only: the boxes take no clicks and no keys.
    const bool rightsBox = std::any_of(RightsBoxes.begin(), RightsBoxes.end(), [&](int id) { return control(id) == watched; });
    if (rightsBox) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                return true;
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return true;
        default:
            break;
        }
    }
    return CCardPage::eventFilter(watched, event);
}

void CTrh1064Page::clearPageFields()
{
    for (int id : {Page0Field, Page2Field, Page3Field})
        hexEdit(id)->clear();
    for (int id : Page1Fields)
        hexEdit(id)->clear();
}

void CTrh1064Page::searchCard()
{
    clearPageFields();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    bool fieldOn = false;
    for (int attempt = 0; attempt < SearchAttempts && !fieldOn; ++attempt)
        fieldOn = ResetField(op, TypeB, Trh1064FieldReset);
    if (!fieldOn) {
        hexEdit(SerialField)->clear();
        return;
    }
    ReaderWait(AfterFieldOn_ms);
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<rf_atqb>(0, 0, answer.data(), &length)) {
        hexEdit(SerialField)->clear();
        return;
    }
    // A short answer shows only the bytes that came.
    hexEdit(SerialField)->SetHexBytes(answer.data(), std::min<int>(length, PageBytes));
    op.succeed(Message(Msg::RequestSucceeded));
}

void CTrh1064Page::authenticate()
{
    CHexEdit *key = hexEdit(KeyField);
    if (key->GetHexByteCount() != KeyBytes) {
        ShowMessageBox(this, Message(Msg::PasswordNeedsEightBytes), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    const QByteArray bytes = key->GetHexBytes();
    ReaderOperation op{ReaderOperation::Continue{}};
    if (op.call<rf_thr1064_check>(0, BytePointer(bytes)))
        op.succeed(Message(Msg::PasswordChecked));
}

void CTrh1064Page::readPage()
{
    const int page = selectedItemData(PageList);
    ReaderOperation op{ReaderOperation::Continue{}};
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!op.call<rf_thr1064_read>(0, uint8_t(page), buffer.data(), &length)) {
        if (page == 0) {
            hexEdit(Page0Field)->clear();
            clearAccessRights();
        } else if (page == 1) {
            for (int id : Page1Fields)
                hexEdit(id)->clear();
        }
        return;
    }
    if (length > 0) {
        switch (page) {
        case 0:
            hexEdit(Page0Field)->SetHexBytes(buffer.data(), std::min<int>(length, PageBytes));
            // Without the configuration byte the rights shown stay as they were.
            if (length > ConfigurationOffset)
                showAccessRights(buffer[ConfigurationOffset]);
            break;
        case 1:
            if (length == Page1Bytes) {
                for (std::size_t i = 0; i < Page1Fields.size(); ++i)
                    hexEdit(Page1Fields[i])->SetHexBytes(buffer.data() + PageBytes * i, PageBytes);
            }
            break;
        default:
            hexEdit(page == 2 ? Page2Field : Page3Field)->SetHexBytes(buffer.data(), length);
            break;
        }
    }
    op.succeed(Message(Msg::OperationSucceeded));
}

void CTrh1064Page::writePage()
{
    const int page = selectedItemData(PageList);
    QByteArray data;
    int length = 0;
    if (page == 1) {
        for (int id : Page1Fields) {
            data += hexEdit(id)->GetHexBytes();
            length += hexEdit(id)->GetHexByteCount();
        }
        if (length != Page1Bytes) {
            ShowMessageBox(this, Message(Msg::Page1NeedsFortyBytes), QStringLiteral("Error"), MessageIcon::Error);
            return;
        }
    } else {
        const int field = page == 0 ? Page0Field : page == 2 ? Page2Field : Page3Field;
        const Msg shortPage = page == 0 ? Msg::Page0NeedsEightBytes
                              : page == 2 ? Msg::Page2NeedsEightBytes
                                          : Msg::Page3NeedsEightBytes;
        data = hexEdit(field)->GetHexBytes();
        length = hexEdit(field)->GetHexByteCount();
        if (length != PageBytes) {
            ShowMessageBox(this, Message(shortPage), QStringLiteral("Error"), MessageIcon::Error);
            return;
        }
    }
    ReaderOperation op{ReaderOperation::Continue{}};
    if (op.call<rf_thr1064_write>(0, uint8_t(page), BytePointer(data), uint8_t(length)))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CTrh1064Page::clearAccessRights()
{
    for (int id : RightsBoxes)
        button(id)->setChecked(false);
}

void CTrh1064Page::showAccessRights(uint8_t c)
{
    const auto set = [this](int id, bool on) { button(id)->setChecked(on); };
    const bool keyPage = (c & Page2IsKey) != 0;
    const bool bit2 = (c & Page2LockedOrPage3NoAuthWrite) != 0;
    const bool bit3 = (c & Page3Restricted) != 0;
    set(Page0Read, true);
    set(Page0Write, (c & Page0Locked) == 0);
    set(Page1Read, true);
    set(Page1Write, (c & Page1Locked) == 0);
    set(Page2Read, !keyPage);
    set(Page2Write, !keyPage && !bit2);
    set(Page2Key, keyPage);
    for (int id : {Page3Read, Page3Write, Page3AuthDecrement, Page3AuthRead, Page3AuthWrite})
        set(id, false);
    if (!keyPage) {
        // Page 3 is as open as the others, its write barred by bit 3.
        set(Page3Read, true);
        set(Page3Write, !bit3);
        return;
    }
    // With a key, bit 3 takes the free read away, bit 2 the authenticated change, and bit 5
    // turns that change into a decrement.
    const bool decrementOnly = (c & Page3DecrementOnly) != 0;
    set(Page3Read, !bit3);
    set(Page3AuthRead, bit3 || !bit2);
    set(decrementOnly ? Page3AuthDecrement : Page3AuthWrite, !bit2);
}
