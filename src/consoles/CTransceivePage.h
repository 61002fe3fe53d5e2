#pragma once

#include "consoles/CConsolePage.h"

// The "Test" page: puts the reader's radio into ISO 14443 type B or ISO 15693 mode and sends
// raw bytes to the card in the field, listing each answer. Its command book is
// "testcmdbooks.txt".
class CTransceivePage : public CConsolePage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        MifareRadio = 1238,
        TypeBRadio = 1239,
        Iso15693Radio = 1240,
        SetButton = 1242,
        SendLabel = 1218,
        SendField = 1244,
        PickerButton = 1066,
        CrcCheck = 1243,
        TransceiveButton = 1241,
        AnswerLabel = 1219,
        ResultList = 1062,
        ClearButton = 1068,
    };

    explicit CTransceivePage(QWidget *parent = nullptr);

    // Dialog template 158.
    static const DialogTemplate &dialogTemplate();

private:
    void setMode();
    void transceive();
};
