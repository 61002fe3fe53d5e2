#pragma once

#include "pages/CCardPage.h"

class ReaderOperation;

// The page of "SHC1102", a type A tag of 16 blocks of 4 bytes behind a 4-byte password: reads
// blocks 0 to 7 freely and 8 to 15 after the password, writes one block from 2 to 15 after the
// password. Every operation starts with a request; the tag commands' failures go to the log only.
class CShc1102Page : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        TagTypeField = 1079,
        RequestButton = 1077,
        PasswordField = 1056,
        BlockList = 1078,
        ReadButton = 1080,
        WriteButton = 1081,
        Block0Field = 1082,
        Block2Field = 1185,
    };
    // The field of block b: block 2 has a field of its own, the others follow Block0Field.
    static constexpr int blockField(int block)
    {
        return block == 2 ? Block2Field : Block0Field + block + (block > 2 ? 1 : 0);
    }

    explicit CShc1102Page(QWidget *parent = nullptr);

    // Dialog template 154.
    static const DialogTemplate &dialogTemplate();

private:
    void request();
    void readCard();
    void writeBlock();
    // Field reset and request; the tag type is shown on success. Each call is logged, the first
    // failing one reported.
    bool requestTag(ReaderOperation &op);
    bool readBlocks(ReaderOperation &op, int first, int last);
    void clearBlockFields();
};
