#include "FaultPlan.h"

#include "StatusCode.h"

#include <algorithm>

namespace zentrava {

void FaultPlan::adopt(const std::vector<ReaderFault> &fromFile)
{
    std::vector<ReaderFault> next;
    for (const ReaderFault &fault : fromFile) {
        if (!fault.id.empty() && m_spentIds.count(fault.id))
            continue;
        const auto running = std::find_if(m_faults.begin(), m_faults.end(), [&](const ReaderFault &known) {
            return !fault.id.empty() && known.id == fault.id;
        });
        next.push_back(running != m_faults.end() ? *running : fault);
        // A fault written by hand gets its id here, and keeps it once the file is written back.
        if (next.back().id.empty()) {
            next.back().id = ReaderFault::newId();
            m_changed = true;
        }
    }
    m_changed = m_changed || next.size() != fromFile.size();
    m_faults = std::move(next);
}

std::optional<int32_t> FaultPlan::forcedStatus(std::string_view function)
{
    for (std::size_t i = 0; i < m_faults.size(); ++i) {
        if (m_faults[i].kind == ReaderFault::Kind::Timeout)
            return status::TimedOut;
    }
    for (std::size_t i = 0; i < m_faults.size(); ++i) {
        ReaderFault &fault = m_faults[i];
        if (fault.kind != ReaderFault::Kind::Force || fault.function != function)
            continue;
        const int32_t forced = fault.status;
        m_changed = true;
        if (--fault.calls <= 0)
            spend(i);
        return forced;
    }
    return std::nullopt;
}

std::optional<std::size_t> FaultPlan::tearBytes() const
{
    for (const ReaderFault &fault : m_faults)
        if (fault.kind == ReaderFault::Kind::Tear)
            return static_cast<std::size_t>(fault.bytes);
    return std::nullopt;
}

void FaultPlan::tearSpent()
{
    for (std::size_t i = 0; i < m_faults.size(); ++i) {
        if (m_faults[i].kind == ReaderFault::Kind::Tear) {
            spend(i);
            m_changed = true;
            return;
        }
    }
}

bool FaultPlan::countCall()
{
    for (ReaderFault &fault : m_faults) {
        if (fault.kind == ReaderFault::Kind::LeaveAfter && fault.calls > 0) {
            m_changed = true;
            return --fault.calls == 0;
        }
    }
    return false;
}

bool FaultPlan::cardsAway() const
{
    return std::any_of(m_faults.begin(), m_faults.end(), [](const ReaderFault &fault) {
        return fault.kind == ReaderFault::Kind::LeaveAfter && fault.calls == 0;
    });
}

bool FaultPlan::takeChanged()
{
    const bool changed = m_changed;
    m_changed = false;
    return changed;
}

void FaultPlan::spend(std::size_t index)
{
    if (!m_faults[index].id.empty())
        m_spentIds.insert(m_faults[index].id);
    m_faults.erase(m_faults.begin() + static_cast<long>(index));
}

} // namespace zentrava
