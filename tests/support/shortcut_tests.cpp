#include "support/shortcut.h"

#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CShortcutWriter;
using Zint_Std::ShortcutContents;
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

namespace {

std::string Dword(size_t v)
{
    return std::string(reinterpret_cast<const char*>(&v), 4);  // little-endian
}

// A LinkInfo block naming base + suffix, with a 16-bit copy of wide when given.
std::string LinkInfo(const std::string& base, const std::string& suffix, const std::wstring& wide)
{
    const size_t header = wide.empty() ? 0x1C : 0x24, local = header + 0x11;
    const size_t suffixAt = local + base.size() + 1, wideAt = suffixAt + suffix.size() + 1;
    std::string info = Dword(header) + Dword(1) + Dword(header) + Dword(local) + Dword(0) +
                       Dword(suffixAt) + Dword(wideAt) + Dword(wideAt + 2 * wide.size() + 2);
    info.resize(header - 4);  // the volume: no serial, no label
    info += Dword(0x11) + Dword(3) + Dword(0) + Dword(0x10) + '\0' + base + '\0' + suffix + '\0';
    const char* wideBytes = reinterpret_cast<const char*>(wide.data());
    if (!wide.empty())  // the path, its terminator and an empty suffix
        info += std::string(wideBytes, 2 * wide.size() + 2) + '\0' + '\0';
    return Dword(info.size() + 4) + info;
}

}  // namespace

// A shortcut written to stored-b.txt whose LinkInfo block is then replaced.
TEST_F(ShortcutTest, ReadTargetIsTheStoredLocalPathWhenItExists)
{
    const CString a = folder + CString("stored-a.txt"), b = folder + CString("stored-b.txt");
    ASSERT_TRUE(WriteTextFile(a, "a") && WriteTextFile(b, "b"));
    const std::wstring wideA(a.data, a.data + a.GetLength());  // the folder is ASCII
    const struct {
        const char* name;
        std::string info;
        const char* expected;
    } cases[] = {
        {"stored-split.lnk", LinkInfo(folder.data, "stored-a.txt", L""), a.data},
        {"stored-wide.lnk", LinkInfo(b.data, "", wideA), a.data},
        // What the link object gives: a missing file, a path offset out of the block.
        {"stored-gone.lnk", LinkInfo((folder + CString("gone.txt")).data, "", L""), nullptr},
        {"stored-garbled.lnk", LinkInfo(a.data, "", L"").replace(0x10, 4, Dword(~0u)), nullptr}};
    for (const auto& c : cases) {
        const CString link = folder + CString(c.name);
        CShortcutWriter writer;
        ASSERT_TRUE(writer.Open() && writer.WriteShortcut(Request(link, b.data, "", "")));
        writer.Close();
        std::stringstream file;
        file << std::ifstream(link.data, std::ios::binary).rdbuf();
        std::string bytes = file.str();
        const size_t info = 0x4E + (unsigned char)bytes[0x4C] + 256 * (unsigned char)bytes[0x4D];
        bytes.replace(info, *reinterpret_cast<const DWORD*>(&bytes[info]), c.info);
        std::ofstream(link.data, std::ios::binary) << bytes;
        ShortcutContents contents;
        LinkContents raw;
        ASSERT_TRUE(Zint_Std::ReadShortcutFile(link.data, contents) && ReadLink(link, &raw));
        const CString expected(c.expected ? c.expected : raw.target.c_str());
        EXPECT_TRUE(expected.EqualsNoCase(contents.target))
            << c.name << ": " << contents.target.data << ", the link object gives " << raw.target;
    }
}
