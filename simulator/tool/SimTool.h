#pragma once

#include "Scenario.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace zentrava {

// The zentrava-sim command line: shows and changes the scenario file that the simulated reader
// reads, so that an operator can lay cards on the reader and take them off while Vornex runs.
class SimTool {
public:
    SimTool(std::ostream &out, std::ostream &err) : m_out(out), m_err(err) {}
    // The process's exit code: 0 done, 1 failed (the message is on err), 2 wrong usage.
    int run(const std::vector<std::string> &arguments);

    static std::string helpText();

private:
    int show();
    int types();
    int init(const std::vector<std::string> &arguments);
    int place(const std::vector<std::string> &arguments);
    int remove(const std::vector<std::string> &arguments);
    int dump(const std::vector<std::string> &arguments);
    int exportMemory(const std::vector<std::string> &arguments);
    int importMemory(const std::vector<std::string> &arguments);
    int setPort(const std::vector<std::string> &arguments);
    int setBaud(const std::vector<std::string> &arguments);
    // A setting that is `onWord` or off (writeback on|off, timing real|off).
    int setSwitch(const std::vector<std::string> &arguments, const char *command, const char *onWord,
                  bool ReaderSettings::*setting, const std::string &what);
    // Loads the scenario, changes the reader's settings, saves it and says `done`.
    int changeReader(const std::function<void(ReaderSettings &)> &change, const std::string &done);
    int clear();
    int fault(const std::vector<std::string> &arguments);
    int servePcsc(const std::vector<std::string> &arguments);

    // The scenario file's content, or the built-in default when there is no file. Throws
    // ScenarioError for a file that cannot be used.
    void loadScenario();
    void saveScenario();
    // A card by its number in "show" (1 is the top card) or by its serial number; throws
    // std::runtime_error when there is no such card.
    std::size_t findCard(const std::string &reference) const;
    int usage(const std::string &problem);

    std::ostream &m_out;
    std::ostream &m_err;
    std::string m_path;
    bool m_fileExists = false;
    Scenario m_scenario;
};

} // namespace zentrava
