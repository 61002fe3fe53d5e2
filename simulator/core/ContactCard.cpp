#include "ContactCard.h"

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

} // namespace zentrava
