#include "pages/CIso15693Page.h"

#include "base/BytePointer.h"
#include "pages/CardAnswers.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <span>

namespace {

using enum ReaderFunction;
using enum CIso15693Page::ControlId;

constexpr uint8_t Iso15693RadioType = 0x31;
constexpr int UidBytes = 8;
constexpr int BlockBytes = 4;
// The memory image as read: room for 256 blocks and two spare bytes.
constexpr std::size_t DataBufferSize = 1026;
constexpr int ControlGap_px = 6;

// One call of a read plan: its first block and its block count.
struct ReadStep {
    int firstBlock;
    int blockCount;
};
// Flag 1 reads 64 blocks, flag 0 the 28 of an I.CODE SLI.
constexpr ReadStep DataPlan64[] = {{0, 14}, {14, 14}, {28, 14}, {42, 14}, {56, 8}};
constexpr ReadStep DataPlan28[] = {{0, 14}, {14, 14}};
constexpr ReadStep SecurityPlan64[] = {{0, 28}, {28, 28}, {56, 8}};
constexpr ReadStep SecurityPlan28[] = {{0, 28}};

DialogTemplate buildTemplate()
{
    ControlList add;
    CVicinityTagPage::addUidRows(add, CIso15693Page::UidFields, 12);
    add(InventoryButton, ControlKind::Button, 10, 78, 58, 14, "INVENTORY");
    add(InformationButton, ControlKind::Button, 72, 78, 60, 14, "Get Infomation");
    add(UnaddressedControlId, ControlKind::Label, 10, 100, 28, 8, "DSFID");
    add(DsfidField, ControlKind::HexEdit, 42, 98, 20, 12);
    add(WriteDsfidButton, ControlKind::Button, 66, 97, 32, 14, "Write");
    add(LockDsfidButton, ControlKind::Button, 100, 97, 32, 14, "Lock");
    add(UnaddressedControlId, ControlKind::Label, 10, 118, 28, 8, "AFI");
    add(AfiField, ControlKind::HexEdit, 42, 116, 20, 12);
    add(WriteAfiButton, ControlKind::Button, 66, 115, 32, 14, "Write");
    add(LockAfiButton, ControlKind::Button, 100, 115, 32, 14, "Lock");
    add(UnaddressedControlId, ControlKind::Label, 10, 138, 28, 8, "BLOCK");
    add(BlockList, ControlKind::DropList, 42, 136, 36, 90);
    add(ReadButton, ControlKind::Button, 10, 156, 38, 14, "Read");
    add(WriteButton, ControlKind::Button, 52, 156, 38, 14, "Write");
    add(LockButton, ControlKind::Button, 94, 156, 38, 14, "Lock");
    // The grid's column, the status fields beside its rows and the scroll bar are lined up
    // with the grid's rows when the page opens.
    add(Grid, ControlKind::HexGrid, 160, 16, 70, 150);
    add(StatusLabel, ControlKind::Label, 236, 4, 30, 8, "STATUS");
    for (int i = 0; i < CVicinityTagPage::GridRows; ++i)
        add(FirstStatusField + i, ControlKind::HexEdit, 236, 16 + 9 * i, 16, 9, "", Locked);
    add(GridScrollBar, ControlKind::ScrollBar, 258, 16, 10, 150);
    return DialogTemplate{146, 280, 180, std::move(add.controls)};
}

// Appends what a call returned, as far as the buffer still has room.
void appendBounded(std::vector<uint8_t> &buffer, std::size_t capacity, const uint8_t *bytes, int count)
{
    const std::size_t room = capacity - std::min(capacity, buffer.size());
    buffer.insert(buffer.end(), bytes, bytes + std::min<std::size_t>(room, std::size_t(count)));
}

} // namespace

CIso15693Page::Profile CIso15693Page::profileOf(CardKind kind)
{
    if (kind == CardKind::IcodeSli)
        return {28, 28, 0, 12};
    return {64, 256, 1, 16};
}

CIso15693Page::CIso15693Page(CardKind kind, QWidget *parent)
    : CVicinityTagPage(dialogTemplate(), UidFields, {Grid, GridScrollBar, BlockBytes}, parent),
      m_profile(profileOf(kind)), m_optionFlag(m_profile.optionFlag)
{
    for (int block = 0; block < m_profile.blockCount; ++block)
        addListItem(BlockList, QString::number(block), block);
    selectListIndex(BlockList, 0);
    hexEdit(DsfidField)->SetMaxBytes(1);
    hexEdit(AfiField)->SetMaxBytes(1);
    for (int i = 0; i < GridRows; ++i)
        hexEdit(FirstStatusField + i)->SetMaxBytes(1);
    const std::vector<uint8_t> zeros(std::size_t(m_profile.zeroBlocks * BlockBytes), 0);
    grid()->SetDataBytes(zeros.data(), int(zeros.size()));
    // Nothing to page through until the memory is read.
    scrollBar()->setRange(0, 0);
    arrangeGridColumn();
    refreshStatusFields(0);
    const QRect gridArea = controlRect(Grid);
    setContentHeight(gridArea.bottom() + 50);

    onClicked(InventoryButton, [this] { inventory(); });
    onClicked(InformationButton, [this] { getInformation(); });
    onClicked(WriteDsfidButton, [this] { writeDsfid(); });
    onClicked(LockDsfidButton, [this] { lockDsfid(); });
    onClicked(WriteAfiButton, [this] { writeAfi(); });
    onClicked(LockAfiButton, [this] { lockAfi(); });
    onClicked(ReadButton, [this] { readBlocks(); });
    onClicked(WriteButton, [this] { writeBlocks(); });
    onClicked(LockButton, [this] { lockBlock(); });
}

const DialogTemplate &CIso15693Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CIso15693Page::arrangeGridColumn()
{
    const QRect gridArea = fitGrid();
    const int rowHeight = gridArea.height() / GridRows;
    const QFont cellFont = grid()->font();
    const int statusWidth = QFontMetrics(cellFont).horizontalAdvance(QStringLiteral("00")) + 2 * ControlGap_px;
    const int statusLeft = gridArea.right() + 1 + ControlGap_px;
    for (int i = 0; i < GridRows; ++i) {
        CHexEdit *field = hexEdit(FirstStatusField + i);
        field->setFont(cellFont);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setGeometry(statusLeft, gridArea.top() + 3 + i * rowHeight, statusWidth, rowHeight - 1);
    }
    QLabel *status = label(StatusLabel);
    status->adjustSize();
    status->move(statusLeft + (statusWidth - status->width()) / 2, gridArea.top() - status->height() - 4);
    scrollBar()->setGeometry(statusLeft + statusWidth + ControlGap_px, gridArea.top(), scrollBar()->width(),
                             gridArea.height());
}

void CIso15693Page::layoutForWidth(int /*screenWidth*/)
{
    // The host scrolls 80 pixels past the page it covers, and never less than the grid needs.
    setContentHeight(std::max(height() + 80, controlRect(Grid).bottom() + 50));
    centreControls();
}

void CIso15693Page::resizeEvent(QResizeEvent *event)
{
    CVicinityTagPage::resizeEvent(event);
    centreControls();
}

// From the left edge of the first UID button to the right edge of the scroll bar, the controls
// move as one group into the middle of the page.
void CIso15693Page::centreControls()
{
    const int left = controlRect(UidButtons[0]).left();
    const int groupWidth = controlRect(GridScrollBar).right() + 1 - left;
    const int shift = std::max(0, (width() - groupWidth) / 2) - left;
    if (shift == 0)
        return;
    for (QWidget *widget : controls())
        widget->move(widget->x() + shift, widget->y());
    update();
}

bool CIso15693Page::takeUid(QByteArray &uid, bool exactly)
{
    uid = selectedUid();
    if (exactly ? uid.size() == UidBytes : uid.size() >= UidBytes)
        return true;
    ShowMessageBox(this, Message(Msg::UidLengthError), QStringLiteral("Error"), MessageIcon::Error);
    return false;
}

void CIso15693Page::getInformation()
{
    // A failed request leaves the 64-block plan and mode 6 in force.
    m_optionFlag = 1;
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    hexEdit(DsfidField)->clear();
    hexEdit(AfiField)->clear();
    if (!op.call<rf_init_type>(0, Iso15693RadioType))
        return;
    QByteArray uid;
    if (!takeUid(uid, true))
        return;
    AnswerBuffer answer{};
    uint8_t length = 0;
    if (!op.call<ISO15693_Get_System_Information>(0, uint8_t(2), BytePointer(uid),
                                                   answer.data(), &length))
        return;
    const std::optional<SystemInformation> information = DecodeSystemInformation({answer.data(), length});
    if (!information) {
        op.reportWrongAnswer<ISO15693_Get_System_Information>();
        return;
    }
    hexEdit(DsfidField)->SetHexBytes(&information->dsfid, 1);
    hexEdit(AfiField)->SetHexBytes(&information->afi, 1);
    m_optionFlag = m_profile.optionFlag;
    op.succeed(Message(Msg::InformationRead));
}

void CIso15693Page::writeDsfid()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (!op.requirePortOpen() || !takeUid(uid, false))
        return;
    const QByteArray value = hexEdit(DsfidField)->GetHexBytes();
    if (value.isEmpty()) {
        ShowMessageBox(this, Message(Msg::DsfidNeeded), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    if (op.call<ISO15693_Write_DSFID>(0, mode, BytePointer(uid), uint8_t(value[0])))
        op.succeed(Message(Msg::DsfidWritten));
}

void CIso15693Page::lockDsfid()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (op.requirePortOpen() && takeUid(uid, false)
        && op.call<ISO15693_Lock_DSFID>(0, mode, BytePointer(uid)))
        op.succeed(Message(Msg::DsfidLocked));
}

void CIso15693Page::writeAfi()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (!op.requirePortOpen() || !takeUid(uid, false))
        return;
    const QByteArray value = hexEdit(AfiField)->GetHexBytes();
    if (value.isEmpty()) {
        ShowMessageBox(this, Message(Msg::AfiNeeded), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    if (op.call<ISO15693_Write_AFI>(0, mode, BytePointer(uid), uint8_t(value[0])))
        op.succeed(Message(Msg::AfiWritten));
}

void CIso15693Page::lockAfi()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (op.requirePortOpen() && takeUid(uid, false)
        && op.call<ISO15693_Lock_AFI>(0, mode, BytePointer(uid)))
        op.succeed(Message(Msg::AfiLocked));
}

void CIso15693Page::readBlocks()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    grid()->ResetModifiedRange();
    QByteArray uidBytes;
    if (!takeUid(uidBytes, true))
        return;
    const auto *uid = BytePointer(uidBytes);
    const bool wholePlan = m_optionFlag != 0;
    using Plan = std::span<const ReadStep>;
    const Plan dataPlan = wholePlan ? Plan(DataPlan64) : Plan(DataPlan28);
    const Plan securityPlan = wholePlan ? Plan(SecurityPlan64) : Plan(SecurityPlan28);
    std::vector<uint8_t> data;
    std::vector<uint8_t> security;
    {
        const WaitCursor waiting;
        AnswerBuffer answer{};
        for (const ReadStep &step : dataPlan) {
            uint8_t length = 0;
            if (!op.call<ISO15693_Read>(0, uint8_t(2), uid, uint8_t(step.firstBlock), uint8_t(step.blockCount),
                                        answer.data(), &length))
                return;
            if (length < step.blockCount * BlockBytes) {
                op.reportWrongAnswer<ISO15693_Read>();
                return;
            }
            appendBounded(data, DataBufferSize, answer.data(), length);
        }
        for (const ReadStep &step : securityPlan) {
            uint8_t length = 0;
            if (!op.call<ISO15693_Get_Block_Security>(0, uint8_t(2), uid, uint8_t(step.firstBlock),
                                                      uint8_t(step.blockCount), answer.data(), &length))
                return;
            if (!AppendBlockSecurity(security, m_blockSecurity.size(), {answer.data(), length}, step.blockCount)) {
                op.reportWrongAnswer<ISO15693_Get_Block_Security>();
                return;
            }
        }
    }
    grid()->SetGeometry(GridRows, BlockBytes);
    grid()->SetDataBytes(data.data(), int(data.size()));
    scrollBar()->setRange(0, grid()->GetPageCount() - 1);
    update();
    std::copy(security.begin(), security.end(), m_blockSecurity.begin());
    refreshStatusFields(scrollBar()->value());
    op.succeed(Message(Msg::OperationSucceeded));
}

void CIso15693Page::writeBlocks()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (!op.requirePortOpen() || !takeUid(uid, false))
        return;
    const int first = grid()->GetFirstModifiedRow();
    const int last = grid()->GetLastModifiedRow();
    if (first < 0 || last < first) {
        op.fail(Message(Msg::NoRowChanged));
        return;
    }
    for (int block = first; block <= last; ++block) {
        const QByteArray row = grid()->GetRowBytes(block);
        std::array<uint8_t, BlockBytes> data{};
        std::copy_n(row.constData(), std::min<int>(int(row.size()), BlockBytes), data.begin());
        if (!op.call<ISO15693_Write>(0, mode, BytePointer(uid), uint8_t(block),
                                     data.data()))
            return;
    }
    op.succeed(Message(Msg::OperationSucceeded));
}

void CIso15693Page::lockBlock()
{
    const uint8_t mode = modeByte();
    ReaderOperation op;
    QByteArray uid;
    if (!op.requirePortOpen() || !takeUid(uid, false))
        return;
    const int block = comboBox(BlockList)->currentIndex();
    if (op.call<ISO15693_Lock_Block>(0, mode, BytePointer(uid), uint8_t(block)))
        op.succeed(Message(Msg::OperationSucceeded));
}

void CIso15693Page::gridPageShown(int page)
{
    CVicinityTagPage::gridPageShown(page);
    refreshStatusFields(page);
}

void CIso15693Page::refreshStatusFields(int page)
{
    for (int i = 0; i < GridRows; ++i) {
        CHexEdit *field = hexEdit(FirstStatusField + i);
        const std::size_t block = std::size_t(GridRows * page + i);
        const bool shown = (page == 0 || i < m_profile.statusFields) && block < m_blockSecurity.size();
        if (shown)
            field->SetHexBytes(&m_blockSecurity[block], 1);
        else
            field->clear();
    }
}
