#include "TestFiles.h"

#include "base/ProgramDirectory.h"
#include "reader/ReaderApi.h"
#include "reader/ReaderLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

const std::set<int> OptionalOrdinals = {8, 380, 383, 410, 421, 422};

// A resolver that answers every ordinal with a distinct dummy address except those left out,
// and counts the ordinals it was asked for.
OrdinalResolver resolverWithout(const std::set<int> &missing, int *asked = nullptr)
{
    return [missing, asked](int ordinal) -> void * {
        if (asked != nullptr)
            ++*asked;
        return missing.count(ordinal) != 0 ? nullptr : reinterpret_cast<void *>(quintptr(0x10000 + ordinal * 16));
    };
}

// Each function gets the address of its own ordinal; the optional ones may be missing. Ordinal
// 19, say, is never called, but a library without it is refused all the same.
TEST(BindingTest, BindsEachFunctionByItsOrdinalAndRefusesALibraryWithoutARequiredOne)
{
    int asked = 0;
    ReaderApiTable table;
    EXPECT_TRUE(BindReaderApi(resolverWithout(OptionalOrdinals, &asked), table));
    EXPECT_EQ(asked, int(std::size(ReaderEntryBindings)));
    EXPECT_EQ(std::pair(reinterpret_cast<quintptr>(table.rf_init_com), reinterpret_cast<quintptr>(table.rf_close_com)),
              std::pair(quintptr(0x10000 + 4 * 16), quintptr(0x10000 + 45 * 16)));
    EXPECT_EQ(table.rf_DESFire_rst, nullptr);
    EXPECT_EQ(table.rf_transceive1, nullptr);
    for (const ReaderEntryBinding &entry : ReaderEntryBindings)
        EXPECT_EQ(BindReaderApi(resolverWithout({entry.ordinal}), table), OptionalOrdinals.count(entry.ordinal) != 0)
            << "without ordinal " << entry.ordinal;
}

TEST(ReaderLibraryTest, OnlyALibraryInTheProgramFolderIsTakenAndAnythingElseLeavesNothingBound)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(ReaderLibrary::fileName());
    ASSERT_TRUE(writeBytes(path, "this is no shared library\n"));
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

} // namespace
