#pragma once

#include "VicinityTag.h"

namespace zentrava {

// An ISO 15693 vicinity tag with blocks of 4 bytes: the NXP I.CODE SLI (28 blocks) and the TI
// Tag-it HF-I (64 blocks). Besides its blocks the tag keeps a DSFID and an AFI; each block, the DSFID and the AFI can be locked
// once and then refuse every write for good.
class Iso15693Tag : public VicinityTag {
public:
    enum class Kind { IcodeSli, TagIt };

    static std::unique_ptr<Iso15693Tag> factoryNew(Kind kind, const Bytes &uid);
    static std::unique_ptr<Iso15693Tag> fromJson(Kind kind, const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override;
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    uint8_t dsfid() const override { return m_dsfid; }
    uint8_t afi() const { return m_afi; }
    bool blockLocked(int block) const { return m_lockedBlocks[static_cast<std::size_t>(block)]; }

    // Information flags (DSFID, AFI, memory size and IC reference present), the UID, DSFID,
    // AFI, the memory size (blocks − 1, block size − 1) and the IC reference: 15 bytes.
    Bytes systemInformation() const;
    // The blocks [first, first + count) one after another, or their security status (1 locked,
    // 0 open) one byte each. A range beyond the memory is refused.
    int32_t read(int first, int count, Bytes &data) const;
    int32_t blockSecurity(int first, int count, Bytes &data) const;
    int32_t write(int block, const uint8_t *data);
    int32_t lockBlock(int block);
    int32_t writeAfi(uint8_t afi);
    int32_t lockAfi();
    int32_t writeDsfid(uint8_t dsfid);
    int32_t lockDsfid();

private:
    Iso15693Tag(Kind kind, Bytes uid);
    bool rangeFits(int first, int count) const;

    Kind m_kind;
    uint8_t m_dsfid = 0;
    uint8_t m_afi = 0;
    bool m_dsfidLocked = false;
    bool m_afiLocked = false;
    std::vector<bool> m_lockedBlocks;
};

} // namespace zentrava
