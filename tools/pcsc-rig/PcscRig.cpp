#include "PcscRig.h"

#include <winscard.h>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char *VpcdDriver = "/usr/lib/pcsc/drivers/serial/libifdvpcd.so";
constexpr const char *Pcscd = "/usr/sbin/pcscd";

bool portFree(int port)
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool free = bind(probe, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    close(probe);
    return free;
}

// Four free consecutive loopback ports: two vpcd readers of two slots.
int freePorts()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int first = 20000 + int((unsigned(getpid()) * 7919u + unsigned(attempt) * 104729u) % 40000u);
        if (portFree(first) && portFree(first + 1) && portFree(first + 2) && portFree(first + 3))
            return first;
    }
    return 0;
}

pid_t spawn(const std::vector<std::string> &arguments, const std::string &log)
{
    const pid_t child = fork();
    if (child != 0)
        return child;
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Its exit status, -1 when it did not end by itself.
int stop(pid_t &child)
{
    if (child <= 0)
        return -1;
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    child = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool exited(pid_t child)
{
    int status = 0;
    return waitpid(child, &status, WNOHANG) == child;
}

void writeReader(const std::string &file, const char *name, int port, const std::string &driver)
{
    std::ofstream(file) << "FRIENDLYNAME \"" << name << "\"\nDEVICENAME /dev/null:" << port << "\nLIBPATH " << driver
                        << "\nCHANNELID " << port << "\n";
}

} // namespace

PcscRig::PcscRig(std::string programFolder, std::string scenarioFile)
    : m_programFolder(std::move(programFolder)), m_scenario(std::move(scenarioFile))
{
    // One folder per process: pcsc-lite reads PCSCLITE_CSOCK_NAME once, at the first call.
    m_folder = "/tmp/vornex-pcsc-" + std::to_string(getpid());
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, error);
    if (error)
        m_folder.clear();
    setenv("PCSCLITE_CSOCK_NAME", (m_folder + "/run/pcscd.comm").c_str(), 1);
}

PcscRig::~PcscRig()
{
    stop(m_server);
    stop(m_pcscd);
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

bool PcscRig::skipAsked()
{
    const char *skip = std::getenv("VORNEX_SKIP_PCSC");
    return skip != nullptr && std::strcmp(skip, "1") == 0;
}

std::string PcscRig::logTail(const std::string &file) const
{
    std::ifstream in(m_folder + "/" + file);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 1500 ? all.substr(all.size() - 1500) : all;
}

std::string PcscRig::start()
{
    if (std::string problem = startPcscd(); !problem.empty())
        return problem;
    if (std::string problem = startCardServer(); !problem.empty())
        return problem;
    for (const char *reader : {Contactless, Contact, Sam})
        if (!waitForCard(reader, true))
            return std::string("no card came on ") + reader + "; card server:\n" + logTail("server.log");
    return {};
}

std::string PcscRig::startPcscd()
{
    if (m_folder.empty())
        return "no temporary folder";
    if (access(Pcscd, X_OK) != 0 || access(VpcdDriver, R_OK) != 0)
        return "pcscd or vpcd is not installed (packages pcscd, vsmartcard-vpcd; tools/install-deps.sh)";
    std::filesystem::create_directories(m_folder + "/run");
    std::filesystem::create_directories(m_folder + "/readers");
    m_port = freePorts();
    if (m_port == 0)
        return "no four free loopback ports";
    const std::string samDriver = m_folder + "/libifdvpcd-sam.so";
    std::error_code error;
    std::filesystem::copy_file(std::filesystem::canonical(VpcdDriver), samDriver,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return "cannot copy the vpcd driver: " + error.message();
    writeReader(m_folder + "/readers/pcd", "Vornex PCD", m_port, VpcdDriver);
    writeReader(m_folder + "/readers/sam", "Vornex SAM", m_port + 2, samDriver);
    // Root makes the mount namespace itself; anyone else through a user namespace.
    std::vector<std::string> command{"unshare", "--mount", "--propagation", "private"};
    if (geteuid() != 0)
        command.insert(command.begin() + 1, "--map-root-user");
    const std::string script = "mkdir -p /run/pcscd 2>/dev/null; mount --bind \"$0\" /run/pcscd && exec " + std::string(Pcscd)
        + " --foreground --error -c \"$1\"";
    command.insert(command.end(), {"sh", "-c", script, m_folder + "/run", m_folder + "/readers"});
    m_pcscd = spawn(command, m_folder + "/pcscd.log");
    // Ready once a context can be had: pcscd answers on its socket.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (exited(m_pcscd)) {
            m_pcscd = -1;
            return "pcscd ended at start:\n" + logTail("pcscd.log");
        }
        SCARDCONTEXT context = 0;
        if (std::filesystem::exists(m_folder + "/run/pcscd.comm")
            && SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) == SCARD_S_SUCCESS) {
            SCardReleaseContext(context);
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return "pcscd did not answer within 10 s:\n" + logTail("pcscd.log");
}

bool PcscRig::stopCardServer() { return stop(m_server) == 0; }

std::string PcscRig::startCardServer()
{
    m_server = spawn({m_programFolder + "/zentrava-sim", "--scenario", m_scenario, "serve-pcsc", "--port",
                      std::to_string(m_port), "--sam-port", std::to_string(m_port + 2)},
                     m_folder + "/server.log");
    return m_server > 0 ? std::string() : "cannot start zentrava-sim";
}

bool PcscRig::waitForCard(const char *reader, bool present, int ms)
{
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return false;
    SCARD_READERSTATE state{};
    state.szReader = reader;
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    bool reached = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const LONG result = SCardGetStatusChange(context, DWORD(std::max<long>(left, 0)), &state, 1);
        if (result != SCARD_S_SUCCESS)
            break;
        const bool hasCard = (state.dwEventState & SCARD_STATE_PRESENT) != 0;
        if (hasCard == present && (state.dwEventState & SCARD_STATE_MUTE) == 0) {
            reached = true;
            break;
        }
        if (left <= 0)
            break;
        state.dwCurrentState = state.dwEventState & ~DWORD(SCARD_STATE_CHANGED);
    }
    SCardReleaseContext(context);
    return reached;
}

int PcscRig::portOf(const char *reader)
{
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return 0;
    DWORD size = 0;
    std::vector<char> names;
    if (SCardListReaders(context, nullptr, nullptr, &size) == SCARD_S_SUCCESS) {
        names.resize(size + 1, '\0');
        if (SCardListReaders(context, nullptr, names.data(), &size) != SCARD_S_SUCCESS)
            names.clear();
    }
    SCardReleaseContext(context);
    int position = 1;
    for (const char *name = names.data(); !names.empty() && *name != '\0'; name += std::strlen(name) + 1, ++position)
        if (std::strcmp(name, reader) == 0)
            return position;
    return 0;
}
