#pragma once

#include "pages/CVicinityTagPage.h"

// The page of the SRF55V02P (variant 0, 32 memory pages of 8 bytes) and SRF55V10P (variant 1,
// 128 pages): inventory, the whole memory read page by page into the grid, and the changed
// pages written back with a write-and-verify.
class CSrf55vPage : public CVicinityTagPage
{
    Q_OBJECT
public:
    // The page's controls.
    enum ControlId : int {
        InventoryButton = 1066,
        ReadButton = 1063,
        WriteButton = 1064,
        Grid = 1196,
        GridScrollBar = 1155,
    };
    static constexpr std::array<int, 4> UidFields = {1056, 1057, 1058, 1059};
    // Status fields of the template that this page never shows.
    static constexpr std::array<int, 16> StatusFields = {1060, 1061, 1062, 1065, 1067, 1068, 1069, 1070,
                                                         1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078};

    explicit CSrf55vPage(int variant, QWidget *parent = nullptr);

    // Dialog template 156.
    static const DialogTemplate &dialogTemplate();

    int variant() const { return m_variant; }

private:
    int pageCount() const;
    void readPages();
    void writePages();

    int m_variant;
};
