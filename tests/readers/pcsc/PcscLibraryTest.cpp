// The PC/SC reader library as the program binds it: every ordinal of the list exported from the
// built library, and Windows's .def file naming the same ordinals.
#include "PcscStatus.h"

#include "reader/ReaderFunctions.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>
#include <cstdio>
#include <set>
#include <string>

namespace {

TEST(PcscLibraryTest, ExportsEveryOrdinalOfTheListOnLinuxAndInTheDefFile)
{
    std::set<int> listed;
    for (const ReaderOrdinal &entry : ReaderOrdinals)
        listed.insert(entry.ordinal);

    std::ifstream def(PCSC_DEF_FILE);
    ASSERT_TRUE(def) << PCSC_DEF_FILE;
    std::set<int> defined;
    for (std::string text; std::getline(def, text);) {
        int named = 0;
        int ordinal = 0;
        char noName[8] = {};
        if (std::sscanf(text.c_str(), " Zentrava_%d @%d %7s", &named, &ordinal, noName) == 3) {
            EXPECT_EQ(named, ordinal) << text;
            EXPECT_STREQ(noName, "NONAME") << text;
            EXPECT_TRUE(defined.insert(ordinal).second) << text;
        }
    }
    EXPECT_EQ(defined, listed);

    void *library = dlopen(PCSC_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const int ordinal : listed)
        EXPECT_NE(dlsym(library, ("Zentrava_" + std::to_string(ordinal)).c_str()), nullptr) << ordinal;
    // Before any Connect: the beeper is not supported, the model needs the port.
    using Beep = ReaderFunctionInfo<ReaderFunction::rf_beep>::Pointer;
    using Model = ReaderFunctionInfo<ReaderFunction::rf_get_model>::Pointer;
    uint8_t text[256];
    uint8_t length = 0;
    EXPECT_EQ(reinterpret_cast<Beep>(dlsym(library, "Zentrava_9"))(0, 10), pcscstatus::NotSupported);
    EXPECT_EQ(reinterpret_cast<Model>(dlsym(library, "Zentrava_7"))(0, text, &length), pcscstatus::PortNotOpen);
    dlclose(library);
}

} // namespace
