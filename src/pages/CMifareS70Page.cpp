#include "pages/CMifareS70Page.h"

namespace {

constexpr int PanelTop = 100;

} // namespace

CMifareS70Page::CMifareS70Page(QWidget *parent)
    : CMifareStdPage(layout(), dialogTemplate(), parent)
{
}

const MifareStdLayout &CMifareS70Page::layout()
{
    static const MifareStdLayout layout{
        157, 376, ReqIdlButton, HaltButton, 32, HexValueLabel,
        {
            // x, y, sectors, group, sector and block lists, their labels and the key label,
            // key A/B radios, key, data blocks, trailer key A, access bits, key B, read, write
            {7, PanelTop, 0, 32, 1111, 1061, 1094, 1099, 1100, 1101, 1064, 1065, 1004,
             {1076, 1077, 1078}, 1085, 1086, 1087, 1070, 1073},
            // Sectors 32 to 39 hold 16 blocks: fifteen data blocks and the trailer (block 15).
            {191, PanelTop, 32, 8, 1112, 1062, 1095, 1102, 1103, 1104, 1066, 1067, 1005,
             {1079, 1081, 1083, 1214, 1215, 1216, 1088, 1091, 1093, 1096, 1105, 1106, 1107, 1113, 1114},
             1090, 1092, 1089, 1071, 1074},
        }};
    return layout;
}

const DialogTemplate &CMifareS70Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate(layout());
    return dialogTemplate;
}
