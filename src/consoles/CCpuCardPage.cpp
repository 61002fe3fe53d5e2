#include "consoles/CCpuCardPage.h"

#include "controls/CHexEdit.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <array>

namespace {

using enum ReaderFunction;
using enum CCpuCardPage::ControlId;

constexpr int MinCommandLength = 5;

DialogTemplate buildTemplate()
{
    ControlList add;
    add(ConsoleBox, ControlKind::GroupBox, 10, 8, 684, 296, {"CPU卡操作", "Smart Card"});
    add(CommandLabel, ControlKind::Label, 22, 30, 56, 8, {"COS命令", "COS Command"});
    add(CommandField, ControlKind::HexEdit, 82, 28, 460, 12);
    add(PickerButton, ControlKind::Button, 544, 28, 12, 12);
    add(SendButton, ControlKind::Button, 562, 27, 56, 14, {"发送", "Send"}, DefaultButton);
    add(ResetButton, ControlKind::Button, 624, 27, 56, 14, {"复位", "Reset"});
    add(ResetInfoLabel, ControlKind::Label, 22, 50, 56, 8, {"复位信息", "RstInfo"});
    add(ResetInfoField, ControlKind::HexEdit, 82, 48, 460, 12, {}, Locked);
    add(AnswerLabel, ControlKind::Label, 22, 70, 56, 8, {"返回结果", "Answer"});
    add(ResultList, ControlKind::Custom, 82, 68, 598, 206);
    add(ClearButton, ControlKind::Button, 624, 280, 56, 14, {"清除结果", "Clear"});
    return DialogTemplate{148, 704, 317, std::move(add.controls)};
}

} // namespace

CCpuCardPage::CCpuCardPage(QWidget *parent)
    : CConsolePage(dialogTemplate(), {CpuBooksFileName, CommandField, PickerButton, ResultList, ClearButton}, parent)
{
    const CaptionFrame &frame = addCaptionFrame(ConsoleBox);
    setContentHeight(frame.rect().bottom() + 1 + 50);
    onClicked(ResetButton, [this] { reset(); });
    onClicked(SendButton, [this] { send(); });
}

const DialogTemplate &CCpuCardPage::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CCpuCardPage::reset()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    hexEdit(ResetInfoField)->clear();
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<OpenCard>(0) || !op.call<smartcard_rst>(0, answer.data(), &length))
        return;
    hexEdit(ResetInfoField)->SetHexBytes(answer.data(), length);
    op.succeed(Message(Msg::ResetSucceeded));
}

void CCpuCardPage::send()
{
    sendCommand<smartcard_cos>(MinCommandLength, Message(Msg::OperationSucceeded));
}
