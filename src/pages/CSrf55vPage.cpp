#include "pages/CSrf55vPage.h"

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <QScrollBar>

#include <algorithm>

namespace {

using enum ReaderFunction;
using enum CSrf55vPage::ControlId;

constexpr int UidBytes = 8;
constexpr int PageBytes = 8;
constexpr int ControlGap_px = 6;
// The read-back fails to match: the page reports this status.
constexpr int32_t VerifyFailedStatus = 1;

DialogTemplate buildTemplate()
{
    ControlList add;
    CVicinityTagPage::addUidRows(add, CSrf55vPage::UidFields, 20);
    add(InventoryButton, ControlKind::Button, 10, 88, 58, 14, "INVENTORY");
    add(ReadButton, ControlKind::Button, 10, 108, 58, 14, "Read");
    add(WriteButton, ControlKind::Button, 74, 108, 58, 14, "Write");
    add(Grid, ControlKind::HexGrid, 160, 20, 130, 150);
    for (std::size_t i = 0; i < CSrf55vPage::StatusFields.size(); ++i)
        add(CSrf55vPage::StatusFields[i], ControlKind::HexEdit, 296, 20 + 9 * int(i), 16, 9, "", Locked | Hidden);
    add(GridScrollBar, ControlKind::ScrollBar, 316, 20, 10, 150);
    return DialogTemplate{156, 340, 190, std::move(add.controls)};
}

} // namespace

CSrf55vPage::CSrf55vPage(int variant, QWidget *parent)
    : CVicinityTagPage(dialogTemplate(), UidFields, {Grid, GridScrollBar, PageBytes}, parent), m_variant(variant)
{
    for (int field : StatusFields) {
        hexEdit(field)->SetMaxBytes(1);
        hexEdit(field)->SetInputLocked(true);
        hexEdit(field)->hide();
    }
    const std::vector<uint8_t> zeros(std::size_t(pageCount() * PageBytes), 0);
    grid()->SetDataBytes(zeros.data(), int(zeros.size()));
    scrollBar()->setRange(0, grid()->GetPageCount() - 1);
    // With the status fields hidden, the scroll bar moves up to the grid.
    const QRect gridArea = fitGrid();
    scrollBar()->setGeometry(gridArea.right() + 1 + ControlGap_px, gridArea.top(), scrollBar()->width(),
                             gridArea.height());
    setContentHeight(gridArea.bottom() + 1 + 50);

    onClicked(InventoryButton, [this] { inventory(); });
    onClicked(ReadButton, [this] { readPages(); });
    onClicked(WriteButton, [this] { writePages(); });
}

const DialogTemplate &CSrf55vPage::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

int CSrf55vPage::pageCount() const
{
    return m_variant == 0 ? 32 : 128;
}

void CSrf55vPage::readPages()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray uid = selectedUid();
    if (uid.size() != UidBytes) {
        ShowMessageBox(this, Message(Msg::UidLengthError), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    std::vector<uint8_t> data;
    {
        const WaitCursor waiting;
        AnswerBuffer answer{};
        for (int page = 0; page < pageCount(); ++page) {
            uint8_t length = 0;
            if (!op.callReportingOnly<Srf55vp_Read>(0, BytePointer(uid),
                                                    uint8_t(page), answer.data(), &length)) {
                grid()->ResetModifiedRange();
                grid()->ClearData();
                return;
            }
            // A page holds 8 bytes, whatever length the library claims.
            data.insert(data.end(), answer.begin(), answer.begin() + std::min<int>(length, PageBytes));
        }
    }
    op.logSeries<Srf55vp_Read>();
    grid()->SetDataBytes(data.data(), int(data.size()));
    op.succeed(Message(Msg::Srf55vPagesRead));
}

void CSrf55vPage::writePages()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray uid = selectedUid();
    if (uid.size() != UidBytes) {
        ShowMessageBox(this, Message(Msg::UidLengthError), QStringLiteral("Error"), MessageIcon::Error);
        return;
    }
    const int first = grid()->GetFirstModifiedRow();
    const int last = grid()->GetLastModifiedRow();
    if (first < 0 || last < first) {
        op.fail(Message(Msg::NoRowChanged));
        return;
    }
    for (int page = first; page <= last; ++page) {
        const QByteArray row = grid()->GetRowBytes(page);
        std::array<uint8_t, PageBytes> data{};
        std::copy_n(row.constData(), std::min<int>(int(row.size()), PageBytes), data.begin());
        AnswerBuffer readBack{};
        uint8_t length = PageBytes;
        const auto readBackMatches = [&] {
            return length == PageBytes && std::equal(data.begin(), data.end(), readBack.begin());
        };
        if (!op.callVerified<Srf55vp_Write_Reread>(readBackMatches, VerifyFailedStatus, 0,
                                                   BytePointer(uid), uint8_t(page),
                                                   data.data(), readBack.data(), &length))
            return;
    }
    op.succeed(Message(Msg::Srf55vPagesWritten));
}
