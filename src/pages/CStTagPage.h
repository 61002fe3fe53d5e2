#pragma once

#include "pages/CCardPage.h"

// Where an ST tag page keeps its controls.
struct StTagControls {
    int chipIdField;
    int requestButton;
    int readButton;
    int writeButton;
    int lockButton;
    int firstBlockField; // block b is shown in field firstBlockField + b
    int blockCount;
    int blockBytes;
    int blockList; // the block to write, offering firstWritableBlock to lastWritableBlock
    int firstWritableBlock;
    int lastWritableBlock;
    int lockRegisterField; // one byte
};

// The controls of a page whose ControlId names them as every ST tag page does.
template <class Page>
constexpr StTagControls StTagControlsOf(int blockCount, int blockBytes, int firstWritableBlock, int lastWritableBlock)
{
    return {.chipIdField = Page::ChipIdField,
            .requestButton = Page::RequestButton,
            .readButton = Page::ReadButton,
            .writeButton = Page::WriteButton,
            .lockButton = Page::LockButton,
            .firstBlockField = Page::FirstBlockField,
            .blockCount = blockCount,
            .blockBytes = blockBytes,
            .blockList = Page::BlockList,
            .firstWritableBlock = firstWritableBlock,
            .lastWritableBlock = lastWritableBlock,
            .lockRegisterField = Page::LockRegisterField};
}

class CStTagPage;

// The block operations bound to one tag's reader functions (StTagCommandsOf in pages/StTagBlocks.h).
struct StTagCommands {
    void (*readBlocks)(CStTagPage &page);
    void (*writeBlock)(CStTagPage &page);
    void (*lock)(CStTagPage &page);
};

// What the SR176 and SRIX4K pages share: "Req" selects the tag, shows its chip ID and empties
// the block fields; "Read Card" reads every block into its field, "Write Block" writes the
// chosen one and "Lock" writes the lock register after a confirmation.
class CStTagPage : public CCardPage
{
    Q_OBJECT
public:
    CStTagPage(const DialogTemplate &dialogTemplate, const StTagControls &controls, const StTagCommands &commands,
               QWidget *parent = nullptr);

    const StTagControls &blockControls() const { return m_controls; }
    void clearBlockFields();

private:
    void request();

    StTagControls m_controls;
};
