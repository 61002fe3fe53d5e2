#include "ContactCard.h"

#include "At24Card.h"
#include "At88sc1608Card.h"
#include "JsonFields.h"
#include "ScenarioError.h"

#include <nlohmann/json.hpp>

namespace zentrava {

void ContactCard::setPowered(bool on)
{
    m_powered = on;
    endSession();
}

bool ContactCard::takeMemoryChanged()
{
    const bool changed = m_memoryChanged;
    m_memoryChanged = false;
    return changed;
}

std::unique_ptr<ContactCard> ContactCard::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    jsonfields::requireObject(card, where);
    const auto *typeName = jsonfields::member(card, "type");
    if (!typeName)
        throw ScenarioError(where + ": needs a \"type\"");
    const std::string name = jsonfields::stringValue(*typeName, where + ".type");
    if (const At24Card::Chip *chip = At24Card::findChip(name))
        return At24Card::fromJson(*chip, card, where);
    if (name == At88sc1608Card::TypeName)
        return At88sc1608Card::fromJson(card, where);
    throw ScenarioError(where + ".type: unknown contact card type \"" + name.substr(0, 40) + "\"");
}

} // namespace zentrava
