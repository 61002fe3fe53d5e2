#pragma once

#include "pages/CVicinityTagPage.h"

// The page of the SRF55V02P (variant 0, 32 memory pages of 8 bytes) and SRF55V10P (variant 1,
// 128 pages): inventory, the whole memory read page by page into the grid, and the changed
// pages written back with a write-and-verify.
class CSrf55vPage : public CVicinityTagPage
{
    Q_OBJECT
public:
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
