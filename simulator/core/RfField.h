#pragma once

#include "Scenario.h"

#include <algorithm>

namespace zentrava {

// The reader's antenna field and the cards lying in it, top card first. Requests wake the cards
// of the current radio mode; each selection then takes the first card in field order that can
// answer it, as if the operator had laid that card on top.
class RfField {
public:
    // New cards laid on the reader (a scenario loaded): they all start idle.
    void replaceCards(CardList cards);
    const CardList &cards() const { return m_cards; }

    bool antennaOn() const { return m_antennaOn; }
    // Switching the field off powers every card down: they come back idle, halt and
    // authentication forgotten.
    void setAntenna(bool on);
    RadioMode radioMode() const { return m_radioMode; }
    // Changing the modulation resets the field like an antenna cycle.
    void setRadioMode(RadioMode mode);
    // The antenna is on in the given radio mode.
    bool powers(RadioMode mode) const { return m_antennaOn && m_radioMode == mode; }

    // A request in the current radio mode: cards that answer become ready and end any session;
    // halted cards answer only request all. Returns the first card that answered.
    VirtualCard *request(bool wakeHalted);

    // The first card of the given class, in field order, that `accept` takes.
    template <class Card, class Predicate> Card *first(Predicate accept) const
    {
        for (const auto &card : m_cards)
            if (auto *typed = dynamic_cast<Card *>(card.get()); typed && accept(*typed))
                return typed;
        return nullptr;
    }
    template <class Card> Card *first() const
    {
        return first<Card>([](const Card &) { return true; });
    }
    template <class Card, class Predicate> Card *firstReady(Predicate accept) const
    {
        return first<Card>([&](const Card &card) { return card.state() == CardState::Ready && accept(card); });
    }
    template <class Card> Card *firstReady() const
    {
        return firstReady<Card>([](const Card &) { return true; });
    }
    // The card in the contact or SAM slot: the first of the field's list that sits there, when
    // it is of the given class.
    template <class Card = VirtualCard> Card *slotCard(RadioMode slot) const
    {
        for (const auto &card : m_cards)
            if (card->radioMode() == slot)
                return dynamic_cast<Card *>(card.get());
        return nullptr;
    }
    // A tag that answered the last request and is addressed directly by its commands, with no
    // selection of its own (SHC1102, the ST tags): the first of its class that is ready or
    // selected, which becomes the selected card.
    template <class Card> Card *answering()
    {
        Card *tag = first<Card>([](const Card &card) {
            return card.state() == CardState::Ready || card.state() == CardState::Active;
        });
        if (tag)
            activate(tag);
        return tag;
    }
    // The vicinity tag of the given class that carries the 8-byte UID, when the antenna powers
    // the ISO 15693 radio mode.
    template <class Tag> Tag *addressed(const uint8_t *uid) const
    {
        if (!powers(RadioMode::Iso15693))
            return nullptr;
        return first<Tag>([uid](const Tag &tag) { return std::equal(uid, uid + 8, tag.uid().begin()); });
    }
    // The selected card in the field (never a slot's) when it is of the given class.
    template <class Card> Card *active() const { return dynamic_cast<Card *>(activeCard()); }
    VirtualCard *activeCard() const;
    // Selects a card; a card selected before goes back to idle.
    void activate(VirtualCard *card);

    // True when any card's memory changed since the last call.
    bool takeMemoryChanged();

private:
    void resetCards();

    CardList m_cards;
    bool m_antennaOn = true;
    RadioMode m_radioMode = RadioMode::Iso14443A;
};

} // namespace zentrava
