#include "ContactSlot.h"

#include "StatusCode.h"

namespace zentrava {

void ContactSlot::replaceCard(std::unique_ptr<ContactCard> card)
{
    m_card = std::move(card);
}

bool ContactSlot::takeMemoryChanged()
{
    return m_card && m_card->takeMemoryChanged();
}

int32_t ContactSlot::openCard()
{
    if (!m_card)
        return status::NoCard;
    m_card->setPowered(true);
    return status::Ok;
}

} // namespace zentrava
