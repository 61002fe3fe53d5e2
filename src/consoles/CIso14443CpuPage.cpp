#include "consoles/CIso14443CpuPage.h"

#include "controls/CHexEdit.h"
#include "consoles/ResetAnswer.h"
#include "consoles/CTipListBox.h"
#include "pages/CardActivation.h"
#include "reader/ReaderWait.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QAbstractButton>
#include <QLabel>

#include <array>

namespace {

using enum ReaderFunction;
using enum CIso14443CpuPage::ControlId;

constexpr uint8_t TypeB = 'B';
constexpr int ResetTries = 3;
constexpr int FieldWait_ms = 20;
constexpr int TypeASerialLength = 4;
constexpr int DesfireSerialLength = 7;
constexpr int AnswerToRequestBLength = 12;
constexpr int PupiOffset = 1;
constexpr int PupiLength = 4;
constexpr int MinCommandLength = 5;
constexpr int ResultItemHeight_px = 18;

DialogTemplate buildTemplate(int id, int listHeight)
{
    ControlList add;
    const int frameBottom = 112 + listHeight + 22;
    add(CommandLabel, ControlKind::Label, 15, 16, 44, 8, {"COS命令", "Command"});
    add(CommandField, ControlKind::HexEdit, 62, 14, 400, 12);
    add(PickerButton, ControlKind::Button, 464, 14, 12, 12);
    add(SendButton, ControlKind::Button, 480, 13, 50, 14, {"发送", "Send"}, DefaultButton);
    add(ResetButton, ControlKind::Button, 15, 33, 50, 14, {"复位", "Reset"});
    add(ResetIdleButton, ControlKind::Button, 70, 33, 50, 14, {"复位.IDL", "RstIDL"});
    add(DeselectButton, ControlKind::Button, 125, 33, 50, 14, {"Deselect", "Deselect"});
    add(TypeARadio, ControlKind::RadioButton, 380, 35, 50, 10, "TYPE A", Hidden | GroupStart);
    add(TypeBRadio, ControlKind::RadioButton, 434, 35, 50, 10, "TYPE B", Hidden);
    add(InformationBox, ControlKind::GroupBox, 7, 54, 530, frameBottom - 54, {"数据信息", "Information"});
    add(CsnLabel, ControlKind::Label, 15, 72, 44, 8, "CSN");
    add(CsnField, ControlKind::HexEdit, 62, 70, 86, 12, {}, Locked);
    add(PupiLabel, ControlKind::Label, 160, 72, 30, 8, "PUPI");
    add(PupiField, ControlKind::HexEdit, 192, 70, 86, 12, {}, Locked);
    add(ResetInfoLabel, ControlKind::Label, 15, 90, 44, 8, {"复位信息", "RstInfo"});
    add(ResetInfoField, ControlKind::HexEdit, 62, 88, 468, 12, {}, Locked);
    add(AnswerLabel, ControlKind::Label, 15, 108, 44, 8, {"返回结果", "Answer"});
    add(ResultList, ControlKind::Custom, 62, 106, 468, listHeight);
    add(ClearButton, ControlKind::Button, 480, 108 + listHeight, 50, 14, {"清除结果", "Clear"});
    return DialogTemplate{id, 544, frameBottom + 7, std::move(add.controls)};
}

} // namespace

CIso14443CpuPage::CIso14443CpuPage(CardKind kind, const DialogTemplate &dialogTemplate, QWidget *parent)
    : CConsolePage(dialogTemplate, {CosBooksFileName, CommandField, PickerButton, ResultList, ClearButton}, parent)
    , m_cardType(kind)
{
    initialise();
    onClicked(ResetButton, [this] { reset(); });
    onClicked(ResetIdleButton, [this] { resetIdle(); });
    onClicked(DeselectButton, [this] { deselect(); });
    onClicked(SendButton, [this] { send(); });
}

const DialogTemplate &CIso14443CpuPage::dialogTemplate(int screenWidth)
{
    static const DialogTemplate narrowest = buildTemplate(139, 60);
    static const DialogTemplate narrow = buildTemplate(138, 100);
    static const DialogTemplate wide = buildTemplate(136, 140);
    return screenWidth == 640 ? narrowest : screenWidth == 800 ? narrow : wide;
}

void CIso14443CpuPage::initialise()
{
    const bool proX = m_cardType == CardKind::MifarePro;
    // The ProX page resets every card in the field; the others only the one.
    if (proX)
        setCaption(ResetButton, Tr(LanguageText{"复位.ALL", "RstAll"}));
    if (!proX) {
        control(ResetIdleButton)->hide();
        control(DeselectButton)->hide();
    }
    const bool typeB = m_cardType == CardKind::SmartCard;
    button(typeB ? TypeBRadio : TypeARadio)->setChecked(true);
    if (typeB) {
        control(PupiField)->setGeometry(controlRect(CsnField));
        control(PupiLabel)->setGeometry(controlRect(CsnLabel));
        control(CsnField)->hide();
        control(CsnLabel)->hide();
    } else {
        control(PupiField)->hide();
        control(PupiLabel)->hide();
    }
    resultList()->SetItemHeight(ResultItemHeight_px);
    const CaptionFrame &frame = addCaptionFrame(InformationBox);
    setContentHeight(frame.rect().bottom() + 1 + 50);
}

void CIso14443CpuPage::clearCardFields()
{
    for (int field : {CsnField, PupiField, ResetInfoField})
        hexEdit(field)->clear();
}

void CIso14443CpuPage::showActivation(const uint8_t *answer, int length, int serialLength)
{
    const ResetAnswerFields fields = SplitResetAnswer({answer, std::size_t(std::max(length, 0))}, serialLength);
    hexEdit(CsnField)->SetHexBytes(fields.serial);
    if (!fields.resetInformation.isEmpty())
        hexEdit(ResetInfoField)->SetHexBytes(fields.resetInformation);
}

bool CIso14443CpuPage::resetTypeA(ReaderOperation &op)
{
    hexEdit(CsnField)->clear();
    hexEdit(ResetInfoField)->clear();
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (m_cardType == CardKind::MifareDesfire) {
        if (!op.call<rf_DESFire_rst>(0, RequestAll, answer.data(), &length))
            return false;
        showActivation(answer.data(), length, DesfireSerialLength);
    } else {
        if (!op.call<rf_typea_rst>(0, RequestAll, answer.data(), &length))
            return false;
        showActivation(answer.data(), length, TypeASerialLength);
    }
    return true;
}

bool CIso14443CpuPage::resetTypeB(ReaderOperation &op)
{
    hexEdit(PupiField)->clear();
    hexEdit(CsnField)->clear();
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<rf_atqb>(0, uint8_t(0), answer.data(), &length) || !op.acceptLength<rf_atqb>(length, AnswerToRequestBLength))
        return false;
    hexEdit(PupiField)->SetHexBytes(answer.data() + PupiOffset, PupiLength);
    hexEdit(ResetInfoField)->SetHexBytes(answer.data(), AnswerToRequestBLength);
    return true;
}

void CIso14443CpuPage::reset()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    clearCardFields();
    const bool typeA = button(TypeARadio)->isChecked();
    if (!ResetField(op, typeA ? TypeA : TypeB, {FieldWait_ms, FieldWait_ms, 0}))
        return;
    for (int attempt = 0; attempt < ResetTries; ++attempt) {
        if (typeA ? resetTypeA(op) : resetTypeB(op)) {
            op.succeed(Message(Msg::ResetSucceeded));
            return;
        }
    }
}

void CIso14443CpuPage::resetIdle()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    clearCardFields();
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<rf_typea_rst>(0, RequestIdle, answer.data(), &length))
        return;
    showActivation(answer.data(), length, TypeASerialLength);
    op.succeed(Message(Msg::OperationSucceeded));
}

void CIso14443CpuPage::deselect()
{
    ReaderOperation op;
    if (op.requirePortOpen() && op.call<rf_cl_deselect>(0))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CIso14443CpuPage::send()
{
    // The DESFire takes its native commands, which may be a single byte.
    sendCommand<rf_cos_command>(m_cardType == CardKind::MifareDesfire ? 0 : MinCommandLength, Message(Msg::SendSucceeded));
}
