#include "pages/CMifareStdPage.h"

#include "base/BytePointer.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/Reporting.h"
#include "reporting/UserPrompts.h"
#include "controls/CDecEdit.h"
#include "controls/CHexEdit.h"
#include "pages/CardActivation.h"
#include "reader/RuntimeState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>
#include <utility>

namespace {

using enum ReaderFunction;
using enum CMifareStdPage::ControlId;

constexpr uint8_t KeyAMode = 0x60;
constexpr uint8_t KeyBMode = 0x61;
// The Mifare Standard cards get time after every step of a field reset.
constexpr FieldResetWaits MifareFieldReset = {20, 20, 50};
constexpr int KeyBytes = 6;
constexpr int AccessBitsBytes = 4;
constexpr int BlockBytes = 16;
constexpr int ValueBytes = 4;
constexpr int DecimalValueCharacters = 11;
// The trailer block: key A at offset 0, the access bits at 6, key B at 10.
constexpr int TrailerAccessBitsOffset = 6;
constexpr int TrailerKeyBOffset = 10;

enum LabelSlot {
    PurseGroupSlot,
    PanelGroupSlot,
    RequestSlot,
    SectorSlot,
    BlockSlot,
    KeyARadioSlot,
    KeyBRadioSlot,
    KeySlot,
    DecimalValueSlot,
    InitializeSlot,
    IncrementSlot,
    DecrementSlot,
    BalanceSlot,
    ReadSectorSlot,
    WriteBlockSlot,
    HexValueSlot,
    ReqIdlSlot,
    HaltSlot,
    LabelSlotCount
};

const std::array<LanguageText, LabelSlotCount> LabelTable = {{
    {"钱包功能", "Purse Function"},
    {"操作窗口", "Operation Window"},
    {"寻卡.ALL", "Request"},
    {"扇区号", "Sector"},
    {"块号", "Block"},
    {"A 密钥", "KeyA"},
    {"B 密钥", "KeyB"},
    {"密钥", "Key"},
    {"金额(十进制)", "Value(Dec)"},
    {"初始化", "Initialize"},
    {"充值", "Increment"},
    {"扣款", "Decrement"},
    {"读余额", "Balance"},
    {"读卡", "Read Sector"},
    {"写卡", "Write Block"},
    {"金额(十六进制)", "Value(Hex)"},
    {"寻卡.IDL", "ReqIDL"},
    {"休眠", "Halt"},
}};

const LanguageText &templateCaption(LabelSlot slot)
{
    return LabelTable[std::size_t(slot)];
}

// Geometry of the template, in dialog units.
constexpr int Margin = 7;
constexpr int PurseTop = 28;
constexpr int PurseHeight = 66;
constexpr int PanelWidth = 178;
constexpr int RowStep = 14;
constexpr int FirstBlockRow = 58;

int panelHeight(const MifarePanel &panel)
{
    // Lists, radios and key, one row per data block, the trailer row and the buttons.
    return FirstBlockRow + RowStep * int(panel.blockFields.size()) + 18 + 14 + 8;
}

} // namespace

CMifareStdPage::CMifareStdPage(const MifareStdLayout &layout, const DialogTemplate &dialogTemplate,
                               QWidget *parent)
    : CCardPage(dialogTemplate, parent)
    , m_layout(layout)
{
    initialise();

    onClicked(RequestButton, [this] { request(); });
    onClicked(m_layout.reqIdlButton, [this] { requestIdle(); });
    onClicked(m_layout.haltButton, &CMifareStdPage::halt);
    onClicked(InitializeButton, [this] { runPurseOperation(PurseOperation::Initialize); });
    onClicked(IncrementButton, [this] { runPurseOperation(PurseOperation::Increment); });
    onClicked(DecrementButton, [this] { runPurseOperation(PurseOperation::Decrement); });
    onClicked(BalanceButton, [this] { readBalance(); });
    onSelectionChanged(PurseSectorList, [this] { rebuildPurseBlockList(); });
    onTextChanged(DecimalValueField, [this] { syncDecimalToHex(); });
    onTextChanged(HexValueField, [this] { syncHexToDecimal(); });
    for (const MifarePanel &panel : m_layout.panels) {
        onClicked(panel.readButton, [this, &panel] { readSector(panel); });
        onClicked(panel.writeButton, [this, &panel] { writeBlock(panel); });
        onSelectionChanged(panel.sectorList, [this, &panel] { applyWriteEnableRule(panel); });
        onSelectionChanged(panel.blockList, [this, &panel] { applyWriteEnableRule(panel); });
    }
}

uint8_t CMifareStdPage::firstBlockOfSector(int sector)
{
    if (sector < 32)
        return uint8_t(4 * sector);
    return uint8_t((sector + 8) * 16);
}

void CMifareStdPage::initialise()
{
    setWindowIcon(QApplication::windowIcon());

    addCaptionFrame(PurseGroup);
    for (const MifarePanel &panel : m_layout.panels)
        addCaptionFrame(panel.groupBox);

    for (int sector = 0; sector < m_layout.purseSectorCount; ++sector)
        addListItem(PurseSectorList, QString::number(sector), sector);
    comboBox(PurseSectorList)->setCurrentIndex(0);
    rebuildPurseBlockList();
    button(PurseKeyARadio)->setChecked(true);
    hexEdit(PurseKeyField)->SetMaxBytes(KeyBytes);
    control<CDecEdit>(DecimalValueField)->setMaxLength(DecimalValueCharacters);
    hexEdit(HexValueField)->SetMaxBytes(ValueBytes);

    for (const MifarePanel &panel : m_layout.panels) {
        for (int sector = panel.firstSector; sector < panel.firstSector + panel.sectorCount; ++sector)
            addListItem(panel.sectorList, QString::number(sector), sector);
        for (int block = 0; block < panel.blocksPerSector(); ++block)
            addListItem(panel.blockList, QString::number(block), block);
        comboBox(panel.sectorList)->setCurrentIndex(0);
        comboBox(panel.blockList)->setCurrentIndex(0);
    }
    for (const MifarePanel &panel : m_layout.panels)
        applyWriteEnableRule(panel);
    for (const MifarePanel &panel : m_layout.panels) {
        button(panel.keyARadio)->setChecked(true);
        hexEdit(panel.keyField)->SetMaxBytes(KeyBytes);
        for (int field : panel.blockFields)
            hexEdit(field)->SetMaxBytes(BlockBytes);
        hexEdit(panel.trailerKeyA)->SetMaxBytes(KeyBytes);
        hexEdit(panel.trailerAccessBits)->SetMaxBytes(AccessBitsBytes);
        hexEdit(panel.trailerKeyB)->SetMaxBytes(KeyBytes);
    }
    setContentHeight(height());
}

bool CMifareStdPage::requestAndSelect(ReaderOperation &op, int attempts)
{
    if (!op.requirePortOpen())
        return false;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        QByteArray serial;
        if (!ResetField(op, TypeA, MifareFieldReset) || !SelectTypeACard(op, RequestAll, serial))
            continue;
        hexEdit(SerialField)->SetHexBytes(serial);
        m_cardSelected = true;
        op.succeed(Message(Msg::RequestSucceeded));
        return true;
    }
    hexEdit(SerialField)->clear();
    m_cardSelected = false;
    return false;
}

void CMifareStdPage::request()
{
    ReaderOperation op;
    if (!requestAndSelect(op, 2))
        return;
    for (const MifarePanel &panel : m_layout.panels)
        applyWriteEnableRule(panel);
    ReportCallResult(0);
}

void CMifareStdPage::requestIdle()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    QByteArray serial;
    if (!SelectTypeACard(op, RequestIdle, serial))
        return;
    hexEdit(SerialField)->SetHexBytes(serial);
    op.succeed(Message(Msg::OperationSucceeded));
}

void CMifareStdPage::halt()
{
    ReaderOperation op;
    if (op.requirePortOpen() && op.call<rf_halt>(0))
        op.succeed(Message(Msg::OperationSucceeded));
}

bool CMifareStdPage::keyFieldHoldsKey(int keyField)
{
    if (hexEdit(keyField)->GetHexByteCount() == KeyBytes)
        return true;
    ShowMessageBox(this, Message(Msg::KeyNeedsSixBytes), QStringLiteral("Error"), MessageIcon::Error);
    return false;
}

std::optional<uint8_t> CMifareStdPage::authenticateSector(ReaderOperation &op, const SectorKey &key,
                                                          const std::function<bool()> &confirmed)
{
    if (!m_cardSelected && !requestAndSelect(op, 1))
        return std::nullopt;
    if (!keyFieldHoldsKey(key.keyField) || (confirmed && !confirmed()))
        return std::nullopt;
    const uint8_t mode = button(key.keyARadio)->isChecked() ? KeyAMode : KeyBMode;
    const uint8_t firstBlock = firstBlockOfSector(selectedItemData(key.sectorList));
    if (!op.call<rf_M1_authentication2>(0, mode, firstBlock, BytePointer(hexEdit(key.keyField)->GetHexBytes()))) {
        m_cardSelected = false;
        return std::nullopt;
    }
    return firstBlock;
}

std::optional<uint8_t> CMifareStdPage::authenticatePurseBlock(ReaderOperation &op)
{
    const std::optional<uint8_t> firstBlock = authenticateSector(op, {PurseSectorList, PurseKeyARadio, PurseKeyField});
    if (!firstBlock)
        return std::nullopt;
    return uint8_t(*firstBlock + selectedItemData(PurseBlockList));
}

void CMifareStdPage::runPurseOperation(PurseOperation operation)
{
    ReaderOperation op;
    const std::optional<uint8_t> targetBlock = authenticatePurseBlock(op);
    if (!targetBlock)
        return;
    // An empty field reads -1, so -1 itself cannot be sent either.
    const int32_t value = control<CDecEdit>(DecimalValueField)->value();
    if (value == -1) {
        ShowMessageBox(this, Message(Msg::ValueNeeded), QStringLiteral("Warning"), MessageIcon::Warning);
        return;
    }
    // The purse operations report before they list the call.
    bool done = false;
    switch (operation) {
    case PurseOperation::Initialize:
        done = op.callReportingFirst<rf_M1_initval>(Message(Msg::PurseInitialized), 0, *targetBlock, value);
        break;
    case PurseOperation::Increment:
        done = op.callReportingFirst<rf_M1_increment>(Message(Msg::PurseIncremented), 0, *targetBlock, value);
        break;
    case PurseOperation::Decrement:
        done = op.callReportingFirst<rf_M1_decrement>(Message(Msg::PurseDecremented), 0, *targetBlock, value);
        break;
    }
    if (!done)
        m_cardSelected = false;
}

void CMifareStdPage::readBalance()
{
    {
        QScopedValueRollback<bool> guard(m_valueSyncGuard, true);
        control<CDecEdit>(DecimalValueField)->clear();
        hexEdit(HexValueField)->clear();
    }
    ReaderOperation op;
    const std::optional<uint8_t> targetBlock = authenticatePurseBlock(op);
    if (!targetBlock)
        return;
    int32_t value = 0;
    if (!op.call<rf_M1_readval>(0, *targetBlock, &value)) {
        m_cardSelected = false;
        return;
    }
    {
        QScopedValueRollback<bool> guard(m_valueSyncGuard, true);
        control<CDecEdit>(DecimalValueField)->setValue(value);
        hexEdit(HexValueField)->SetHexValue(uint32_t(value));
    }
    op.succeed(Message(Msg::BalanceRead));
}

void CMifareStdPage::rebuildPurseBlockList()
{
    // The trailer is never offered, nor the manufacturer block of sector 0.
    const int previousBlock = std::max(selectedItemData(PurseBlockList), 0);
    const bool manufacturerSector = selectedItemData(PurseSectorList) == 0;
    comboBox(PurseBlockList)->clear();
    for (int block = manufacturerSector ? 1 : 0; block <= 2; ++block)
        addListItem(PurseBlockList, QString::number(block), block);
    const int index = manufacturerSector ? std::max(previousBlock - 1, 0) : previousBlock;
    comboBox(PurseBlockList)->setCurrentIndex(std::min(index, comboBox(PurseBlockList)->count() - 1));
}

void CMifareStdPage::syncDecimalToHex()
{
    if (m_valueSyncGuard)
        return;
    QScopedValueRollback<bool> guard(m_valueSyncGuard, true);
    hexEdit(HexValueField)->SetHexValue(uint32_t(control<CDecEdit>(DecimalValueField)->value()));
}

void CMifareStdPage::syncHexToDecimal()
{
    if (m_valueSyncGuard)
        return;
    QScopedValueRollback<bool> guard(m_valueSyncGuard, true);
    // Least significant byte first; missing bytes count as 0.
    const QByteArray bytes = hexEdit(HexValueField)->GetHexBytes();
    uint32_t value = 0;
    for (int i = 0; i < std::min<int>(int(bytes.size()), ValueBytes); ++i)
        value |= uint32_t(uint8_t(bytes.at(i))) << (8 * i);
    control<CDecEdit>(DecimalValueField)->setValue(int32_t(value));
}

void CMifareStdPage::clearPanel(const MifarePanel &panel)
{
    for (int field : panel.blockFields)
        hexEdit(field)->clear();
    hexEdit(panel.trailerKeyA)->clear();
    hexEdit(panel.trailerAccessBits)->clear();
    hexEdit(panel.trailerKeyB)->clear();
}

void CMifareStdPage::readSector(const MifarePanel &panel)
{
    clearPanel(panel);
    ReaderOperation op;
    const std::optional<uint8_t> firstBlock = authenticateSector(op, {panel.sectorList, panel.keyARadio, panel.keyField});
    if (!firstBlock)
        return;
    for (int block = 0; block < panel.blocksPerSector(); ++block) {
        AnswerBuffer buffer{};
        uint8_t length = 0;
        // A short answer has failed as much as a non-zero status: its missing bytes would be
        // shown as card data.
        if (!op.call<rf_M1_read>(0, uint8_t(*firstBlock + block), buffer.data(), &length)
            || !op.acceptLength<rf_M1_read>(length, BlockBytes)) {
            m_cardSelected = false;
            return;
        }
        if (block == panel.trailerBlock()) {
            hexEdit(panel.trailerKeyA)->SetHexBytes(buffer.data(), KeyBytes);
            hexEdit(panel.trailerAccessBits)->SetHexBytes(buffer.data() + TrailerAccessBitsOffset, AccessBitsBytes);
            hexEdit(panel.trailerKeyB)->SetHexBytes(buffer.data() + TrailerKeyBOffset, KeyBytes);
        } else {
            hexEdit(panel.blockFields[std::size_t(block)])->SetHexBytes(buffer.data(), BlockBytes);
        }
    }
    op.succeed(Message(Msg::CardRead));
}

void CMifareStdPage::writeBlock(const MifarePanel &panel)
{
    ReaderOperation op;
    const int block = selectedItemData(panel.blockList);
    // ConfirmTrailerWrite names block 3; it stands for the trailer of a 16-block sector as well.
    const auto trailerWriteConfirmed = [this, block, &panel] {
        return block != panel.trailerBlock()
               || ShowMessageBox(this, Message(Msg::ConfirmTrailerWrite), QStringLiteral("Warning"),
                                 MessageIcon::Warning, MessageButtons::OkCancel) == MessageAnswer::Ok;
    };
    const std::optional<uint8_t> firstBlock =
        authenticateSector(op, {panel.sectorList, panel.keyARadio, panel.keyField}, trailerWriteConfirmed);
    if (!firstBlock)
        return;
    const QByteArray data = collectBlockData(panel, block);
    // The block write lists only its successes.
    if (!op.callLoggingSuccessOnly<rf_M1_write>(Message(Msg::CardWritten), 0, uint8_t(*firstBlock + block), BytePointer(data)))
        m_cardSelected = false;
}

QByteArray CMifareStdPage::collectBlockData(const MifarePanel &panel, int block) const
{
    // Fields that hold fewer bytes than their place leave zeros behind them.
    QByteArray data(BlockBytes, '\0');
    const auto place = [this, &data](int field, int offset, int capacity) {
        const QByteArray bytes = hexEdit(field)->GetHexBytes();
        std::copy_n(bytes.constData(), std::min<int>(int(bytes.size()), capacity), data.begin() + offset);
    };
    if (block == panel.trailerBlock()) {
        place(panel.trailerKeyA, 0, KeyBytes);
        place(panel.trailerAccessBits, TrailerAccessBitsOffset, AccessBitsBytes);
        place(panel.trailerKeyB, TrailerKeyBOffset, KeyBytes);
    } else if (block >= 0 && block < panel.trailerBlock()) {
        place(panel.blockFields[std::size_t(block)], 0, BlockBytes);
    }
    return data;
}

void CMifareStdPage::applyWriteEnableRule(const MifarePanel &panel)
{
    // Block 0 of sector 0 is the manufacturer block.
    const bool manufacturerBlock = selectedItemData(panel.sectorList) == 0 && selectedItemData(panel.blockList) == 0;
    button(panel.writeButton)->setEnabled(!manufacturerBlock);
}

DialogTemplate CMifareStdPage::buildTemplate(const MifareStdLayout &layout)
{
    static constexpr const char *BlockNumbers[] = {"0", "1", "2", "3", "4", "5", "6", "7",
                                                   "8", "9", "10", "11", "12", "13", "14", "15"};
    ControlList add;

    add(UnaddressedControlId, ControlKind::Label, 10, 10, 14, 8, "SN");
    add(SerialField, ControlKind::HexEdit, 26, 8, 80, 12, "", Locked);
    add(RequestButton, ControlKind::Button, 114, 7, 50, 14, templateCaption(RequestSlot));
    add(layout.reqIdlButton, ControlKind::Button, 168, 7, 50, 14, templateCaption(ReqIdlSlot));
    add(layout.haltButton, ControlKind::Button, 222, 7, 50, 14, templateCaption(HaltSlot));

    const int gx = Margin;
    const int gy = PurseTop;
    add(PurseGroup, ControlKind::GroupBox, gx, gy, layout.width - 2 * Margin, PurseHeight, templateCaption(PurseGroupSlot));
    add(PurseSectorLabel, ControlKind::Label, gx + 6, gy + 14, 28, 8, templateCaption(SectorSlot));
    add(PurseSectorList, ControlKind::DropList, gx + 36, gy + 12, 32, 12);
    add(PurseBlockLabel, ControlKind::Label, gx + 74, gy + 14, 22, 8, templateCaption(BlockSlot));
    add(PurseBlockList, ControlKind::DropList, gx + 98, gy + 12, 32, 12);
    add(PurseKeyARadio, ControlKind::RadioButton, gx + 138, gy + 13, 38, 10, templateCaption(KeyARadioSlot), GroupStart);
    add(PurseKeyBRadio, ControlKind::RadioButton, gx + 178, gy + 13, 38, 10, templateCaption(KeyBRadioSlot));
    add(PurseKeyLabel, ControlKind::Label, gx + 220, gy + 14, 18, 8, templateCaption(KeySlot));
    add(PurseKeyField, ControlKind::HexEdit, gx + 240, gy + 12, 72, 12);
    add(DecimalValueLabel, ControlKind::Label, gx + 6, gy + 30, 44, 8, templateCaption(DecimalValueSlot));
    add(DecimalValueField, ControlKind::DecEdit, gx + 52, gy + 28, 56, 12);
    add(layout.hexValueLabel, ControlKind::Label, gx + 114, gy + 30, 44, 8, templateCaption(HexValueSlot));
    add(HexValueField, ControlKind::HexEdit, gx + 160, gy + 28, 44, 12);
    const std::array<std::pair<int, LabelSlot>, 4> purseButtons = {{{InitializeButton, InitializeSlot},
                                                                    {IncrementButton, IncrementSlot},
                                                                    {DecrementButton, DecrementSlot},
                                                                    {BalanceButton, BalanceSlot}}};
    for (std::size_t i = 0; i < purseButtons.size(); ++i)
        add(purseButtons[i].first, ControlKind::Button, gx + 6 + 56 * int(i), gy + 46, 52, 14, templateCaption(purseButtons[i].second));

    int bottom = gy + PurseHeight;
    for (const MifarePanel &panel : layout.panels) {
        const int px = panel.x;
        const int py = panel.y;
        add(panel.groupBox, ControlKind::GroupBox, px, py, PanelWidth, panelHeight(panel), templateCaption(PanelGroupSlot));
        add(panel.sectorLabel, ControlKind::Label, px + 6, py + 14, 26, 8, templateCaption(SectorSlot));
        add(panel.sectorList, ControlKind::DropList, px + 34, py + 12, 32, 12);
        add(panel.blockLabel, ControlKind::Label, px + 74, py + 14, 20, 8, templateCaption(BlockSlot));
        add(panel.blockList, ControlKind::DropList, px + 96, py + 12, 32, 12);
        add(panel.keyARadio, ControlKind::RadioButton, px + 6, py + 28, 40, 10, templateCaption(KeyARadioSlot), GroupStart);
        add(panel.keyBRadio, ControlKind::RadioButton, px + 50, py + 28, 40, 10, templateCaption(KeyBRadioSlot));
        add(panel.keyLabel, ControlKind::Label, px + 6, py + 44, 26, 8, templateCaption(KeySlot));
        add(panel.keyField, ControlKind::HexEdit, px + 34, py + 42, 72, 12);
        int y = py + FirstBlockRow;
        for (std::size_t block = 0; block < panel.blockFields.size(); ++block, y += RowStep) {
            add(UnaddressedControlId, ControlKind::Label, px + 6, y + 2, 14, 8, BlockNumbers[block]);
            add(panel.blockFields[block], ControlKind::HexEdit, px + 22, y, 150, 12);
        }
        add(UnaddressedControlId, ControlKind::Label, px + 6, y + 2, 14, 8, BlockNumbers[panel.blockFields.size()]);
        // Key A, the access bits and key B side by side under the 16-byte fields.
        add(panel.trailerKeyA, ControlKind::HexEdit, px + 22, y, 53, 12);
        add(panel.trailerAccessBits, ControlKind::HexEdit, px + 78, y, 38, 12);
        add(panel.trailerKeyB, ControlKind::HexEdit, px + 119, y, 53, 12);
        y += 18;
        add(panel.readButton, ControlKind::Button, px + 22, y, 64, 14, templateCaption(ReadSectorSlot));
        add(panel.writeButton, ControlKind::Button, px + 98, y, 64, 14, templateCaption(WriteBlockSlot));
        bottom = std::max(bottom, py + panelHeight(panel));
    }
    return DialogTemplate{layout.templateId, layout.width, bottom + Margin, std::move(add.controls)};
}
