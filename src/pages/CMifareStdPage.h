#pragma once

#include "pages/CCardPage.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// One operation panel of a Mifare Standard page: the sectors it offers, where it stands on the
// page (dialog units) and the ids of its controls. A sector of n blocks shows n - 1 data block
// fields; its last block, the trailer, is split into key A, access bits and key B.
struct MifarePanel {
    int x, y;
    int firstSector, sectorCount;
    int groupBox;
    int sectorList, blockList;
    int sectorLabel, blockLabel, keyLabel;
    int keyARadio, keyBRadio;
    int keyField;
    std::vector<int> blockFields; // the data blocks of the sector, in block order
    int trailerKeyA, trailerAccessBits, trailerKeyB;
    int readButton, writeButton;

    int blocksPerSector() const { return int(blockFields.size()) + 1; }
    int trailerBlock() const { return int(blockFields.size()); }
};

// Everything that tells one Mifare Standard page from the other: the template id and size,
// the ids that differ, the purse sectors and the operation panels. The dialog template is built
// from these rows, so both pages share one geometry.
struct MifareStdLayout {
    int templateId;
    int width; // dialog units; the height follows from the tallest panel
    int reqIdlButton, haltButton;
    int purseSectorCount;
    int hexValueLabel;
    std::vector<MifarePanel> panels;
};

// The Mifare Standard page: select the card, authenticate a sector with key A or B, read a
// sector into a panel, write one block, and the four purse operations on a value block.
// CMifareS50Page and CMifareS70Page only hand it their layout.
class ReaderOperation;

class CMifareStdPage : public CCardPage
{
    Q_OBJECT
public:
    // The controls both pages have under the same id; the panels' ids are rows of the layout.
    enum ControlId : int {
        SerialField = 1049,
        RequestButton = 1010,
        PurseGroup = 1110,
        PurseSectorList = 1050,
        PurseBlockList = 1058,
        PurseSectorLabel = 1097,
        PurseBlockLabel = 1109,
        PurseKeyLabel = 1098,
        PurseKeyARadio = 1051,
        PurseKeyBRadio = 1052,
        PurseKeyField = 1053,
        DecimalValueField = 1054,
        HexValueField = 1055,
        DecimalValueLabel = 1108,
        InitializeButton = 1056,
        IncrementButton = 1057,
        DecrementButton = 1059,
        BalanceButton = 1060,
    };

    // The template is the one buildTemplate() makes of the layout; both outlive the page.
    CMifareStdPage(const MifareStdLayout &layout, const DialogTemplate &dialogTemplate,
                   QWidget *parent = nullptr);

    // Set by a successful request-all selection, cleared by any failed call of an operation:
    // while it is set, an operation authenticates without selecting the card again.
    bool isCardSelected() const { return m_cardSelected; }

    // Authentication names the first block of a sector: 4 blocks a sector up to sector 31,
    // 16 from sector 32 on (block numbers are one byte).
    static uint8_t firstBlockOfSector(int sector);
    // The template of a layout: the serial number and selection buttons, the purse group and
    // the panels where the layout puts them.
    static DialogTemplate buildTemplate(const MifareStdLayout &layout);

    // Halts the selected card. Shared by the UltraLight page; it uses nothing of a page.
    static void halt();

private:
    void initialise();

    bool requestAndSelect(ReaderOperation &op, int attempts);
    void request();
    void requestIdle();
    // The key of a sector operation: the sector, key A or B, and the key's field.
    struct SectorKey {
        int sectorList;
        int keyARadio;
        int keyField;
    };
    // The start of every sector operation: the card selected when it is not yet, the key's six
    // bytes checked, then `confirmed` asked (when given) and the sector authenticated. Gives the
    // sector's first block; nothing when it stopped (it has reported).
    std::optional<uint8_t> authenticateSector(ReaderOperation &op, const SectorKey &key,
                                              const std::function<bool()> &confirmed = {});
    bool keyFieldHoldsKey(int keyField);

    enum class PurseOperation { Initialize, Increment, Decrement };
    void runPurseOperation(PurseOperation operation);
    void readBalance();
    // The purse sector authenticated; the block the operation works on, nothing when it stopped.
    std::optional<uint8_t> authenticatePurseBlock(ReaderOperation &op);
    void rebuildPurseBlockList();
    void syncDecimalToHex();
    void syncHexToDecimal();

    void readSector(const MifarePanel &panel);
    void writeBlock(const MifarePanel &panel);
    QByteArray collectBlockData(const MifarePanel &panel, int block) const;
    void applyWriteEnableRule(const MifarePanel &panel);
    void clearPanel(const MifarePanel &panel);

    const MifareStdLayout &m_layout;
    bool m_cardSelected = false;
    bool m_valueSyncGuard = false;
};
