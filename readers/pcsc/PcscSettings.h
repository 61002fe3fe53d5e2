#pragma once

// Which PC/SC readers serve the contact slot and the SAM slot, and how long a request waits for a
// card: read from a small settings file and the environment at every rf_init_com, so that a
// change takes effect at the next Connect.
//
//     # ~/.config/Zentrava/pcsc.conf
//     contact = 2            # the second reader in pcscd's order
//     sam = SAM              # the first reader whose name holds "SAM" (case does not matter)
//     card-wait-ms = 2000    # how long a request waits for a card to be laid on (0 to 5000)
//     key-slot = 0           # the reader's key slot for LOAD KEYS and GENERAL AUTHENTICATE
//     answer-wait-ms = 5000  # how long a call waits for pcscd's answer (500 to 60000)
//
// ZENTRAVA_PCSC_CONTACT, ZENTRAVA_PCSC_SAM, ZENTRAVA_PCSC_CARD_WAIT_MS, ZENTRAVA_PCSC_KEY_SLOT
// and ZENTRAVA_PCSC_ANSWER_WAIT_MS override the file's lines; ZENTRAVA_PCSC_SETTINGS names
// another file.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A reader chosen by its position in pcscd's list (1 first) or by a part of its name; neither
// given means the default position.
struct ReaderChoice {
    int position = 0;
    std::string namePart;
};

struct PcscSettings {
    ReaderChoice contact; // default: the reader after the contactless one
    ReaderChoice sam;     // default: the reader after the contact one
    int cardWaitMs = 2000;
    uint8_t keySlot = 0;
    int answerWaitMs = 5000; // how long a call waits for pcscd's answer
};

inline constexpr int MaxCardWaitMs = 5000;
inline constexpr int MinAnswerWaitMs = 500;
inline constexpr int MaxAnswerWaitMs = 60000;

// The settings from the file's text, then the environment (`variable` answers null for a
// variable that is not set). Lines it does not understand keep the defaults.
PcscSettings ParsePcscSettings(const std::string &fileText,
                               const std::function<std::optional<std::string>(const char *)> &variable);
// The settings of this process: its file and its environment.
PcscSettings LoadPcscSettings();

// The index in `readers` of the reader `choice` names, `defaultIndex` when it names none; null
// when there is no such reader.
std::optional<std::size_t> ChooseReader(const std::vector<std::string> &readers, const ReaderChoice &choice,
                                        std::size_t defaultIndex);
