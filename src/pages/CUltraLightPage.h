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
