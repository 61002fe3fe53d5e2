#pragma once

#include "base/CardTypes.h"
#include "consoles/CConsolePage.h"

#include <cstdint>

class ReaderOperation;

// The console of the contactless processor cards: "Mifare_Pro(X) " (type A, with RstIDL and
// Deselect), "SmartCard" (type B, PUPI instead of CSN) and "Mifare_DesFire" (type A with a
// 7-byte serial number, commands of any length). It activates the card, sends COS commands
// and lists each answer. Its command book is "cosbooks.txt".
class CIso14443CpuPage : public CConsolePage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        TypeARadio = 1054,
        TypeBRadio = 1055,
        CommandField = 1056,
        SendButton = 1057,
        CsnField = 1058,
        PupiField = 1059,
        ResetInfoField = 1060,
        ResultList = 1062,
        PickerButton = 1063,
        ResetButton = 1064,
        InformationBox = 1065,
        ResetIdleButton = 1066,
        ClearButton = 1067,
        PupiLabel = 1135,
        ResetInfoLabel = 1157,
        CsnLabel = 1217,
        CommandLabel = 1218,
        AnswerLabel = 1219,
        DeselectButton = 1237,
    };

    CIso14443CpuPage(CardKind kind, const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);

    // Template 139 on a 640-pixel-wide screen, 138 on an 800-pixel one, 136 otherwise: the
    // narrower screens are also the shorter ones, so the answer list is shorter.
    static const DialogTemplate &dialogTemplate(int screenWidth);

private:
    void initialise();
    void reset();
    void resetIdle();
    void deselect();
    void send();
    bool resetTypeA(ReaderOperation &op);
    bool resetTypeB(ReaderOperation &op);
    // Serial number first, the rest of the activation answer after it.
    void showActivation(const uint8_t *answer, int length, int serialLength);
    void clearCardFields();

    CardKind m_cardType;
};
