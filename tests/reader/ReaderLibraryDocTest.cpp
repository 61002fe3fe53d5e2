// docs/reader-library.md tells every reader library's author the functions to export; its table
// is the one list's, row for row, so that the page cannot drift from what the program binds.
#include "reader/ReaderFunctions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string expectedTable()
{
    std::ostringstream rows;
    rows << "| N | name | presence | parameters after the `int32_t` status | byte buffers |\n"
         << "|---|---|---|---|---|\n";
#define DOC_ROW(ordinal, name, presence, params, args, buffers)                                   \
    rows << "| " << ordinal << " | `" #name "` | " #presence " | `" #params "` | `" #buffers "` |\n";
#define DOC_UNCALLED(ordinal, presence) rows << "| " << ordinal << " | (not called) | " #presence " | `(void)` | |\n";
    ZENTRAVA_READER_FUNCTIONS(DOC_ROW, DOC_UNCALLED)
#undef DOC_ROW
#undef DOC_UNCALLED
    return rows.str();
}

TEST(ReaderLibraryDocTest, TheTableOfFunctionsIsTheOneList)
{
    std::ifstream file(QT_TESTCASE_SOURCEDIR "/../docs/reader-library.md");
    ASSERT_TRUE(file) << "docs/reader-library.md";
    std::string table;
    bool inside = false;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("| N | name |"))
            inside = true;
        else if (inside && !line.starts_with("|"))
            break;
        if (inside)
            table += line + '\n';
    }
    EXPECT_EQ(table, expectedTable()) << "the table as the list has it:\n" << expectedTable();
}

} // namespace
