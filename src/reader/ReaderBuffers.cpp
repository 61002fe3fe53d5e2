#include "reader/ReaderBuffers.h"

#include <map>

namespace {

constexpr BufferRule fixed(int bytes) { return {BufferRule::Size::Fixed, bytes}; }
constexpr BufferRule countIn(int parameter, int limit = -1) { return {BufferRule::Size::CountParameter, parameter, limit}; }
constexpr BufferRule answered(int lengthParameter, int limit = -1)
{
    return {BufferRule::Size::AnsweredLength, lengthParameter, limit};
}
constexpr BufferRule length() { return {BufferRule::Size::IsLength, 0}; }

} // namespace

const std::vector<BufferRule> *ReaderBufferRules(std::string_view name)
{
    static const std::map<std::string_view, std::vector<BufferRule>> rules = {
        {"des_encrypt", {countIn(2, 256), countIn(2), countIn(4)}},
        {"des_decrypt", {countIn(2, 256), countIn(2), countIn(4)}},
        {"rf_get_device_number", {fixed(2)}},
        {"rf_get_model", {answered(2), length()}},
        {"rf_sam_rst", {answered(2), length()}},
        {"rf_sam_cos", {countIn(2), answered(4), length()}},
        {"rf_request", {fixed(2)}},
        {"rf_anticoll", {answered(3), length()}},
        {"rf_select", {countIn(2), fixed(1)}},
        {"rf_M1_authentication2", {fixed(6)}},
        {"rf_M1_read", {answered(3), length()}},
        {"rf_M1_write", {fixed(16)}},
        {"rf_typea_rst", {answered(3), length()}},
        {"rf_cos_command", {countIn(2), answered(4), length()}},
        {"rf_atqb", {answered(3), length()}},
        {"rf_at020_check", {fixed(8)}},
        {"rf_at020_read", {answered(3), length()}},
        {"rf_at020_write", {fixed(8)}},
        {"rf_at020_lock", {fixed(4)}},
        {"rf_at020_count", {fixed(6)}},
        {"rf_st_select", {fixed(1)}},
        {"rf_sr176_readblock", {answered(3), length()}},
        {"rf_sr176_writeblock", {fixed(2)}},
        {"rf_srix4k_readblock", {answered(3), length()}},
        {"rf_srix4k_writeblock", {fixed(4)}},
        {"rf_srix4k_getuid", {answered(2), length()}},
        {"rf_ul_select", {answered(2), length()}},
        {"rf_ul_write", {fixed(4)}},
        {"ISO15693_Read", {fixed(8), answered(6), length()}},
        {"ISO15693_Write", {fixed(8), fixed(4)}},
        {"ISO15693_Lock_Block", {fixed(8)}},
        {"ISO15693_Write_AFI", {fixed(8)}},
        {"ISO15693_Lock_AFI", {fixed(8)}},
        {"ISO15693_Write_DSFID", {fixed(8)}},
        {"ISO15693_Lock_DSFID", {fixed(8)}},
        {"ISO15693_Get_System_Information", {fixed(8), answered(4), length()}},
        {"ISO15693_Get_Block_Security", {fixed(8), answered(6), length()}},
        {"smartcard_rst", {answered(2), length()}},
        {"smartcard_cos", {countIn(2), answered(4), length()}},
        {"AT24_read", {countIn(2)}},
        {"AT24_write", {countIn(2)}},
        {"AT1608_Rst", {fixed(4)}},
        {"AT1608_Authenticate", {fixed(16), fixed(8)}},
        {"AT1608_VerifyPassword", {fixed(3)}},
        {"AT1608_Read", {countIn(2)}},
        {"AT1608_Write", {countIn(4)}},
        {"AT1608_ReadFuse1", {fixed(1)}},
        {"rf_Shc1102_Auth", {fixed(4)}},
        {"rf_Shc1102_Read", {answered(3), length()}},
        {"rf_Shc1102_Write", {fixed(4)}},
        {"ReadTime", {answered(2, 7), length()}},
        {"WriteTime", {fixed(7)}},
        {"ISO15693_Inventorys", {answered(2), length()}},
        {"Srf55vp_Read", {fixed(8), answered(4), length()}},
        {"Srf55vp_Write_Reread", {fixed(8), fixed(8), answered(5, 8), length()}},
        {"rf_DESFire_rst", {answered(3), length()}},
        {"rf_transceive1", {countIn(2), answered(4), length()}},
        {"rf_thr1064_read", {answered(3), length()}},
        {"rf_thr1064_write", {countIn(3)}},
        {"rf_thr1064_check", {fixed(8)}},
    };
    const auto found = rules.find(name);
    return found != rules.end() ? &found->second : nullptr;
}
