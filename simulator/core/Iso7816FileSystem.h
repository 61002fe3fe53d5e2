#pragma once

#include "HexText.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zentrava {

// The files of a processor card's small application: transparent elementary files directly
// under the master file (3F00) and in dedicated files (applications) that have a name (AID) and
// a file identifier.
class Iso7816FileSystem {
public:
    static constexpr uint16_t MasterFileId = 0x3F00;
    static constexpr std::size_t MaxFileSize = 0x7FFF; // the largest offset READ BINARY can reach

    struct File {
        Bytes data;
        bool readOnly = false;
    };
    using Files = std::map<uint16_t, File>;
    struct Application {
        Bytes aid;
        uint16_t fileId = 0;
        Files files;
    };

    Files masterFiles;
    std::vector<Application> applications;

    // What our card application holds out of the box: a read-only card text under the master
    // file and one application with a holder record and a free record.
    static Iso7816FileSystem demoContent(const std::string &cardText);

    // "files": {"0001": "hex" or {"data": "hex", "readOnly": true}},
    // "applications": [{"AID": "hex", "FID": "1001", "files": {...}}]
    void writeJson(nlohmann::ordered_json &card) const;
    static Iso7816FileSystem fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::vector<std::string> dumpLines() const;
};

} // namespace zentrava
