#pragma once

#include "base/BytePointer.h"
#include "controls/CHexEdit.h"
#include "pages/CStTagPage.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"
#include "reporting/UserPrompts.h"

#include <array>
#include <cstdint>

// The block operations of the ST tag pages, each made for one tag's reader functions.

// Every block read into its field, the fields emptied first. A failed or short read is reported
// as "Read block: N error!" and leaves the blocks read before it.
template <ReaderFunction Read>
void ReadStBlocks(CStTagPage &page)
{
    const StTagControls &controls = page.blockControls();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    page.clearBlockFields();
    for (int block = 0; block < controls.blockCount; ++block) {
        AnswerBuffer buffer{};
        uint8_t length = 0;
        const QString label = Message(Msg::ReadBlockError, block);
        if (!op.callReportedAs<Read>(label, 0, uint8_t(block), buffer.data(), &length)
            || !op.acceptLengthAs(length, controls.blockBytes, label))
            return;
        page.hexEdit(controls.firstBlockField + block)->SetHexBytes(buffer.data(), controls.blockBytes);
    }
    op.succeed(Message(Msg::CardRead));
}

// The chosen block written from its field; a field of another length writes nothing.
template <ReaderFunction Write>
void WriteStBlock(CStTagPage &page)
{
    const StTagControls &controls = page.blockControls();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const int block = page.selectedItemData(controls.blockList);
    if (block < 0)
        return;
    const QByteArray data = page.hexEdit(controls.firstBlockField + block)->GetHexBytes();
    if (data.size() != controls.blockBytes)
        return;
    if (op.call<Write>(0, uint8_t(block), BytePointer(data)))
        op.succeed(Message(Msg::CardWritten));
}

// The lock register written, once the operator has confirmed "Be sure to lock?"; a field of
// another length than one byte writes nothing.
template <ReaderFunction Lock>
void LockStTag(CStTagPage &page)
{
    const StTagControls &controls = page.blockControls();
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray lockRegister = page.hexEdit(controls.lockRegisterField)->GetHexBytes();
    if (lockRegister.size() != 1
        || ShowMessageBox(&page, Message(Msg::ConfirmBlockLock), QStringLiteral("Warning"), MessageIcon::Question, MessageButtons::OkCancel)
               != MessageAnswer::Ok)
        return;
    if (op.call<Lock>(0, uint8_t(lockRegister[0])))
        op.succeed(Message(Msg::BlockLocked));
}

// A tag's block read, block write and lock register write, as its page's buttons run them.
template <ReaderFunction Read, ReaderFunction Write, ReaderFunction Lock>
inline constexpr StTagCommands StTagCommandsOf{&ReadStBlocks<Read>, &WriteStBlock<Write>, &LockStTag<Lock>};
