// Entry point of every unit test program.
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>

#include <gtest/gtest.h>

namespace {

// A new Wine prefix links these folders of the user to the Unix home folder.
// Code under test deletes and changes folder trees: one fault could then
// reach the home folder of the machine, so no test runs while any of them is
// a link. Returns the first link found, or null.
const char* LinkedShellFolder()
{
    static const struct {
        int csidl;
        const char* sub;
        const char* name;
    } kFolders[] = {
        {CSIDL_DESKTOPDIRECTORY, "", "Desktop"},
        {CSIDL_PERSONAL, "", "Documents"},
        {CSIDL_MYMUSIC, "", "Music"},
        {CSIDL_MYPICTURES, "", "Pictures"},
        {CSIDL_MYVIDEO, "", "Videos"},
        {CSIDL_TEMPLATES, "", "Templates"},
        {CSIDL_PROFILE, "\\Downloads", "Downloads"},
    };
    for (size_t i = 0; i < sizeof(kFolders) / sizeof(kFolders[0]); i++) {
        char path[MAX_PATH * 2] = {0};
        if (FAILED(SHGetFolderPathA(0, kFolders[i].csidl, 0, SHGFP_TYPE_CURRENT, path)))
            continue;
        lstrcatA(path, kFolders[i].sub);
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return kFolders[i].name;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // A test that hangs is killed at ctest's time limit: what it printed up
    // to then must already be out, to tell where it stood.
    setvbuf(stdout, 0, _IONBF, 0);
    // Shift-JIS rules (lead bytes, trail byte 0x5C, full-width space) only
    // hold under code page 932; anything else would make tests lie.
    UINT codePage = GetACP();
    if (codePage != 932) {
        fprintf(stderr,
                "The ANSI code page is %u, not 932. Run the tests with LANG=ja_JP.UTF-8 "
                "and generate that locale (scripts/install-deps.sh does both).\n",
                codePage);
        return 2;
    }
    const char* linked = LinkedShellFolder();
    if (linked) {
        fprintf(stderr,
                "The user's %s folder is a link, which may lead to the Unix home folder. "
                "scripts/ensure-prefix.sh makes such folders plain; run the tests through it.\n",
                linked);
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
