#pragma once

#include "ContactCard.h"

#include <cstdint>
#include <memory>

namespace zentrava {

class At24Card;
class At88sc1608Card;

// The reader's contact slot and the one card in it. A command reaches the card only when it is
// of the command's kind and powered (OpenCard, or the AT88SC1608's reset); otherwise no card
// answers.
class ContactSlot {
public:
    void replaceCard(std::unique_ptr<ContactCard> card);
    const ContactCard *card() const { return m_card.get(); }
    bool takeMemoryChanged();

    int32_t openCard();
    int32_t at24Read(int32_t address, int32_t count, uint8_t *data);
    int32_t at24Write(int32_t address, int32_t count, const uint8_t *data);
    int32_t at1608Reset(uint8_t *answer);
    int32_t at1608Authenticate(const uint8_t *q0AndResponse, const uint8_t *response);
    int32_t at1608VerifyPassword(uint8_t index, const uint8_t *password);
    int32_t at1608Read(uint8_t address, int32_t count, int32_t zone, uint8_t *data);
    int32_t at1608Write(uint8_t address, int32_t zone, const uint8_t *data, int32_t count);
    int32_t at1608ReadFuse(uint8_t *fuse);
    int32_t at1608BlowFuse();

private:
    At24Card *poweredAt24() const;
    At88sc1608Card *powered1608() const;

    std::unique_ptr<ContactCard> m_card;
};

} // namespace zentrava
