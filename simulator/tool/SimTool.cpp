#include "SimTool.h"

#include "BlockMemoryCard.h"
#include "CardCatalogue.h"
#include "MemoryDump.h"
#include "ScenarioError.h"
#include "ScenarioFile.h"

#include <algorithm>
#include <charconv>
#include <iomanip>
#include <ostream>
#include <stdexcept>

namespace zentrava {

namespace {

// A status as the program shows it: hexadecimal, "0x" allowed, never 0.
std::optional<int32_t> parseStatus(std::string text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 || value > 0x7FFFFFFF)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<int> parseNumber(const std::string &text, int min, int max)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

BlockMemoryCard &memoryCard(VirtualCard &card)
{
    auto *memory = dynamic_cast<BlockMemoryCard *>(&card);
    if (!memory)
        throw std::runtime_error("a " + card.typeName() +
                                 " card keeps files, not a memory image: edit its files in the scenario file");
    return *memory;
}

} // namespace

std::string SimTool::helpText()
{
    std::string text =
        "Usage: zentrava-sim [--scenario FILE] COMMAND [ARGUMENTS]\n"
        "\n"
        "Shows and changes the scenario of the simulated reader (libZentrava.so): the reader's\n"
        "settings and the virtual cards lying in its field, top card first. The library reads the\n"
        "changed file at the next rf_init_com, request or card command.\n"
        "\n"
        "Commands:\n"
        "  show                      the scenario file, the reader and the cards in the field\n"
        "  types                     the card types that can be placed\n"
        "  init [--force]            write the built-in default scenario to the scenario file\n"
        "                            (--force replaces an existing file)\n"
        "  place TYPE [--uid HEX] [--from DUMP] [--at N]\n"
        "                            lay a new card on the reader: on top, or at position N\n"
        "                            (1 = top); with a random serial number unless --uid gives\n"
        "                            one; --from fills a memory card from a .bin/.mfd/.eml dump.\n"
        "                            A contact-slot card (at24c01 ... at88sc1608) replaces the\n"
        "                            slot's card and takes none of the options\n"
        "  remove CARD               take a card off the reader\n"
        "  clear                     take every card off the reader\n"
        "  dump CARD                 print the card's memory, one block, page or file per line\n"
        "  export CARD FILE          save a Mifare, UltraLight or SHC1102 memory image:\n"
        "                            raw binary (.bin, .mfd) or one hex line per block (.eml)\n"
        "  import CARD FILE          replace a card's memory with such an image; the serial\n"
        "                            number follows the image\n"
        "  port N                    attach the reader to COMn (1 to 8)\n"
        "  writeback on|off          whether the library writes card changes back to the file\n"
        "  fault [list]              the faults armed in the reader, with their counts as the\n"
        "                            library last wrote them\n"
        "  fault leave-after N       every card leaves the field after the next N library calls\n"
        "                            (0: at once) and stays away until 'fault clear'\n"
        "  fault tear K              the next write to a card lands only its first K bytes (the\n"
        "                            rest keeps the old ones) and answers 01, no card\n"
        "  fault timeout             the reader answers no call: each answers 0B, time-out\n"
        "  fault force FUNCTION STATUS [N]\n"
        "                            the next N calls (1 when not given) of FUNCTION, named as\n"
        "                            the program logs it (rf_M1_read), answer STATUS (hex)\n"
        "  fault clear               end every fault; cards taken away lie in the field again\n"
        "  help, --help              this text\n"
        "\n"
        "CARD is the card's position in `show` (1 = top card) or its serial number in hex.\n"
        "\n"
        "Card types:\n";
    const auto list = [&text](const auto &types) {
        for (const auto &type : types) {
            std::string names = type.name;
            for (const auto &alias : type.aliases)
                names += ", " + alias;
            text += "  " + names + std::string(names.size() < 26 ? 26 - names.size() : 1, ' ') + type.description + "\n";
        }
    };
    list(CardCatalogue::types());
    text += "\nContact-slot cards:\n";
    list(CardCatalogue::contactTypes());
    text +=
        "\n"
        "Scenario file: --scenario FILE, else $ZENTRAVA_SCENARIO, else\n"
        "$XDG_CONFIG_HOME/Zentrava/scenario.json, else ~/.config/Zentrava/scenario.json.\n"
        "Without a file the reader uses the built-in default scenario; every command that changes\n"
        "something starts from it and writes the file, which the library then keeps up to date.\n"
        "\n"
        "Exit status: 0 done, 1 failed (unusable scenario file, unknown card, unreadable dump),\n"
        "2 wrong usage.\n";
    return text;
}

int SimTool::usage(const std::string &problem)
{
    m_err << "zentrava-sim: " << problem << "\nTry 'zentrava-sim --help'.\n";
    return 2;
}

int SimTool::run(const std::vector<std::string> &arguments)
{
    m_path = ScenarioFile::defaultLocation();
    std::size_t next = 0;
    while (next < arguments.size() && arguments[next].size() > 1 && arguments[next][0] == '-') {
        const std::string &option = arguments[next];
        if (option == "--help" || option == "-h") {
            m_out << helpText();
            return 0;
        }
        if (option != "--scenario")
            return usage("unknown option " + option);
        if (next + 1 >= arguments.size())
            return usage("--scenario needs a file name");
        m_path = arguments[next + 1];
        next += 2;
    }
    if (next >= arguments.size())
        return usage("no command given");
    const std::string command = arguments[next];
    const std::vector<std::string> rest(arguments.begin() + static_cast<long>(next) + 1, arguments.end());
    if (command == "help") {
        m_out << helpText();
        return 0;
    }
    if (m_path.empty()) {
        m_err << "zentrava-sim: no place for the scenario file: set ZENTRAVA_SCENARIO or HOME\n";
        return 1;
    }
    try {
        if (command == "show" && rest.empty())
            return show();
        if (command == "types" && rest.empty())
            return types();
        if (command == "clear" && rest.empty())
            return clear();
        if (command == "init")
            return init(rest);
        if (command == "place")
            return place(rest);
        if (command == "remove")
            return remove(rest);
        if (command == "dump")
            return dump(rest);
        if (command == "export")
            return exportMemory(rest);
        if (command == "import")
            return importMemory(rest);
        if (command == "port")
            return setPort(rest);
        if (command == "writeback")
            return setWriteBack(rest);
        if (command == "fault")
            return fault(rest);
        if (command == "show" || command == "types" || command == "clear")
            return usage(command + " takes no arguments");
        return usage("unknown command " + command);
    } catch (const std::exception &error) {
        m_err << "zentrava-sim: " << error.what() << "\n";
        return 1;
    }
}

void SimTool::loadScenario()
{
    const ScenarioFile file(m_path);
    m_fileExists = file.stamp().exists;
    m_scenario = m_fileExists ? file.load() : Scenario::builtInDefault();
}

void SimTool::saveScenario()
{
    ScenarioFile(m_path).save(m_scenario.serialize(), true);
}

std::size_t SimTool::findCard(const std::string &reference) const
{
    const auto &field = m_scenario.field;
    if (reference.size() <= 3) {
        if (const auto position = parseNumber(reference, 1, 999)) {
            if (static_cast<std::size_t>(*position) > field.size())
                throw std::runtime_error("there is no card " + reference + " in the field (" +
                                         std::to_string(field.size()) + " cards)");
            return static_cast<std::size_t>(*position) - 1;
        }
    }
    const auto serial = fromHex(reference);
    if (serial) {
        for (std::size_t i = 0; i < field.size(); ++i)
            if (field[i]->uid() == *serial)
                return i;
    }
    throw std::runtime_error("there is no card " + reference + " in the field");
}

int SimTool::show()
{
    loadScenario();
    const ReaderSettings &reader = m_scenario.reader;
    m_out << "Scenario file: " << m_path << "\n";
    if (!m_fileExists)
        m_out << "  (no such file: the reader uses the built-in default scenario and keeps card changes only while it runs)\n";
    const uint8_t deviceNumber[2] = {static_cast<uint8_t>(reader.deviceNumber),
                                     static_cast<uint8_t>(reader.deviceNumber >> 8)};
    m_out << "Reader: COM" << reader.port << ", model \"" << reader.model << "\", library version "
          << reader.libraryVersion << ", device number " << toHex(deviceNumber, 2) << ", clock offset "
          << reader.clockOffsetSeconds << " s, write back " << (reader.writeBack ? "on" : "off") << "\n";
    m_out << "Field, top card first:\n";
    if (m_scenario.field.empty())
        m_out << "  (no cards)\n";
    for (std::size_t i = 0; i < m_scenario.field.size(); ++i) {
        const auto &card = *m_scenario.field[i];
        m_out << "  " << std::setw(2) << i + 1 << "  " << std::left << std::setw(11) << card.typeName()
              << std::right << " " << toHex(card.uid()) << "\n";
    }
    m_out << "Contact slot: " << (m_scenario.contactSlot ? m_scenario.contactSlot->typeName() : "(empty)") << "\n";
    return 0;
}

int SimTool::types()
{
    const auto list = [this](const auto &types) {
        for (const auto &type : types)
            m_out << std::left << std::setw(11) << type.name << std::right << " " << type.description << "\n";
    };
    list(CardCatalogue::types());
    list(CardCatalogue::contactTypes());
    return 0;
}

int SimTool::init(const std::vector<std::string> &arguments)
{
    const bool force = arguments.size() == 1 && arguments[0] == "--force";
    if (!arguments.empty() && !force)
        return usage("init takes only --force");
    if (ScenarioFile(m_path).stamp().exists && !force) {
        m_err << "zentrava-sim: " << m_path << " already exists (init --force replaces it)\n";
        return 1;
    }
    m_scenario = Scenario::builtInDefault();
    saveScenario();
    m_out << "Wrote the default scenario to " << m_path << "\n";
    return 0;
}

int SimTool::place(const std::vector<std::string> &arguments)
{
    if (arguments.empty())
        return usage("place needs a card type (see 'zentrava-sim types')");
    if (const CardCatalogue::ContactCardType *contactType = CardCatalogue::findContact(arguments[0])) {
        if (arguments.size() > 1)
            return usage(contactType->name + " goes into the contact slot and takes no --uid, --from or --at");
        loadScenario();
        m_scenario.contactSlot = contactType->create({});
        saveScenario();
        m_out << "Placed " << contactType->name << " in the contact slot\n";
        return 0;
    }
    const CardCatalogue::CardType *type = CardCatalogue::find(arguments[0]);
    if (!type)
        return usage("unknown card type " + arguments[0] + " (see 'zentrava-sim types')");
    std::optional<Bytes> uid;
    std::optional<std::string> dumpPath;
    std::optional<int> position;
    for (std::size_t i = 1; i < arguments.size(); i += 2) {
        const std::string &option = arguments[i];
        if (i + 1 >= arguments.size())
            return usage(option + " needs a value");
        const std::string &value = arguments[i + 1];
        if (option == "--uid") {
            uid = fromHex(value);
            if (!uid || uid->size() != type->uidLength)
                return usage("a " + type->name + " serial number has " + std::to_string(type->uidLength) +
                             " bytes (" + std::to_string(type->uidLength * 2) + " hex digits)");
        } else if (option == "--from") {
            dumpPath = value;
        } else if (option == "--at") {
            position = parseNumber(value, 1, 999);
            if (!position)
                return usage("--at needs a position from 1");
        } else {
            return usage("unknown option " + option);
        }
    }
    if (uid && dumpPath)
        return usage("the serial number of a card from a dump is the dump's: use --uid or --from, not both");
    loadScenario();
    if (position && static_cast<std::size_t>(*position) > m_scenario.field.size() + 1)
        return usage("--at " + std::to_string(*position) + ": the field has " +
                     std::to_string(m_scenario.field.size()) + " cards");
    auto card = type->create(uid.value_or(CardCatalogue::randomUid(*type)));
    if (dumpPath) {
        BlockMemoryCard &memory = memoryCard(*card);
        if (const auto problem = memory.replaceMemory(MemoryDump::load(*dumpPath, memory.blockSize())))
            throw std::runtime_error(*dumpPath + ": " + *problem);
    }
    const std::size_t index = position ? static_cast<std::size_t>(*position) - 1 : 0;
    const std::string description = card->typeName() + " " + toHex(card->uid());
    m_scenario.field.insert(m_scenario.field.begin() + static_cast<long>(index), std::move(card));
    saveScenario();
    m_out << "Placed " << description << " at position " << index + 1 << "\n";
    return 0;
}

int SimTool::remove(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1)
        return usage("remove needs one card (position or serial number)");
    loadScenario();
    const std::size_t index = findCard(arguments[0]);
    const std::string description = m_scenario.field[index]->typeName() + " " + toHex(m_scenario.field[index]->uid());
    m_scenario.field.erase(m_scenario.field.begin() + static_cast<long>(index));
    saveScenario();
    m_out << "Removed " << description << "\n";
    return 0;
}

int SimTool::clear()
{
    loadScenario();
    m_scenario.field.clear();
    saveScenario();
    m_out << "The field is empty\n";
    return 0;
}

int SimTool::dump(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1)
        return usage("dump needs one card (position or serial number)");
    loadScenario();
    const VirtualCard &card = *m_scenario.field[findCard(arguments[0])];
    m_out << "# " << card.typeName() << " " << toHex(card.uid()) << "\n";
    for (const std::string &line : card.dumpLines())
        m_out << line << "\n";
    return 0;
}

int SimTool::exportMemory(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 2)
        return usage("export needs a card and a file name");
    loadScenario();
    const BlockMemoryCard &card = memoryCard(*m_scenario.field[findCard(arguments[0])]);
    MemoryDump::save(card, arguments[1]);
    m_out << "Exported " << card.typeName() << " " << toHex(card.uid()) << " to " << arguments[1] << "\n";
    return 0;
}

int SimTool::importMemory(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 2)
        return usage("import needs a card and a file name");
    loadScenario();
    BlockMemoryCard &card = memoryCard(*m_scenario.field[findCard(arguments[0])]);
    if (const auto problem = card.replaceMemory(MemoryDump::load(arguments[1], card.blockSize())))
        throw std::runtime_error(arguments[1] + ": " + *problem);
    saveScenario();
    m_out << "Imported " << arguments[1] << " into " << card.typeName() << " " << toHex(card.uid()) << "\n";
    return 0;
}

int SimTool::setPort(const std::vector<std::string> &arguments)
{
    const auto port = arguments.size() == 1 ? parseNumber(arguments[0], 1, 8) : std::nullopt;
    if (!port)
        return usage("port needs a number from 1 to 8");
    loadScenario();
    m_scenario.reader.port = *port;
    saveScenario();
    m_out << "The reader is attached to COM" << *port << "\n";
    return 0;
}

int SimTool::setWriteBack(const std::vector<std::string> &arguments)
{
    if (arguments.size() != 1 || (arguments[0] != "on" && arguments[0] != "off"))
        return usage("writeback needs on or off");
    loadScenario();
    m_scenario.reader.writeBack = arguments[0] == "on";
    saveScenario();
    m_out << "Write back " << arguments[0] << "\n";
    return 0;
}

int SimTool::fault(const std::vector<std::string> &arguments)
{
    const std::string action = arguments.empty() ? "list" : arguments[0];
    const std::vector<std::string> values(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
    const auto count = [&](std::size_t index, int min) {
        return index < values.size() ? parseNumber(values[index], min, int(ReaderFault::MaxCalls)) : std::nullopt;
    };
    if ((action == "list" || action == "clear" || action == "timeout") && !values.empty())
        return usage("fault " + action + " takes no arguments");
    if (action == "list") {
        loadScenario();
        if (m_scenario.faults.empty())
            m_out << "No faults: the reader works normally\n";
        for (const ReaderFault &fault : m_scenario.faults)
            m_out << "  " << fault.description() << "\n";
        return 0;
    }
    if (action == "clear") {
        loadScenario();
        m_scenario.faults.clear();
        saveScenario();
        m_out << "No faults: the reader works normally\n";
        return 0;
    }
    ReaderFault fault;
    if (action == "leave-after") {
        const auto calls = values.size() == 1 ? count(0, 0) : std::nullopt;
        if (!calls)
            return usage("fault leave-after needs a number of calls from 0 to 1000000");
        fault.kind = ReaderFault::Kind::LeaveAfter;
        fault.calls = *calls;
    } else if (action == "tear") {
        const auto bytes = values.size() == 1 ? parseNumber(values[0], 0, int(ReaderFault::MaxBytes)) : std::nullopt;
        if (!bytes)
            return usage("fault tear needs the number of bytes that land, from 0 to 65536");
        fault.kind = ReaderFault::Kind::Tear;
        fault.bytes = *bytes;
    } else if (action == "timeout") {
        fault.kind = ReaderFault::Kind::Timeout;
    } else if (action == "force") {
        if (values.size() < 2 || values.size() > 3)
            return usage("fault force needs FUNCTION STATUS [N]");
        if (!ReaderFault::isReaderFunction(values[0]))
            return usage("no reader function is called " + values[0] + " (names as the program logs them: rf_M1_read)");
        const auto status = parseStatus(values[1]);
        if (!status)
            return usage("fault force needs a status in hex from 1 to 7FFFFFFF, not " + values[1]);
        const auto calls = values.size() == 3 ? count(2, 1) : std::optional<int>(1);
        if (!calls)
            return usage("fault force needs a number of calls from 1 to 1000000");
        fault.kind = ReaderFault::Kind::Force;
        fault.function = values[0];
        fault.status = *status;
        fault.calls = *calls;
    } else {
        return usage("unknown fault " + action + " (leave-after, tear, timeout, force, clear, list)");
    }
    fault.id = ReaderFault::newId();
    loadScenario();
    // A fault of the same kind (on the same function) is replaced, not doubled.
    std::erase_if(m_scenario.faults, [&](const ReaderFault &armed) {
        return armed.kind == fault.kind && armed.function == fault.function;
    });
    m_scenario.faults.push_back(fault);
    saveScenario();
    m_out << "Armed: " << fault.description() << "\n";
    return 0;
}

} // namespace zentrava
