#include "pages/CShc1102Page.h"

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "pages/CardActivation.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <algorithm>
#include <array>

namespace {

using enum ReaderFunction;
using enum CShc1102Page::ControlId;

// The tag needs a pause only once the radio type is set.
constexpr FieldResetWaits Shc1102FieldReset = {0, 20, 0};

constexpr int BlockCount = 16;
constexpr int BlockBytes = 4;
constexpr int PasswordBytes = 4;
constexpr int FirstWritableBlock = 2;
constexpr int FirstGuardedBlock = 8;
// Writing block 8 changes the password.
constexpr int PasswordBlock = 8;


DialogTemplate buildTemplate()
{
    ControlList add;
    static constexpr const char *BlockNames[BlockCount] = {
        "BLOCK0", "BLOCK1", "BLOCK2", "BLOCK3", "BLOCK4", "BLOCK5", "BLOCK6", "BLOCK7",
        "BLOCK8", "BLOCK9", "BLOCK10", "BLOCK11", "BLOCK12", "BLOCK13", "BLOCK14", "BLOCK15"};
    // The frame comes first: the page's height is measured from it.
    add(UnaddressedControlId, ControlKind::GroupBox, 7, 7, 240, 184, "SHC1102");
    add(TagTypeField, ControlKind::HexEdit, 15, 22, 50, 12, {"", ""}, Locked);
    add(RequestButton, ControlKind::Button, 70, 21, 50, 14, {"寻卡", "Request"});
    add(UnaddressedControlId, ControlKind::Label, 132, 24, 36, 8, "Password");
    add(PasswordField, ControlKind::HexEdit, 172, 22, 62, 12);
    for (int block = 0; block < BlockCount; ++block) {
        const int x = block < 8 ? 15 : 132;
        const int y = 44 + 15 * (block % 8);
        add(UnaddressedControlId, ControlKind::Label, x, y + 2, 36, 8, BlockNames[block]);
        add(CShc1102Page::blockField(block), ControlKind::HexEdit, x + 40, y, 62, 12);
    }
    add(UnaddressedControlId, ControlKind::Label, 15, 170, 24, 8, "Block");
    add(BlockList, ControlKind::DropList, 42, 168, 34, 80);
    add(ReadButton, ControlKind::Button, 100, 167, 60, 14, {"读卡", "Read Card"});
    add(WriteButton, ControlKind::Button, 170, 167, 60, 14, {"写卡", "Write Block"});
    return DialogTemplate{154, 254, 198, std::move(add.controls)};
}

} // namespace

CShc1102Page::CShc1102Page(QWidget *parent)
    : CCardPage(dialogTemplate(), parent)
{
    for (int block = FirstWritableBlock; block < BlockCount; ++block)
        addListItem(BlockList, QString::number(block), block);
    selectListIndex(BlockList, 0);
    hexEdit(PasswordField)->SetMaxBytes(PasswordBytes);
    for (int block = 0; block < BlockCount; ++block)
        hexEdit(blockField(block))->SetMaxBytes(BlockBytes);
    const QRect frame = controlRect(UnaddressedControlId);
    setContentHeight(frame.y() + frame.height() + 50);
    onClicked(RequestButton, [this] { request(); });
    onClicked(ReadButton, [this] { readCard(); });
    onClicked(WriteButton, [this] { writeBlock(); });
}

const DialogTemplate &CShc1102Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CShc1102Page::clearBlockFields()
{
    for (int block = 0; block < BlockCount; ++block)
        hexEdit(blockField(block))->clear();
}

bool CShc1102Page::requestTag(ReaderOperation &op)
{
    if (!ResetField(op, TypeA, Shc1102FieldReset))
        return false;
    uint8_t tagType[2] = {};
    if (!op.call<rf_request>(0, RequestAll, tagType))
        return false;
    hexEdit(TagTypeField)->SetHexBytes(tagType, 2);
    return true;
}

void CShc1102Page::request()
{
    hexEdit(TagTypeField)->clear();
    clearBlockFields();
    ReaderOperation op;
    if (op.requirePortOpen() && requestTag(op))
        op.succeed(Message(Msg::RequestSucceeded));
}

bool CShc1102Page::readBlocks(ReaderOperation &op, int first, int last)
{
    for (int block = first; block <= last; ++block) {
        AnswerBuffer buffer{};
        uint8_t length = 0;
        if (!op.callLoggingOnly<rf_Shc1102_Read>(0, uint8_t(block), buffer.data(), &length))
            return false;
        hexEdit(blockField(block))->SetHexBytes(buffer.data(), length);
    }
    return true;
}

void CShc1102Page::readCard()
{
    ReaderOperation op;
    clearBlockFields();
    if (!op.requirePortOpen() || !requestTag(op) || !readBlocks(op, 0, FirstGuardedBlock - 1))
        return;
    // Without a password only the free blocks are read, and nothing is said.
    CHexEdit *passwordField = hexEdit(PasswordField);
    if (passwordField->GetHexByteCount() != PasswordBytes)
        return;
    const QByteArray password = passwordField->GetHexBytes();
    if (!op.callLoggingOnly<rf_Shc1102_Auth>(0, BytePointer(password))
        || !readBlocks(op, FirstGuardedBlock, BlockCount - 1))
        return;
    op.succeed(Message(Msg::CardRead));
}

void CShc1102Page::writeBlock()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const int block = selectedItemData(BlockList);
    if (block == PasswordBlock
        && ShowMessageBox(this, Message(Msg::ConfirmPasswordChange), QStringLiteral("Warning"), MessageIcon::Question, MessageButtons::OkCancel)
               == MessageAnswer::Cancel)
        return;
    if (!requestTag(op))
        return;
    // A short field is sent with zeros after its bytes.
    std::array<uint8_t, 8> data{};
    const QByteArray bytes = hexEdit(blockField(block))->GetHexBytes();
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), qsizetype(data.size())), data.begin());
    CHexEdit *passwordField = hexEdit(PasswordField);
    if (passwordField->GetHexByteCount() != PasswordBytes) {
        ShowMessageBox(this, Message(Msg::PasswordNeeded), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    const QByteArray password = passwordField->GetHexBytes();
    if (op.callLoggingOnly<rf_Shc1102_Auth>(0, BytePointer(password))
        && op.callLoggingOnly<rf_Shc1102_Write>(0, uint8_t(block), data.data()))
        op.succeed(Message(Msg::CardWritten));
}
