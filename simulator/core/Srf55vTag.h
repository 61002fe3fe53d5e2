#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// The Infineon my-d vicinity tags SRF55V02P (32 pages of 8 bytes) and SRF55V10P (128 pages):
// ISO 15693 tags whose memory is read and written a page at a time, addressed by the 8-byte UID
// that the inventory gives.
class Srf55vTag : public BlockMemoryCard {
public:
    enum class Kind { V02P, V10P };
    static constexpr int PageSize = 8;

    static std::unique_ptr<Srf55vTag> factoryNew(Kind kind, const Bytes &uid);
    static std::unique_ptr<Srf55vTag> fromJson(Kind kind, const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override;
    RadioMode radioMode() const override { return RadioMode::Iso15693; }
    Bytes uid() const override { return m_uid; }
    std::array<uint8_t, 2> tagType() const override { return {0x00, 0x00}; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    int32_t read(int page, uint8_t *data) const;
    int32_t write(int page, const uint8_t *data);

private:
    Srf55vTag(Kind kind, Bytes uid);

    Kind m_kind;
    Bytes m_uid;
};

} // namespace zentrava
