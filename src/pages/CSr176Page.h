#pragma once

#include "pages/CStTagPage.h"

// The page of "SR176", an ST tag of 16 blocks of 2 bytes: selects it and shows its chip ID,
// reads every block, writes one of blocks 4 to 14 and writes the lock register after a
// confirmation.
class CSr176Page : public CStTagPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        ChipIdField = 1115,
        // Block b in field FirstBlockField + b.
        FirstBlockField = 1099,
        BlockList = 1117,
        LockRegisterField = 1059,
        RequestButton = 1116,
        ReadButton = 1118,
        WriteButton = 1119,
        LockButton = 1066,
        PageGroup = 1065,
    };

    explicit CSr176Page(QWidget *parent = nullptr);

    // Dialog template 144.
    static const DialogTemplate &dialogTemplate();

private:
    void initialise();
};
