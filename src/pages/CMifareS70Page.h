#pragma once

#include "pages/CMifareStdPage.h"

// The page of "Mifare_ Std S70": 32 sectors of 4 blocks followed by 8 sectors of 16 blocks. Panel A
// works on the small sectors, panel B on the large ones; there is no panel C.
class CMifareS70Page : public CMifareStdPage
{
    Q_OBJECT
public:
    // The controls this page has under ids of its own; the operation panels' ids are rows of its
    // layout.
    enum ControlId : int {
        ReqIdlButton = 1011,
        HaltButton = 1012,
        HexValueLabel = 1115,
    };

    explicit CMifareS70Page(QWidget *parent = nullptr);

    static const MifareStdLayout &layout();
    // Dialog template 157.
    static const DialogTemplate &dialogTemplate();
};
