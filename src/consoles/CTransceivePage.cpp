#include "consoles/CTransceivePage.h"

#include "base/BytePointer.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"

#include <QAbstractButton>

#include <array>

namespace {

using enum ReaderFunction;
using enum CTransceivePage::ControlId;

constexpr uint8_t TypeBMode = 'B';
constexpr uint8_t Iso15693Mode = '1';

DialogTemplate buildTemplate()
{
    ControlList add;
    add(MifareRadio, ControlKind::RadioButton, 15, 14, 40, 10, "Mifare", Hidden | GroupStart);
    add(TypeBRadio, ControlKind::RadioButton, 72, 14, 60, 10, "ISO14443B");
    add(Iso15693Radio, ControlKind::RadioButton, 136, 14, 60, 10, "ISO15693");
    add(SetButton, ControlKind::Button, 200, 12, 56, 14, {"设置", "Set"});
    add(SendLabel, ControlKind::Label, 15, 36, 54, 8, {"发送数据", "Sending data"});
    add(SendField, ControlKind::HexEdit, 72, 34, 520, 12);
    add(PickerButton, ControlKind::Button, 594, 34, 12, 12);
    add(CrcCheck, ControlKind::CheckBox, 610, 35, 28, 10, "CRC", Hidden);
    add(TransceiveButton, ControlKind::Button, 636, 33, 56, 14, {"发送", "Transceive"}, DefaultButton);
    add(AnswerLabel, ControlKind::Label, 15, 56, 54, 8, {"返回结果", "Receiving data"});
    add(ResultList, ControlKind::Custom, 72, 54, 560, 240);
    add(ClearButton, ControlKind::Button, 636, 280, 56, 14, {"清除结果", "Clear"});
    return DialogTemplate{158, 704, 317, std::move(add.controls)};
}

} // namespace

CTransceivePage::CTransceivePage(QWidget *parent)
    : CConsolePage(dialogTemplate(), {TestCmdBooksFileName, SendField, PickerButton, ResultList, ClearButton}, parent)
{
    button(TypeBRadio)->setChecked(true);
    onClicked(SetButton, [this] { setMode(); });
    onClicked(TransceiveButton, [this] { transceive(); });
}

const DialogTemplate &CTransceivePage::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CTransceivePage::setMode()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const uint8_t mode = button(TypeBRadio)->isChecked() ? TypeBMode : Iso15693Mode;
    if (op.call<rf_init_type>(0, mode))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CTransceivePage::transceive()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray bytes = commandBytes();
    if (bytes.isEmpty())
        return;
    recordCommand(bytes);
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<rf_transceive1>(0, BytePointer(bytes), int32_t(bytes.size()),
                                 answer.data(), &length))
        return;
    listAnswer(answer.data(), length);
    op.succeed(Message(Msg::OperationSucceeded));
}
