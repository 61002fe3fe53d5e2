#pragma once

#include "ContactCard.h"

#include <cstdint>
#include <memory>

namespace zentrava {

// The reader's contact slot and the one memory card in it. A command reaches the card only when
// it is of the command's kind and powered (OpenCard, or the AT88SC1608's reset); otherwise no
// card answers.
class ContactSlot {
public:
    void replaceCard(std::unique_ptr<ContactCard> card);
    const ContactCard *card() const { return m_card.get(); }
    bool takeMemoryChanged();

    // Powers the card, if there is one.
    int32_t openCard();
    // The card when it is of the given class.
    template <class Card> Card *holding() const { return dynamic_cast<Card *>(m_card.get()); }
    // The same, once it is powered.
    template <class Card> Card *powered() const
    {
        Card *card = holding<Card>();
        return card && card->powered() ? card : nullptr;
    }

private:
    std::unique_ptr<ContactCard> m_card;
};

} // namespace zentrava
