#include "support/shortcut.h"

#include <stdlib.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CShortcutWriter;
using Zint_Std::CString;
using Zint_Std::ShortcutRequest;

namespace {

ShortcutRequest Request(const CString& link, const char* target, const char* arguments,
                        const char* folder)
{
    ShortcutRequest request;
    request.linkPath = link;
    request.targetPath = target;
    request.arguments = arguments;
    request.workingFolder = folder;
    return request;
}

// What a shortcut file holds, read back through the shell.
struct LinkContents {
    std::string target, arguments, folder, description;
};

bool ReadLink(const CString& path, LinkContents* contents)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = false;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[512];
        MultiByteToWideChar(CP_ACP, 0, path.data, -1, wide, 512);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[1024];
            text[0] = 0;
            link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
            contents->target = text;
            text[0] = 0;
            link->GetArguments(text, sizeof(text));
            contents->arguments = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, sizeof(text));
            contents->folder = text;
            text[0] = 0;
            link->GetDescription(text, sizeof(text));
            contents->description = text;
            ok = true;
        }
        file->Release();
    }
    link->Release();
    return ok;
}

// Where the shortcut files go: the folder the lnkinfo check names, or a
// scratch folder of this run.
CString OutputFolder()
{
    const char* wanted = getenv("QUELT_LNK_OUT");
    if (wanted && *wanted) {
        CString folder(wanted);
        Zint_Std::AppendBackslash(folder);
        Zint_Std::MakeFolderPath(folder);
        return folder;
    }
    return MakeScratchFolder("links");
}

class ShortcutTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        folder = OutputFolder();
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof(windows));
        notepad = CString(windows) + CString("\\notepad.exe");
        system32 = CString(windows) + CString("\\system32\\");
    }
    void TearDown() override { CoUninitialize(); }

    CString folder;
    CString notepad;
    CString system32;
};

}  // namespace

TEST_F(ShortcutTest, WritesTargetArgumentsFolderAndEmptyDescription)
{
    CShortcutWriter writer;
    ASSERT_TRUE(writer.Open());
    CString uninstall = folder + CString("アンインストール.lnk");
    CString help = folder + CString("Queltのヘルプ.lnk");
    EXPECT_TRUE(writer.WriteShortcut(Request(uninstall, notepad.data, "-U", system32.data)));
    // The same writer, no arguments: the next shortcut must have none.
    EXPECT_TRUE(writer.WriteShortcut(Request(help, notepad.data, "", system32.data)));
    writer.Close();
    EXPECT_FALSE(writer.IsOpen());

    LinkContents first, second;
    ASSERT_TRUE(ReadLink(uninstall, &first));
    EXPECT_TRUE(CString(first.target.c_str()).EqualsNoCase(notepad)) << first.target;
    EXPECT_EQ("-U", first.arguments);
    EXPECT_EQ(std::string(system32.data), first.folder);
    EXPECT_EQ("", first.description);

    ASSERT_TRUE(ReadLink(help, &second));
    EXPECT_EQ("", second.arguments);
    EXPECT_EQ("", second.description);

    // The file carries exactly the Japanese name asked for.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(help.data, &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    FindClose(search);
    EXPECT_STREQ("Queltのヘルプ.lnk", found.cFileName);
}

TEST_F(ShortcutTest, WritingOverAnExistingShortcutReplacesIt)
{
    CString link = folder + CString("replace.lnk");
    ASSERT_TRUE(WriteTextFile(link, "not a shortcut at all"));
    CShortcutWriter writer;
    ASSERT_TRUE(writer.Open());
    EXPECT_TRUE(writer.WriteShortcut(Request(link, notepad.data, "first", system32.data)));
    EXPECT_TRUE(writer.WriteShortcut(Request(link, notepad.data, "second", system32.data)));
    writer.Close();
    LinkContents contents;
    ASSERT_TRUE(ReadLink(link, &contents));
    EXPECT_EQ("second", contents.arguments);
}

TEST_F(ShortcutTest, LinkPathsOver511CharactersAreRefused)
{
    CString link(folder);
    while (link.GetLength() < 508)
        link.AppendChar('n');
    link += ".lnk";  // 512 characters
    CShortcutWriter writer;
    ASSERT_TRUE(writer.Open());
    EXPECT_FALSE(writer.WriteShortcut(Request(link, notepad.data, "", system32.data)));
    EXPECT_FALSE(writer.WriteShortcut(Request(CString(), notepad.data, "", system32.data)));
    writer.Close();
    EXPECT_FALSE(writer.WriteShortcut(Request(folder + CString("closed.lnk"), notepad.data, "",
                                              system32.data)));
    EXPECT_FALSE(Zint_Std::PathExists((folder + CString("closed.lnk")).data));
}

TEST_F(ShortcutTest, EnsureLinkFolderCreatesOnlyTheLastLevel)
{
    CString fresh = folder + CString("スタートアップ\\");
    EXPECT_TRUE(Zint_Std::EnsureLinkFolder(fresh));
    EXPECT_TRUE(Zint_Std::FolderExists(fresh));
    EXPECT_TRUE(Zint_Std::EnsureLinkFolder(fresh));  // exists already

    CString orphan = folder + CString("no-parent\\child\\");
    EXPECT_FALSE(Zint_Std::EnsureLinkFolder(orphan));
    EXPECT_FALSE(Zint_Std::FolderExists(folder + CString("no-parent")));
    EXPECT_FALSE(Zint_Std::EnsureLinkFolder(CString()));
}
