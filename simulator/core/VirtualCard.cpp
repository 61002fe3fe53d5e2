#include "VirtualCard.h"

namespace zentrava {

void VirtualCard::setState(CardState state)
{
    if (state != CardState::Active || m_state != CardState::Active)
        endSession();
    m_state = state;
}

bool VirtualCard::takeMemoryChanged()
{
    const bool changed = m_memoryChanged;
    m_memoryChanged = false;
    return changed;
}

int32_t VirtualCard::refuse(int32_t status)
{
    setState(CardState::Idle);
    return status;
}

} // namespace zentrava
