#include "Iso7816FileSystem.h"

#include "JsonFields.h"
#include "ScenarioError.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace zentrava {

namespace {

std::string fileIdText(uint16_t id)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", id);
    return text;
}

Bytes textBytes(const std::string &text, std::size_t size)
{
    Bytes bytes(text.begin(), text.end());
    bytes.resize(size, 0);
    return bytes;
}

nlohmann::ordered_json filesToJson(const Iso7816FileSystem::Files &files)
{
    nlohmann::ordered_json result = nlohmann::ordered_json::object();
    for (const auto &[id, file] : files) {
        if (file.readOnly)
            result[fileIdText(id)] = {{"data", toHex(file.data)}, {"readOnly", true}};
        else
            result[fileIdText(id)] = toHex(file.data);
    }
    return result;
}

Iso7816FileSystem::Files filesFromJson(const nlohmann::ordered_json &files, const std::string &where)
{
    using namespace jsonfields;
    requireObject(files, where);
    Iso7816FileSystem::Files result;
    for (const auto &[key, value] : files.items()) {
        const std::string place = where + "." + key;
        const uint16_t id = fileIdValue(key, where);
        if (id == Iso7816FileSystem::MasterFileId || id == 0xFFFF)
            throw ScenarioError(place + ": 3F00 and FFFF cannot name an elementary file");
        Iso7816FileSystem::File file;
        if (value.is_object()) {
            const auto *data = member(value, "data");
            if (!data)
                throw ScenarioError(place + ": needs \"data\"");
            file.data = hexValue(*data, place + ".data");
            if (const auto *readOnly = member(value, "readOnly"))
                file.readOnly = boolValue(*readOnly, place + ".readOnly");
        } else {
            file.data = hexValue(value, place);
        }
        if (file.data.size() > Iso7816FileSystem::MaxFileSize)
            throw ScenarioError(place + ": a file holds at most 32767 bytes");
        result[id] = std::move(file);
    }
    return result;
}

} // namespace

Iso7816FileSystem Iso7816FileSystem::demoContent(const std::string &cardText)
{
    Iso7816FileSystem fileSystem;
    fileSystem.masterFiles[0x0001] = File{textBytes(cardText, cardText.size()), true};
    Application application;
    application.aid = {0xF0, 0x5A, 0x53, 0x49, 0x4D, 0x01};
    application.fileId = 0x1001;
    application.files[0x0001] = File{textBytes("HOLDER: VORNEX DEMO", 32), false};
    application.files[0x0002] = File{Bytes(16, 0), false};
    fileSystem.applications.push_back(std::move(application));
    return fileSystem;
}

void Iso7816FileSystem::writeJson(nlohmann::ordered_json &card) const
{
    card["files"] = filesToJson(masterFiles);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Application &application : applications)
        list.push_back({{"AID", toHex(application.aid)},
                        {"FID", fileIdText(application.fileId)},
                        {"files", filesToJson(application.files)}});
    card["applications"] = list;
}

Iso7816FileSystem Iso7816FileSystem::fromJson(const nlohmann::ordered_json &card, const std::string &where)
{
    using namespace jsonfields;
    Iso7816FileSystem fileSystem;
    if (const auto *files = member(card, "files"))
        fileSystem.masterFiles = filesFromJson(*files, where + ".files");
    if (const auto *list = member(card, "applications")) {
        requireArray(*list, where + ".applications");
        for (std::size_t i = 0; i < list->size(); ++i) {
            const std::string place = where + ".applications[" + std::to_string(i) + "]";
            const auto &entry = requireObject((*list)[i], place);
            Application application;
            const auto *aid = member(entry, "AID");
            const auto *fid = member(entry, "FID");
            if (!aid || !fid)
                throw ScenarioError(place + ": needs \"AID\" and \"FID\"");
            application.aid = hexValue(*aid, place + ".AID");
            if (application.aid.size() < 5 || application.aid.size() > 16)
                throw ScenarioError(place + ".AID: an application name has 5 to 16 bytes");
            application.fileId = fileIdValue(stringValue(*fid, place + ".FID"), place + ".FID");
            bool taken = application.fileId == MasterFileId || fileSystem.masterFiles.count(application.fileId);
            for (const Application &other : fileSystem.applications)
                taken = taken || other.fileId == application.fileId;
            if (taken)
                throw ScenarioError(place + ".FID: already used by another file");
            if (const auto *files = member(entry, "files"))
                application.files = filesFromJson(*files, place + ".files");
            fileSystem.applications.push_back(std::move(application));
        }
    }
    return fileSystem;
}

std::vector<std::string> Iso7816FileSystem::dumpLines() const
{
    std::vector<std::string> lines;
    const auto addFiles = [&lines](const std::string &prefix, const Files &files) {
        for (const auto &[id, file] : files)
            lines.push_back(prefix + fileIdText(id) + (file.readOnly ? " (read-only)  " : "  ") +
                            toHex(file.data));
    };
    addFiles("3F00/", masterFiles);
    for (const Application &application : applications) {
        lines.push_back(fileIdText(application.fileId) + "  application " + toHex(application.aid));
        addFiles(fileIdText(application.fileId) + "/", application.files);
    }
    return lines;
}

} // namespace zentrava
