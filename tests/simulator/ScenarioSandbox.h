#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// A private folder per test: the scenario file and the configuration home point into it, so
// tests running in parallel never share a scenario. The folder goes with the sandbox.
class ScenarioSandbox {
public:
    ScenarioSandbox()
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/zentrava-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_folder = pattern;
        setenv("ZENTRAVA_SCENARIO", scenarioPath().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_folder + "/config").c_str(), 1);
    }
    ~ScenarioSandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    ScenarioSandbox(const ScenarioSandbox &) = delete;
    ScenarioSandbox &operator=(const ScenarioSandbox &) = delete;

    const std::string &folder() const { return m_folder; }
    std::string scenarioPath() const { return m_folder + "/scenario.json"; }
    bool scenarioExists() const { return std::filesystem::exists(scenarioPath()); }

    void writeFile(const std::string &path, const std::string &content) const
    {
        const std::string temporary = path + ".new";
        std::ofstream(temporary, std::ios::binary) << content;
        std::filesystem::rename(temporary, path);
    }
    void writeScenario(const std::string &content) const { writeFile(scenarioPath(), content); }
    static std::string readFile(const std::string &path)
    {
        std::ifstream file(path, std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }
    std::string readScenario() const { return readFile(scenarioPath()); }

private:
    std::string m_folder;
};
