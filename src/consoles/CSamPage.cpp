#include "consoles/CSamPage.h"

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QAbstractButton>

#include <array>

namespace {

using enum ReaderFunction;
using enum CSamPage::ControlId;

constexpr int KeyPartBytes = 8;
constexpr int CipherBlockBytes = 8;
constexpr int MaxDataBytes = 64;
constexpr int CipherResultBufferSize = 256;
constexpr uint8_t Baud9600 = 0;
constexpr uint8_t Baud38400 = 1;
constexpr int MinCommandLength = 5;

DialogTemplate buildTemplate(int id, int listHeight)
{
    ControlList add;
    // A 64-byte field shows 128 digits: the page is wider than the narrow screens, where the
    // view scrolls, rather than hide data.
    constexpr int FieldX = 70, WideField = 690, KeyWidth = 96;
    add(DesBox, ControlKind::GroupBox, 7, 7, FieldX + WideField + 1, 96, {"DES计算", "DES"});
    add(KeyLabel, ControlKind::Label, 15, 24, 54, 8, {"密钥", "Key"});
    add(KeyField, ControlKind::HexEdit, FieldX, 22, KeyWidth, 12);
    add(SecondKeyField, ControlKind::HexEdit, FieldX + KeyWidth + 4, 22, KeyWidth, 12);
    add(DataLabel, ControlKind::Label, 15, 42, 54, 8, {"数据", "InPut"});
    add(DataField, ControlKind::HexEdit, FieldX, 40, WideField, 12);
    add(OutputLabel, ControlKind::Label, 15, 60, 54, 8, {"结果", "OutPut"});
    add(ResultField, ControlKind::HexEdit, FieldX, 58, WideField, 12, {}, Locked);
    add(EncryptButton, ControlKind::Button, FieldX, 78, 60, 14, {"加密", "Encrypt"});
    add(DecryptButton, ControlKind::Button, FieldX + 66, 78, 60, 14, {"解密", "Decrypt"});
    const int samTop = 110;
    const int samBottom = samTop + 96 + listHeight;
    add(SamBox, ControlKind::GroupBox, 7, samTop, FieldX + WideField + 1, samBottom - samTop, {"SAM卡操作", "SAM Card"});
    add(BaudLabel, ControlKind::Label, 15, samTop + 18, 54, 8, {"SAM速率", "SAM Baud"});
    add(Baud9600Radio, ControlKind::RadioButton, FieldX, samTop + 17, 40, 10, "9600", GroupStart);
    add(Baud38400Radio, ControlKind::RadioButton, FieldX + 44, samTop + 17, 40, 10, "38400");
    add(ResetButton, ControlKind::Button, FieldX + 96, samTop + 15, 60, 14, {"复位", "Reset"});
    add(ResetInfoLabel, ControlKind::Label, 15, samTop + 38, 54, 8, {"复位信息", "RstInfo"});
    add(ResetInfoField, ControlKind::HexEdit, FieldX, samTop + 36, WideField, 12, {}, Locked);
    add(CommandLabel, ControlKind::Label, 15, samTop + 56, 54, 8, {"COS命令", "COS Command"});
    add(CommandField, ControlKind::HexEdit, FieldX, samTop + 54, WideField - 82, 12);
    add(PickerButton, ControlKind::Button, FieldX + WideField - 80, samTop + 54, 12, 12);
    add(SendButton, ControlKind::Button, FieldX + WideField - 60, samTop + 53, 60, 14, {"发送", "Send"}, DefaultButton);
    add(AnswerLabel, ControlKind::Label, 15, samTop + 74, 54, 8, {"返回结果", "Answer"});
    add(ResultList, ControlKind::Custom, FieldX, samTop + 72, WideField, listHeight);
    add(ClearButton, ControlKind::Button, FieldX + WideField - 60, samTop + 76 + listHeight, 60, 14, {"清除结果", "Clear"});
    return DialogTemplate{id, FieldX + WideField + 16, samBottom + 7, std::move(add.controls)};
}

} // namespace

CSamPage::CSamPage(const DialogTemplate &dialogTemplate, QWidget *parent)
    : CConsolePage(dialogTemplate, {SamCosBooksFileName, CommandField, PickerButton, ResultList, ClearButton}, parent)
{
    addCaptionFrame(DesBox);
    const CaptionFrame &samFrame = addCaptionFrame(SamBox);
    button(Baud9600Radio)->setChecked(true);
    hexEdit(KeyField)->SetMaxBytes(KeyPartBytes);
    hexEdit(SecondKeyField)->SetMaxBytes(KeyPartBytes);
    hexEdit(DataField)->SetMaxBytes(MaxDataBytes);
    setContentHeight(samFrame.rect().bottom() + 1 + 50);
    onClicked(EncryptButton, [this] { cipher(true); });
    onClicked(DecryptButton, [this] { cipher(false); });
    onClicked(ResetButton, [this] { reset(); });
    onClicked(SendButton, [this] { send(); });
}

const DialogTemplate &CSamPage::dialogTemplate(int screenWidth)
{
    static const DialogTemplate narrowest = buildTemplate(142, 60);
    static const DialogTemplate narrow = buildTemplate(140, 100);
    static const DialogTemplate wide = buildTemplate(141, 150);
    return screenWidth == 640 ? narrowest : screenWidth == 800 ? narrow : wide;
}

void CSamPage::cipher(bool encrypt)
{
    const auto refuse = [this](Msg message) {
        ShowMessageBox(this, Message(message), QStringLiteral("error"), MessageIcon::Error);
    };
    QByteArray key = hexEdit(KeyField)->GetHexBytes();
    if (hexEdit(KeyField)->GetHexByteCount() != KeyPartBytes)
        return refuse(Msg::KeyNeedsEightOrSixteenBytes);
    const QByteArray secondKey = hexEdit(SecondKeyField)->GetHexBytes();
    if (!secondKey.isEmpty()) {
        if (hexEdit(SecondKeyField)->GetHexByteCount() != KeyPartBytes)
            return refuse(Msg::KeyNeedsEightOrSixteenBytes);
        key += secondKey;
    }
    const QByteArray data = hexEdit(DataField)->GetHexBytes();
    const int count = hexEdit(DataField)->GetHexByteCount();
    if (count == 0 || count % CipherBlockBytes != 0)
        return refuse(Msg::DataNotMultipleOfEight);

    // The cipher needs no port and is not an operation of the log; a failure is reported and
    // leaves no result, for the buffer then holds nothing the cipher made.
    ReaderOperation op{ReaderOperation::Continue{}};
    std::array<uint8_t, CipherResultBufferSize> result{};
    const auto *dataBytes = BytePointer(data);
    const auto *keyBytes = BytePointer(key);
    const bool ciphered =
        encrypt ? op.callReportingOnly<des_encrypt>(result.data(), dataBytes, int32_t(count), keyBytes, int32_t(key.size()))
                : op.callReportingOnly<des_decrypt>(result.data(), dataBytes, int32_t(count), keyBytes, int32_t(key.size()));
    if (ciphered)
        hexEdit(ResultField)->SetHexBytes(result.data(), count);
    else
        hexEdit(ResultField)->clear();
}

void CSamPage::reset()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    hexEdit(ResetInfoField)->clear();
    const uint8_t baud = button(Baud9600Radio)->isChecked() ? Baud9600 : Baud38400;
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<rf_init_sam>(0, baud) || !op.call<rf_sam_rst>(0, answer.data(), &length))
        return;
    hexEdit(ResetInfoField)->SetHexBytes(answer.data(), length);
    op.succeed(Message(Msg::ResetSucceeded));
}

void CSamPage::send()
{
    sendCommand<rf_sam_cos>(MinCommandLength, Message(Msg::SendSucceeded));
}
