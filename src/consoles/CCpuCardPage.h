#pragma once

#include "consoles/CConsolePage.h"

// The console of an ISO 7816 processor card in the reader's contact slot ("CPU Card"): Reset
// powers the card and shows its answer to reset, Send transmits one APDU and lists the
// response. Its command book is "cpubooks.txt".
class CCpuCardPage : public CConsolePage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        ResetInfoField = 1061,
        CommandField = 1063,
        PickerButton = 1065,
        SendButton = 1060,
        ResetButton = 1073,
        ResultList = 1074,
        ConsoleBox = 1076,
        ClearButton = 1068,
        ResetInfoLabel = 1157,
        CommandLabel = 1218,
        AnswerLabel = 1219,
    };

    explicit CCpuCardPage(QWidget *parent = nullptr);

    // Dialog template 148.
    static const DialogTemplate &dialogTemplate();

private:
    void reset();
    void send();
};
