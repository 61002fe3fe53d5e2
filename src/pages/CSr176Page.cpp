#include "pages/CSr176Page.h"

#include "controls/CHexEdit.h"
#include "pages/StTagBlocks.h"

namespace {

using enum ReaderFunction;
using enum CSr176Page::ControlId;

constexpr int BlockCount = 16;
constexpr int BlockBytes = 2;
// Blocks 0 to 3 hold the serial number and block 15 the lock register and chip ID: the page
// writes only the blocks between.
constexpr int FirstWritableBlock = 4;
constexpr int LastWritableBlock = 14;

constexpr StTagControls Controls =
    StTagControlsOf<CSr176Page>(BlockCount, BlockBytes, FirstWritableBlock, LastWritableBlock);

DialogTemplate buildTemplate()
{
    static const QByteArray names[BlockCount] = {"block0", "block1", "block2", "block3", "block4", "block5",
                                                 "block6", "block7", "block8", "block9", "block10", "block11",
                                                 "block12", "block13", "block14", "block15"};
    ControlList add;
    add(PageGroup, ControlKind::GroupBox, 7, 7, 212, 206, "SR176");
    add(UnaddressedControlId, ControlKind::Label, 15, 22, 38, 8, "Chip - ID");
    add(ChipIdField, ControlKind::HexEdit, 56, 20, 34, 12);
    add(RequestButton, ControlKind::Button, 100, 19, 52, 14, {"寻卡", "Req"});
    add(ReadButton, ControlKind::Button, 158, 19, 52, 14, {"读卡", "Read Card"});
    // Blocks 0 to 7 in the left column, 8 to 15 in the right one.
    for (int column = 0; column < 2; ++column) {
        const int x = 15 + 100 * column;
        add(UnaddressedControlId, ControlKind::Label, x + 34, 40, 50, 8, "byte0-byte1");
        for (int row = 0; row < 8; ++row) {
            const int block = 8 * column + row;
            const int y = 52 + 14 * row;
            add(UnaddressedControlId, ControlKind::Label, x, y + 2, 32, 8, names[block].constData());
            add(FirstBlockField + block, ControlKind::HexEdit, x + 34, y, 34, 12);
        }
    }
    add(UnaddressedControlId, ControlKind::Label, 15, 172, 52, 8, "Block address");
    add(BlockList, ControlKind::DropList, 70, 170, 30, 120);
    add(WriteButton, ControlKind::Button, 110, 169, 60, 14, {"写卡", "Write Block"});
    add(UnaddressedControlId, ControlKind::Label, 15, 192, 52, 8, "Lock_REG");
    add(LockRegisterField, ControlKind::HexEdit, 70, 190, 30, 12);
    add(LockButton, ControlKind::Button, 110, 189, 60, 14, {"块锁定", "Lock"});
    return DialogTemplate{144, 226, 220, std::move(add.controls)};
}

} // namespace

CSr176Page::CSr176Page(QWidget *parent)
    : CStTagPage(dialogTemplate(), Controls,
                 StTagCommandsOf<rf_sr176_readblock, rf_sr176_writeblock, rf_sr176_protectblock>, parent)
{
    initialise();
}

const DialogTemplate &CSr176Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CSr176Page::initialise()
{
    addCaptionFrame(PageGroup);
    for (int block = 0; block < BlockCount; ++block)
        hexEdit(FirstBlockField + block)->SetMaxBytes(BlockBytes);
    const QRect group = controlRect(PageGroup);
    setContentHeight(group.y() + group.height() + 50);
}
