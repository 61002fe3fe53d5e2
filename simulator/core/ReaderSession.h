#pragma once

#include "FaultPlan.h"
#include "ReaderCommands.h"
#include "ScenarioFile.h"
#include "SimulatedReader.h"
#include "StatusCode.h"
#include "WriteTear.h"

#include "reader/ReaderFunctions.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace zentrava {

// A session with the simulated reader: every call of a reader function runs through it,
// whichever door it comes by (the library's exported entry points, or a server in the same
// process). Before each call it brings the reader up to date with the scenario file (another
// card laid on the reader); the operator's faults decide whether the call reaches the reader (a
// time-out, a forced status), tear the write it makes and count it towards the cards leaving the
// field; after it, changed card memory and settings are written back when the file allows.
// Calls from several threads take turns.
class ReaderSession {
public:
    // A reader function with the parameters of the one list: refused when it needs the open port
    // and the port is closed, when it names another device than index 0 or when a buffer is
    // missing; otherwise its command (ReaderCommands.h) answers.
    template <ReaderFunction F, class... Args> int32_t call(Args... args)
    {
        return run<F>([&](SimulatedReader &reader) -> int32_t {
            if (needsOpenPort(F) && !reader.device.portOpen)
                return status::PortNotOpen;
            if constexpr (ReaderFunctionInfo<F>::addressesDevice)
                return onDevice<F>(reader, args...);
            else
                return given(args...) ? ReaderCommand<F>::run(reader, args...) : status::WrongParameter;
        });
    }

    // The one place every call of F passes: the scenario brought up to date, the faults applied,
    // `command` run on the reader, what it changed written back.
    template <ReaderFunction F, class Command> int32_t run(Command command)
    {
        const std::lock_guard<std::recursive_mutex> turn(m_lock);
        syncScenario();
        if (const auto forced = m_faults.forcedStatus(ReaderFunctionInfo<F>::name))
            return afterCall(*forced, false);
        const WriteTear::Scope tear(m_faults.tearBytes());
        const int32_t result = command(m_reader);
        return afterCall(result, tear.torn());
    }

    // The reader for a door whose one operation is several calls: no other thread calls while
    // the returned lock is held; the holder's own calls go on.
    std::unique_lock<std::recursive_mutex> hold() { return std::unique_lock<std::recursive_mutex>(m_lock); }

private:
    template <ReaderFunction F, class... Rest> static int32_t onDevice(SimulatedReader &reader, uint16_t icdev, Rest... rest)
    {
        // One reader on the line, device index 0.
        if (icdev != 0 || !given(rest...))
            return status::WrongParameter;
        return ReaderCommand<F>::run(reader, rest...);
    }
    template <class T> static bool present(T value)
    {
        if constexpr (std::is_pointer_v<T>)
            return value != nullptr;
        else
            return true;
    }
    template <class... Args> static bool given(Args... args) { return (present(args) && ...); }

    void syncScenario();
    // Applies the tear and the count of the call that ended, then writes back; passes the status
    // through.
    int32_t afterCall(int32_t result, bool torn);
    // Writes changed memory, settings and fault counts back.
    void writeBack();
    // The operator took every card off the reader (the SAM stays in its slot inside it).
    void takeCardsAway();
    void layCardsBack();
    void adoptFaults(const std::vector<ReaderFault> &faults);
    // The file read anew differs from the reader's own state in its faults only.
    bool onlyFaultsDiffer(const Scenario &scenario) const;
    // The cards of the scenario, those taken away included, for writing it back.
    CardList cardsOfScenario() const;
    std::string serializedState(const std::vector<ReaderFault> &faults = {}) const;

    std::recursive_mutex m_lock;
    SimulatedReader m_reader;
    FaultPlan m_faults;
    // Cards taken away, by their place in the field list, and the contact slot's.
    std::vector<std::pair<std::size_t, std::unique_ptr<VirtualCard>>> m_awayCards;
    std::unique_ptr<ContactCard> m_awayContactCard;
    bool m_cardsAway = false;
    bool m_loaded = false;
    std::string m_scenarioPath;
    ScenarioFile::Stamp m_stamp;
    bool m_writeBack = false;
};

} // namespace zentrava
