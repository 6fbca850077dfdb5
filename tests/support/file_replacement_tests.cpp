// A file rewritten in one step keeps what it was: attributes, a link, a
// read-only refusal, and the old text while another program holds it.
#include "support/files.h"

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CString;

namespace {

const DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;

// Holds the file without sharing until the given pause between two tries.
class CHeldReplacement : public Zint_Std::CFileReplacement {
public:
    HANDLE held;
    int releaseAt;
    int pauses;
    CHeldReplacement(const CString& path, HANDLE file, const int& release)
        : CFileReplacement(path), held(file), releaseAt(release), pauses(0) {}
    void PauseBeforeRetry() override
    {
        if (++pauses == releaseAt)
            CloseHandle(held);
        CFileReplacement::PauseBeforeRetry();
    }
};

}  // namespace

TEST(FileReplacementTest, KeepsAttributesLinksAndReadOnlyFilesAndWaitsForAHeldFile)
{
    const struct Case {
        const char* what;
        DWORD attributes;  // of the old file; INVALID_FILE_ATTRIBUTES: there is none
        bool link;         // the path is a link to the file in another folder
        int releaseAt;     // the pause at which a holder lets go; 0: never held
        bool replaced;
    } cases[] = {{"hidden", FILE_ATTRIBUTE_HIDDEN, false, 0, true},
                 {"link", FILE_ATTRIBUTE_NORMAL, true, 0, true},
                 {"read-only", FILE_ATTRIBUTE_READONLY, false, 0, false},
                 {"held throughout", FILE_ATTRIBUTE_NORMAL, false, 100, false},
                 {"let go while waiting", FILE_ATTRIBUTE_NORMAL, false, 1, true},
                 {"missing", INVALID_FILE_ATTRIBUTES, false, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString folder = MakeScratchFolder("replace");
        const CString other = MakeScratchFolder("replace-target");
        const CString path = folder + "quelt_cmd.txt";
        const CString file = c.link ? other + "real.txt" : path;
        if (c.attributes != INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(WriteTextFile(file, "old"));
            ASSERT_TRUE(!c.link || MakeUnixLink(path, file));
            ASSERT_TRUE(SetFileAttributesA(file.data, c.attributes));
            ASSERT_EQ(c.attributes & kKept, GetFileAttributesA(file.data) & kKept);
        }
        HANDLE held = c.releaseAt ? CreateFileA(file.data, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0)
                                  : INVALID_HANDLE_VALUE;
        ASSERT_EQ(c.releaseAt != 0, held != INVALID_HANDLE_VALUE);
        {
            CHeldReplacement replacement(path, held, c.releaseAt);
            EXPECT_EQ(c.replaced, replacement.Create() && replacement.Write("new", 3) &&
                                      replacement.Flush() && replacement.PutInPlace());
            // Ten tries: nine pauses, or one before the holder let go.
            EXPECT_EQ(c.releaseAt == 0 ? 0 : c.replaced ? 1
                                                        : 9,
                      replacement.pauses);
        }
        if (c.releaseAt > 1)
            CloseHandle(held);
        EXPECT_STREQ(c.replaced ? "new" : "old", ReadWholeFile(file).data);
        EXPECT_EQ(c.attributes == INVALID_FILE_ATTRIBUTES ? 0 : c.attributes & kKept,
                  GetFileAttributesA(file.data) & kKept);
        EXPECT_EQ(c.link, Zint_Std::IsLink(path.data));
        // No temporary file stays, the system's own included.
        EXPECT_FALSE(Zint_Std::PathExists((folder + "*.tmp").data));
        EXPECT_FALSE(Zint_Std::PathExists((other + "*.tmp").data));
        RemoveScratchFolder(folder);
        RemoveScratchFolder(other);
    }
}
