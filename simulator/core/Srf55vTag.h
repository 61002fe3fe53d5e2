#pragma once

#include "VicinityTag.h"

namespace zentrava {

// The Infineon my-d vicinity tags SRF55V02P (32 pages of 8 bytes) and SRF55V10P (128 pages):
// vicinity tags whose memory is read and written a page at a time.
class Srf55vTag : public VicinityTag {
public:
    enum class Kind { V02P, V10P };
    static constexpr int PageSize = 8;

    static std::unique_ptr<Srf55vTag> factoryNew(Kind kind, const Bytes &uid);
    static std::unique_ptr<Srf55vTag> fromJson(Kind kind, const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override;
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    int32_t read(int page, uint8_t *data) const;
    int32_t write(int page, const uint8_t *data);

private:
    Srf55vTag(Kind kind, Bytes uid);

    Kind m_kind;
};

} // namespace zentrava
