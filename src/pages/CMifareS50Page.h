#pragma once

#include "pages/CMifareStdPage.h"

// The page of "Mifare_Std S50": 16 sectors of 4 blocks, a purse group and three operation panels.
class CMifareS50Page : public CMifareStdPage
{
    Q_OBJECT
public:
    // The controls this page has under ids of its own; the operation panels' ids are rows of its
    // layout.
    enum ControlId : int {
        ReqIdlButton = 1236,
        HaltButton = 1237,
        HexValueLabel = 1114,
    };

    explicit CMifareS50Page(QWidget *parent = nullptr);

    static const MifareStdLayout &layout();
    // Dialog template 104.
    static const DialogTemplate &dialogTemplate();
};
