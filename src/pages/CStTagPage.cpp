#include "pages/CStTagPage.h"

#include "controls/CHexEdit.h"
#include "pages/StTagSelection.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"

CStTagPage::CStTagPage(const DialogTemplate &dialogTemplate, const StTagControls &controls,
                       const StTagCommands &commands, QWidget *parent)
    : CCardPage(dialogTemplate, parent)
    , m_controls(controls)
{
    for (int block = controls.firstWritableBlock; block <= controls.lastWritableBlock; ++block)
        addListItem(controls.blockList, QString::asprintf("%d", block), block);
    selectListIndex(controls.blockList, 0);
    hexEdit(controls.lockRegisterField)->SetMaxBytes(1);
    onClicked(controls.requestButton, [this] { request(); });
    onClicked(controls.readButton, [this, read = commands.readBlocks] { read(*this); });
    onClicked(controls.writeButton, [this, write = commands.writeBlock] { write(*this); });
    onClicked(controls.lockButton, [this, lock = commands.lock] { lock(*this); });
}

void CStTagPage::clearBlockFields()
{
    for (int block = 0; block < m_controls.blockCount; ++block)
        hexEdit(m_controls.firstBlockField + block)->clear();
}

void CStTagPage::request()
{
    hexEdit(m_controls.chipIdField)->clear();
    ReaderOperation op;
    QByteArray chipId;
    if (!op.requirePortOpen() || !SelectStTag(op, chipId))
        return;
    clearBlockFields();
    hexEdit(m_controls.chipIdField)->SetHexBytes(chipId);
    op.succeed(Message(Msg::RequestSucceeded));
}
