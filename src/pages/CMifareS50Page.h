#pragma once

#include "pages/CMifareStdPage.h"

// The page of "Mifare_Std S50": 16 sectors of 4 blocks, a purse group and three operation panels.
class CMifareS50Page : public CMifareStdPage
{
    Q_OBJECT
public:
    explicit CMifareS50Page(QWidget *parent = nullptr);

    static const MifareStdLayout &layout();
    // Dialog template 104.
    static const DialogTemplate &dialogTemplate();
};
