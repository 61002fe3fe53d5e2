#include "RfField.h"

namespace zentrava {

void RfField::replaceCards(CardList cards)
{
    m_cards = std::move(cards);
    resetCards();
}

void RfField::resetCards()
{
    for (auto &card : m_cards)
        if (!isSlot(card->radioMode()))
            card->setState(CardState::Idle);
}

void RfField::setAntenna(bool on)
{
    if (!on)
        resetCards();
    m_antennaOn = on;
}

void RfField::setRadioMode(RadioMode mode)
{
    resetCards();
    m_radioMode = mode;
}

VirtualCard *RfField::request(bool wakeHalted)
{
    if (!m_antennaOn)
        return nullptr;
    // Vicinity tags answer the inventory, never a request.
    if (m_radioMode == RadioMode::Iso15693)
        return nullptr;
    VirtualCard *first = nullptr;
    for (auto &card : m_cards) {
        if (card->radioMode() != m_radioMode)
            continue;
        if (card->state() == CardState::Halted && !wakeHalted)
            continue;
        card->setState(CardState::Ready);
        if (!first)
            first = card.get();
    }
    return first;
}

VirtualCard *RfField::activeCard() const
{
    for (const auto &card : m_cards)
        if (card->state() == CardState::Active && !isSlot(card->radioMode()))
            return card.get();
    return nullptr;
}

void RfField::activate(VirtualCard *card)
{
    if (card->state() == CardState::Active)
        return;
    if (VirtualCard *previous = activeCard())
        previous->setState(CardState::Idle);
    card->setState(CardState::Active);
}

bool RfField::takeMemoryChanged()
{
    bool changed = false;
    for (auto &card : m_cards)
        changed = card->takeMemoryChanged() || changed;
    return changed;
}

} // namespace zentrava
