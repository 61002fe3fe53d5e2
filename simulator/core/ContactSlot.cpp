#include "ContactSlot.h"

#include "At24Card.h"
#include "At88sc1608Card.h"
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

At24Card *ContactSlot::poweredAt24() const
{
    auto *card = dynamic_cast<At24Card *>(m_card.get());
    return card && card->powered() ? card : nullptr;
}

At88sc1608Card *ContactSlot::powered1608() const
{
    auto *card = dynamic_cast<At88sc1608Card *>(m_card.get());
    return card && card->powered() ? card : nullptr;
}

int32_t ContactSlot::openCard()
{
    if (!m_card)
        return status::NoCard;
    m_card->setPowered(true);
    return status::Ok;
}

int32_t ContactSlot::at24Read(int32_t address, int32_t count, uint8_t *data)
{
    At24Card *card = poweredAt24();
    return card ? card->read(address, count, data) : status::NoCard;
}

int32_t ContactSlot::at24Write(int32_t address, int32_t count, const uint8_t *data)
{
    At24Card *card = poweredAt24();
    return card ? card->write(address, count, data) : status::NoCard;
}

int32_t ContactSlot::at1608Reset(uint8_t *answer)
{
    auto *card = dynamic_cast<At88sc1608Card *>(m_card.get());
    return card ? card->answerToReset(answer) : status::NoCard;
}

int32_t ContactSlot::at1608Authenticate(const uint8_t *q0AndResponse, const uint8_t *response)
{
    At88sc1608Card *card = powered1608();
    return card ? card->authenticate(q0AndResponse, response) : status::NoCard;
}

int32_t ContactSlot::at1608VerifyPassword(uint8_t index, const uint8_t *password)
{
    At88sc1608Card *card = powered1608();
    return card ? card->verifyPassword(index, password) : status::NoCard;
}

int32_t ContactSlot::at1608Read(uint8_t address, int32_t count, int32_t zone, uint8_t *data)
{
    At88sc1608Card *card = powered1608();
    return card ? card->read(address, count, zone, data) : status::NoCard;
}

int32_t ContactSlot::at1608Write(uint8_t address, int32_t zone, const uint8_t *data, int32_t count)
{
    At88sc1608Card *card = powered1608();
    return card ? card->write(address, zone, data, count) : status::NoCard;
}

int32_t ContactSlot::at1608ReadFuse(uint8_t *fuse)
{
    At88sc1608Card *card = powered1608();
    return card ? card->readFuse(fuse) : status::NoCard;
}

int32_t ContactSlot::at1608BlowFuse()
{
    At88sc1608Card *card = powered1608();
    return card ? card->blowFuse() : status::NoCard;
}

} // namespace zentrava
