#pragma once

#include "consoles/CConsolePage.h"

// The "SAM" page, in two halves. The DES half encrypts or decrypts up to 64 bytes with an 8- or
// 16-byte key through the reader library's cipher functions; it needs no port and leaves the
// log alone. The SAM half resets the module in the reader's SAM slot at the chosen rate and
// sends it commands, listing each response. Its command book is "samcosbooks.txt".
class CSamPage : public CConsolePage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        KeyField = 1056,
        SecondKeyField = 1057,
        DataField = 1058,
        ResultField = 1059,
        EncryptButton = 1066,
        DecryptButton = 1067,
        DesBox = 1075,
        SamBox = 1076,
        Baud9600Radio = 1071,
        Baud38400Radio = 1072,
        CommandField = 1063,
        PickerButton = 1065,
        SendButton = 1060,
        ResetButton = 1073,
        ResetInfoField = 1061,
        ResultList = 1074,
        ClearButton = 1068,
        KeyLabel = 1220,
        DataLabel = 1221,
        OutputLabel = 1219,
        BaudLabel = 1222,
        CommandLabel = 1218,
        ResetInfoLabel = 1157,
        AnswerLabel = 1223,
    };

    explicit CSamPage(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);

    // Template 142 on a 640-pixel-wide screen, 140 on an 800-pixel one, 141 otherwise: the
    // narrower screens are also the shorter ones, so the answer list is shorter.
    static const DialogTemplate &dialogTemplate(int screenWidth);

private:
    void cipher(bool encrypt);
    void reset();
    void send();
};
