#include "Srf55vTag.h"

#include "JsonFields.h"
#include "ScenarioError.h"
#include "StatusCode.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace zentrava {

namespace {

int pageCountOf(Srf55vTag::Kind kind)
{
    return kind == Srf55vTag::Kind::V02P ? 32 : 128;
}

} // namespace

Srf55vTag::Srf55vTag(Kind kind, Bytes uid)
    : VicinityTag(pageCountOf(kind), PageSize, std::move(uid)), m_kind(kind)
{
}

std::unique_ptr<Srf55vTag> Srf55vTag::factoryNew(Kind kind, const Bytes &uid)
{
    return std::unique_ptr<Srf55vTag>(new Srf55vTag(kind, uid));
}

std::unique_ptr<Srf55vTag> Srf55vTag::fromJson(Kind kind, const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    auto result = factoryNew(kind, requiredUid(card, where, UidBytes));
    if (const auto *blocks = member(card, "blocks"))
        result->blocksFromJson(*blocks, where + ".blocks");
    result->takeMemoryChanged();
    return result;
}

std::string Srf55vTag::typeName() const
{
    return m_kind == Kind::V02P ? "srf55v02p" : "srf55v10p";
}

nlohmann::ordered_json Srf55vTag::toJson() const
{
    nlohmann::ordered_json card;
    card["type"] = typeName();
    card["Card"] = {{"UID", toHex(uid())}};
    card["blocks"] = blocksToJson();
    return card;
}

std::unique_ptr<VirtualCard> Srf55vTag::clone() const
{
    return std::unique_ptr<VirtualCard>(new Srf55vTag(*this));
}

int32_t Srf55vTag::read(int page, uint8_t *data) const
{
    if (page < 0 || page >= blockCount())
        return status::WrongParameter;
    std::copy(blockData(page), blockData(page) + PageSize, data);
    return status::Ok;
}

int32_t Srf55vTag::write(int page, const uint8_t *data)
{
    if (page < 0 || page >= blockCount())
        return status::WrongParameter;
    writeBlock(page, data);
    return status::Ok;
}

} // namespace zentrava
