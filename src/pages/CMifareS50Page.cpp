#include "pages/CMifareS50Page.h"

namespace {

// Panels side by side below the purse group.
constexpr int PanelTop = 100;

} // namespace

CMifareS50Page::CMifareS50Page(QWidget *parent)
    : CMifareStdPage(layout(), dialogTemplate(), parent)
{
}

const MifareStdLayout &CMifareS50Page::layout()
{
    static const MifareStdLayout layout{
        104, 560, ReqIdlButton, HaltButton, 16, HexValueLabel,
        {
            // x, y, sectors, group, sector and block lists, their labels and the key label,
            // key A/B radios, key, data blocks, trailer key A, access bits, key B, read, write
            {7, PanelTop, 0, 16, 1111, 1061, 1094, 1099, 1100, 1101, 1064, 1065, 1004,
             {1076, 1077, 1078}, 1085, 1086, 1087, 1070, 1073},
            {191, PanelTop, 0, 16, 1112, 1062, 1095, 1102, 1103, 1104, 1066, 1067, 1005,
             {1079, 1081, 1083}, 1090, 1092, 1089, 1071, 1074},
            {375, PanelTop, 0, 16, 1113, 1063, 1096, 1105, 1106, 1107, 1068, 1069, 1006,
             {1080, 1082, 1084}, 1091, 1093, 1088, 1072, 1075},
        }};
    return layout;
}

const DialogTemplate &CMifareS50Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate(layout());
    return dialogTemplate;
}
