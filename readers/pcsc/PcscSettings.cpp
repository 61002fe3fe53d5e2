#include "PcscSettings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::optional<int> number(const std::string &text, int low, int high)
{
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

void apply(PcscSettings &settings, const std::string &key, const std::string &value)
{
    if (key == "contact" || key == "sam") {
        if (value.empty())
            return;
        ReaderChoice choice;
        if (const auto position = number(value, 1, 1000))
            choice.position = *position;
        else
            choice.namePart = value;
        (key == "contact" ? settings.contact : settings.sam) = choice;
    } else if (key == "card-wait-ms") {
        if (const auto wait = number(value, 0, MaxCardWaitMs))
            settings.cardWaitMs = *wait;
    } else if (key == "answer-wait-ms") {
        if (const auto wait = number(value, MinAnswerWaitMs, MaxAnswerWaitMs))
            settings.answerWaitMs = *wait;
    } else if (key == "key-slot") {
        if (const auto slot = number(value, 0, 255))
            settings.keySlot = uint8_t(*slot);
    }
}

std::optional<std::string> environmentVariable(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::string settingsPath()
{
    if (const auto path = environmentVariable("ZENTRAVA_PCSC_SETTINGS"))
        return *path;
#ifdef _WIN32
    if (const auto appData = environmentVariable("APPDATA"))
        return *appData + "\\Zentrava\\pcsc.conf";
#else
    if (const auto config = environmentVariable("XDG_CONFIG_HOME"); config && !config->empty())
        return *config + "/Zentrava/pcsc.conf";
    if (const auto home = environmentVariable("HOME"))
        return *home + "/.config/Zentrava/pcsc.conf";
#endif
    return {};
}

} // namespace

PcscSettings ParsePcscSettings(const std::string &fileText,
                               const std::function<std::optional<std::string>(const char *)> &variable)
{
    PcscSettings settings;
    std::istringstream lines(fileText);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('#'));
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            apply(settings, folded(trimmed(line.substr(0, equals))), trimmed(line.substr(equals + 1)));
    }
    static const struct {
        const char *variable;
        const char *key;
    } overrides[] = {{"ZENTRAVA_PCSC_CONTACT", "contact"},
                     {"ZENTRAVA_PCSC_SAM", "sam"},
                     {"ZENTRAVA_PCSC_CARD_WAIT_MS", "card-wait-ms"},
                     {"ZENTRAVA_PCSC_KEY_SLOT", "key-slot"},
                     {"ZENTRAVA_PCSC_ANSWER_WAIT_MS", "answer-wait-ms"}};
    for (const auto &override : overrides)
        if (const auto value = variable(override.variable))
            apply(settings, override.key, trimmed(*value));
    return settings;
}

PcscSettings LoadPcscSettings()
{
    std::string text;
    if (const std::string path = settingsPath(); !path.empty()) {
        std::ifstream file(path);
        // A settings file is a few lines; anything larger is not one.
        constexpr std::size_t MaxBytes = 64 * 1024;
        text.resize(MaxBytes);
        file.read(text.data(), std::streamsize(MaxBytes));
        text.resize(std::size_t(std::max<std::streamsize>(file.gcount(), 0)));
    }
    return ParsePcscSettings(text, environmentVariable);
}

std::optional<std::size_t> ChooseReader(const std::vector<std::string> &readers, const ReaderChoice &choice,
                                        std::size_t defaultIndex)
{
    if (!choice.namePart.empty()) {
        const std::string part = folded(choice.namePart);
        for (std::size_t i = 0; i < readers.size(); ++i)
            if (folded(readers[i]).find(part) != std::string::npos)
                return i;
        return std::nullopt;
    }
    const std::size_t index = choice.position > 0 ? std::size_t(choice.position - 1) : defaultIndex;
    return index < readers.size() ? std::optional<std::size_t>(index) : std::nullopt;
}
