#include "core/files/folders.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tolvane {
namespace {

TEST(FolderErrorTextTest, MapsTheSystemErrorToTheFolderMessages) {
    const struct {
        int error_number;
        const char* text;
    } cases[] = {
        {ENOENT, "Invalid filename"},
        {ENOTDIR, "Invalid filename"},
        {EEXIST, "I/O error 183"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EROFS, "File access denied"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {ENOSPC, "Disk full"},
        {ENAMETOOLONG, "I/O error 36"},
        {ELOOP, "I/O error 40"},
        // Linux errors whose numbers happen to be codes with words of their own stay numbers.
        {ENETDOWN, "I/O error 100"},
        {ENOTCONN, "I/O error 107"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderErrorText(c.error_number), c.text) << c.error_number;
    }
}

}  // namespace
}  // namespace tolvane
