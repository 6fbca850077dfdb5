// What ships beside the launcher: the default command file, the default
// profile, and the program's menu and icon resources.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "commands/line_parser.h"
#include "launcher/command_list.h"
#include "launcher/command_runner.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

class ShippedFilesTest : public ::testing::Test {
protected:
    CString folder;

    void SetUp() override
    {
        folder = MakeScratchFolder("shipped");
        CString bin = Zint_Std::ModuleFolder(0);
        ASSERT_TRUE(CopyFileA((bin + "cmd_org.txt").data, (folder + "cmd_org.txt").data, FALSE));
        ASSERT_TRUE(CopyFileA((bin + "quelt_.ini").data, (folder + "quelt_.ini").data, FALSE));
    }
    void TearDown() override { RemoveScratchFolder(folder); }
};

bool Listed(const CCommandList& list, const char* name)
{
    for (int i = 0; i < list.names.count; i++)
        if (!lstrcmpiA(list.names.Name(i), name))
            return true;
    return false;
}

}  // namespace

TEST_F(ShippedFilesTest, TextFilesAreShiftJisWithCrLf)
{
    const char* names[] = {"cmd_org.txt", "quelt_.ini"};
    for (const char* name : names) {
        int length = 0;
        CString text = ReadWholeFile(folder + name, &length);
        ASSERT_GT(length, 100) << name;
        for (int i = 0; i < length; i++) {
            if (text.data[i] == '\n') {
                ASSERT_TRUE(i > 0 && text.data[i - 1] == '\r') << name << " at " << i;
            }
        }
        // Japanese comments survive as Shift-JIS: the bytes of "コマンド" or
        // "設定" as this program's literals hold them.
        EXPECT_TRUE(strstr(text.data, "コマンド") || strstr(text.data, "設定")) << name;
        EXPECT_EQ(nullptr, strstr(text.data, "\xEF\xBB\xBF")) << name;  // no UTF-8 mark
    }
}

TEST_F(ShippedFilesTest, TheStarterCommandsResolve)
{
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    const char* expected[] = {"notepad", "calc", "cmd", "home", "windir", "edge", "web",
                              "jisho", "wiki", "ss", "logoff", "shutdown", "restart", "trash", "desk",
                              "appwiz", "sysdm", "timedate", "reload", "setting", "help",
                              "quit"};
    for (const char* name : expected)
        EXPECT_TRUE(Listed(list, name)) << name;
    CCommandRunner runner(GetModuleHandleA(0), 0, folder);
    for (int i = 0; i < list.names.count; i++) {
        CString path, comment;
        EXPECT_EQ(1, list.GetCommand(CString(list.names.Name(i)), &path, 0, &comment))
            << list.names.Name(i);
        EXPECT_FALSE(comment.IsEmpty()) << list.names.Name(i);
    }
    // The web search and the encyclopedia take the whole argument text, the
    // dictionary one word; the browser is the one Windows still ships, and
    // one command opens its folder.
    CString path;
    list.GetCommand(CString("web"), &path, 0, 0);
    EXPECT_NE(nullptr, strstr(path.data, "$$"));
    list.GetCommand(CString("wiki"), &path, 0, 0);
    EXPECT_NE(nullptr, strstr(path.data, "wikipedia.org/wiki/$$"));
    list.GetCommand(CString("jisho"), &path, 0, 0);
    EXPECT_STREQ("https://www.weblio.jp/content/$1", path.data);
    list.GetCommand(CString("edge"), &path, 0, 0);
    EXPECT_STREQ("msedge.exe", path.data);
    EXPECT_FALSE(Listed(list, "ie"));
    list.GetCommand(CString("windir"), &path, 0, 0);
    EXPECT_NE(nullptr, strstr(path.data, "->of"));
}

// Every starter command that names a program or folder finds it on this
// system (Wine has no calculator and no Edge; Windows has both, Edge through
// its App Paths entry).
TEST_F(ShippedFilesTest, TheStarterProgramsAndFoldersExist)
{
    CCommandList list(folder);
    ASSERT_EQ(1, list.Load());
    for (int i = 0; i < list.names.count; i++) {
        CString path, folderValue;
        list.GetCommand(CString(list.names.Name(i)), &path, &folderValue, 0);
        if (path.data[0] == '@' || strstr(path.data, "://") || !lstrcmpiA(path.data, "calc.exe") ||
            !lstrcmpiA(path.data, "msedge.exe"))
            continue;
        CString line(list.names.Name(i));
        TypedLine typed;
        SplitTypedLine(line, typed);
        LaunchPlan plan;
        SeparateFileAndParameters(SubstituteArguments(path, typed), ShellFindsProgram, plan);
        char* file = ExpandEnvironmentToFit(plan.file.data);
        char found[MAX_PATH];
        bool exists = SearchPathA(0, file, ".exe", sizeof(found), found, 0) ||
                      Zint_Std::PathExists(file) || Zint_Std::FolderExists(CString(file));
        EXPECT_TRUE(exists) << list.names.Name(i) << ": " << file;
        free(file);
        if (!folderValue.IsEmpty()) {
            char* work = ExpandEnvironmentToFit(folderValue.data);
            EXPECT_TRUE(Zint_Std::FolderExists(CString(work))) << work;
            free(work);
        }
    }
}

TEST_F(ShippedFilesTest, TheProfileListsEveryKeyWithItsDefault)
{
    CString profile = folder + "quelt_.ini";
    struct Key {
        const char* section;
        const char* key;
        int value;
    } keys[] = {{"HotKey", "ALT", 1}, {"HotKey", "Ctrl", 0}, {"HotKey", "Shift", 0}, {"HotKey", "Win", 0}, {"HotKey", "Key", 49}, {"QUELT", "History", 10}, {"QUELT", "ToolTip", 1}, {"QUELT", "TaskTray", 1}, {"QUELT", "ImeCtrl", 2}, {"QUELT", "WndWidth", 265}, {"QUELT", "WndHeight", 43}, {"QUELT", "SavePosition", 0}, {"QUELT", "PositionX", 0}, {"QUELT", "PositionY", 0}};
    for (const Key& k : keys) {
        char value[64];
        value[0] = 0;
        GetPrivateProfileStringA(k.section, k.key, "missing", value, sizeof(value), profile.data);
        EXPECT_STRNE("missing", value) << k.key;
        EXPECT_EQ(static_cast<UINT>(k.value), GetPrivateProfileIntA(k.section, k.key, -99, profile.data))
            << k.key;
    }
    char aliases[64];
    EXPECT_EQ(0u, GetPrivateProfileSectionA("Alias", aliases, sizeof(aliases), profile.data));
}

TEST(LauncherResources, MenuAndIcon)
{
    CString program = Zint_Std::ModuleFolder(0) + "quelt_.exe";
    HMODULE module = LoadLibraryExA(program.data, 0, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module != 0);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(103));
    ASSERT_TRUE(menu != 0);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_TRUE(popup != 0);
    struct Item {
        UINT id;
        const char* caption;
    } items[] = {{40001, "コマンドを編集(&C)..."}, {40002, "Queltの設定(&P)..."}, {0, "ファイル編集(&F)"}, {0, ""}, {40003, "ヘルプ(&H)..."}, {40004, "バージョン情報(A)..."}, {0, ""}, {40005, "終了(&X)"}};
    ASSERT_EQ(8, GetMenuItemCount(popup));
    for (int i = 0; i < 8; i++) {
        char caption[128];
        caption[0] = 0;
        GetMenuStringA(popup, i, caption, sizeof(caption), MF_BYPOSITION);
        EXPECT_STREQ(items[i].caption, caption) << i;
        if (items[i].id) {
            EXPECT_EQ(items[i].id, GetMenuItemID(popup, i)) << i;
        }
    }
    HMENU files = GetSubMenu(popup, 2);
    ASSERT_TRUE(files != 0);
    Item fileItems[] = {{40006, "コマンドファイルの編集(C)..."},
                        {40007, "コマンドファイルの再読込(&R)"},
                        {40010, "設定ファイルの編集(&S)..."},
                        {40009, "設定ファイルの再読み込み(&Q)"}};
    ASSERT_EQ(4, GetMenuItemCount(files));
    for (int i = 0; i < 4; i++) {
        char caption[128];
        GetMenuStringA(files, i, caption, sizeof(caption), MF_BYPOSITION);
        EXPECT_STREQ(fileItems[i].caption, caption);
        EXPECT_EQ(fileItems[i].id, GetMenuItemID(files, i));
    }
    DestroyMenu(menu);

    HICON small = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(102), IMAGE_ICON, 16, 16, 0));
    HICON large = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(102), IMAGE_ICON, 32, 32, 0));
    ASSERT_TRUE(small != 0);
    ASSERT_TRUE(large != 0);
    // Both sizes are drawn, not scaled from one another: the group holds two
    // images of exactly these sizes.
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(group != 0);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_TRUE(directory != 0);
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    ASSERT_EQ(2, count);
    EXPECT_EQ(16, directory[6]);
    EXPECT_EQ(32, directory[6 + 14]);
    DestroyIcon(small);
    DestroyIcon(large);
    FreeLibrary(module);
}
