#pragma once

#include "Scenario.h"

#include <cstdint>
#include <string>

namespace zentrava {

// The scenario file on disk: where it lives, whether it changed since we last looked, and
// reading and atomic writing.
class ScenarioFile {
public:
    // What tells one version of the file from another. A replacement by rename always changes
    // the inode, so a write from the tool is noticed even within the same second.
    struct Stamp {
        bool exists = false;
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t size = 0;
        int64_t modifiedNs = 0;
        bool operator==(const Stamp &) const = default;
    };

    // $ZENTRAVA_SCENARIO when set, else $XDG_CONFIG_HOME/Zentrava/scenario.json, else
    // ~/.config/Zentrava/scenario.json. Empty when there is no home to put it in.
    static std::string defaultLocation();

    explicit ScenarioFile(std::string path) : m_path(std::move(path)) {}
    const std::string &path() const { return m_path; }

    Stamp stamp() const;
    // Throws ScenarioError naming the file: unreadable, too large, not JSON or impossible cards.
    Scenario load() const;
    // Writes a temporary file beside the target and renames it over the target, so a reader
    // never sees half a file. Creates the folder when asked. Throws ScenarioError on failure.
    void save(const std::string &text, bool createFolder = false) const;

private:
    std::string m_path;
};

} // namespace zentrava
