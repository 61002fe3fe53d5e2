#include "base/ProgramDirectory.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const std::set<int> OptionalOrdinals = {8, 380, 383, 410, 421, 422};

// A resolver that answers every ordinal with a distinct dummy address except those left out,
// and records the order it was asked in.
struct FakeResolver {
    std::set<int> missing;
    std::vector<int> asked;

    OrdinalResolver resolver()
    {
        return [this](int ordinal) -> void * {
            asked.push_back(ordinal);
            if (missing.count(ordinal) != 0)
                return nullptr;
            return reinterpret_cast<void *>(quintptr(0x10000 + ordinal * 16));
        };
    }
};

// Each function gets the address of its own ordinal; the optional ones may be missing.
TEST(BindingTest, BindsEachFunctionByItsOrdinalAndLeavesMissingOptionalOnesNull)
{
    FakeResolver fake;
    fake.missing = OptionalOrdinals;
    ReaderApiTable table;
    EXPECT_TRUE(BindReaderApi(fake.resolver(), table));
    EXPECT_EQ(fake.asked.size(), std::size(ReaderEntryBindings));
    EXPECT_EQ(reinterpret_cast<quintptr>(table.rf_init_com), quintptr(0x10000 + 4 * 16));
    EXPECT_EQ(reinterpret_cast<quintptr>(table.rf_close_com), quintptr(0x10000 + 45 * 16));
    EXPECT_EQ(table.rf_DESFire_rst, nullptr);
    EXPECT_EQ(table.rf_transceive1, nullptr);
}

// Ordinal 19, say, is never called, but a library without it is refused all the same.
TEST(BindingTest, RefusesALibraryWithoutAnyRequiredOrdinal)
{
    int required = 0;
    for (const ReaderEntryBinding &entry : ReaderEntryBindings) {
        ASSERT_EQ(entry.required, OptionalOrdinals.count(entry.ordinal) == 0) << entry.ordinal;
        if (!entry.required)
            continue;
        ++required;
        FakeResolver fake;
        fake.missing = {entry.ordinal};
        ReaderApiTable table;
        EXPECT_FALSE(BindReaderApi(fake.resolver(), table)) << "ordinal " << entry.ordinal;
    }
    EXPECT_EQ(required, 97);
}

TEST(ReaderLibraryTest, OnlyALibraryInTheProgramFolderIsTakenAndAnythingElseLeavesNothingBound)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(ReaderLibrary::fileName());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no shared library\n");
    file.close();
    ReaderApi = ReaderApiTable{};
    ReaderLibrary library;
    EXPECT_FALSE(library.load(path));
    EXPECT_EQ(ReaderApi.rf_init_com, nullptr);
    EXPECT_FALSE(library.load(folder.filePath(QStringLiteral("missing.so"))));
    // A bare name would go through the search path: refused without looking.
    EXPECT_FALSE(library.load(ReaderLibrary::fileName()));

    // The program folder, whatever the working directory.
    const QString saved = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EXPECT_EQ(ReaderLibrary::defaultPath(), QCoreApplication::applicationDirPath() + u'/' + ReaderLibrary::fileName());
    EXPECT_EQ(ProgramDirectory(), QCoreApplication::applicationDirPath());
    QDir::setCurrent(saved);
}

TEST(ReaderLibraryTest, TheSimulatedReaderBesideTheProgramBindsAndFreesCleanly)
{
    // The tests are built with the library beside them; its absence is a failure, not a skip.
    ASSERT_TRUE(QFile::exists(ReaderLibrary::defaultPath())) << "no reader library built beside the tests";
    ReaderLibrary library;
    ASSERT_TRUE(library.load(ReaderLibrary::defaultPath()));
    uint32_t version = 0;
    EXPECT_EQ(ReaderApi.lib_ver(&version), 0);
    library.free();
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(ReaderApi.rf_init_com, nullptr);
}

} // namespace
