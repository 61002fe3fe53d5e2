#pragma once

#include "pages/CCardPage.h"

#include <cstdint>

// The page of "Mifare_UltraLight": selects the card, reads its 16 pages of 4 bytes, writes one
// page from 2 to 15 and halts the card. It keeps nothing between presses.
class ReaderOperation;

class CUltraLightPage : public CCardPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        SerialField = 1079,
        RequestAllButton = 1077,
        RequestIdleButton = 1066,
        HaltButton = 1063,
        PageList = 1078,
        ReadButton = 1080,
        WriteButton = 1081,
        SerialLabel = 1133,
        PageLabel = 1134,
        FirstPageField = 1082,
        LastPageField = 1098,
        // The last two bytes of page 2.
        LockBytesField = 1085,
    };
    // The field of page p; page 2's holds its first two bytes, LockBytesField the other two.
    static constexpr int pageField(int page) { return FirstPageField + page + (page > 2 ? 1 : 0); }

    explicit CUltraLightPage(QWidget *parent = nullptr);

    // Dialog template 143.
    static const DialogTemplate &dialogTemplate();

private:
    void initialise();
    void requestAll();
    void requestIdle();
    // Request and selection; on success the page fields are emptied and the serial number shown.
    bool selectCard(ReaderOperation &op, uint8_t requestMode);
    void readCard();
    void writePage();
    void clearPageFields();
};
