#include "editor/start_menu.h"

#include <shlobj.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "commands/profile_text.h"
#include "editor/plain_text.h"
#include "support/files.h"
#include "support/shortcut.h"
#include "test_paths.h"

using Zint_Std::CArray;
using Zint_Std::CShortcutWriter;
using Zint_Std::CString;
using Zint_Std::ShortcutRequest;

namespace {

std::string Text(const CString& s)
{
    return s.Text();
}

// A scratch tree: targets that exist, a user and a common programs folder,
// and a command file.
class StartMenuScanTest : public testing::Test {
protected:
    CString root;
    CString targets;
    CString user;
    CString common;
    CString commandFile;
    CArray<CString> folders;

    void SetUp() override
    {
        root = MakeScratchFolder("start-menu");
        targets = root + "targets\\";
        user = root + "user\\";
        common = root + "common\\";
        ASSERT_TRUE(Zint_Std::MakeFolderPath(targets));
        ASSERT_TRUE(Zint_Std::MakeFolderPath(targets + "My Apps\\"));
        ASSERT_TRUE(Zint_Std::MakeFolderPath(user + "Tools\\Deep\\"));
        ASSERT_TRUE(Zint_Std::MakeFolderPath(common));
        const char* programs[] = {"editor.exe", "calc.exe", "viewer.exe", "other.exe",
                                  "My Apps\\tool.exe"};
        for (const char* program : programs)
            ASSERT_TRUE(WriteTextFile(targets + program, "MZ"));
        commandFile = root + "quelt_cmd.txt";
        ASSERT_TRUE(WriteTextFile(commandFile, "[calc]\r\nPATH=calc.exe\r\n"));
        folders.Add(user);
        folders.Add(common);
    }

    void TearDown() override { RemoveScratchFolder(root); }

    void Link(const CString& link, const CString& target, const char* arguments = "",
              const char* workingFolder = "")
    {
        CShortcutWriter writer;
        ASSERT_TRUE(writer.Open());
        ShortcutRequest request;
        request.linkPath = link;
        request.targetPath = target;
        request.arguments = arguments;
        request.workingFolder = workingFolder;
        ASSERT_TRUE(writer.WriteShortcut(request)) << Text(link);
        writer.Close();
    }

    // The proposals of a scan against the scratch command file.
    void Scan(CStartMenuScan& scan)
    {
        CCommandStore store(commandFile.data);
        ASSERT_TRUE(store.Load());
        ASSERT_TRUE(scan.Scan(folders, store));
    }

    // The proposals in words, for a failure's message.
    static std::string Dump(const CStartMenuScan& scan)
    {
        std::string text;
        for (int i = 0; i < scan.proposals.count; i++) {
            const ShortcutProposal& proposal = scan.proposals.items[i];
            text += Text(proposal.name) + " | " + Text(proposal.path) + " | " +
                    Text(proposal.folder) + " | " + Text(proposal.comment) + " | " +
                    Text(proposal.linkFile) + "\n";
        }
        return text;
    }

    static int Find(const CStartMenuScan& scan, const char* name)
    {
        for (int i = 0; i < scan.proposals.count; i++) {
            if (Text(scan.proposals.items[i].name) == name)
                return i;
        }
        return -1;
    }
};

// A link written through the shell's object with a description, or with
// only a shell item (no file system path) when target is null.
bool WriteLinkThroughShell(const CString& link, const char* target, const char* description,
                           const int& itemFolder, const char* arguments = "")
{
    CoInitialize(0);
    IShellLinkA* shellLink = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void**>(&shellLink)))) {
        if (target) {
            shellLink->SetPath(target);
        } else {
            LPITEMIDLIST item = nullptr;
            if (SUCCEEDED(SHGetSpecialFolderLocation(0, itemFolder, &item))) {
                shellLink->SetIDList(item);
                CoTaskMemFree(item);
            }
        }
        shellLink->SetDescription(description);
        shellLink->SetArguments(arguments);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile,
                                                reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, link.data, -1, wide, MAX_PATH);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return saved;
}

TEST_F(StartMenuScanTest, NamesComeFromTheLinkFilesWithoutBlanksOrBrackets)
{
    Link(user + "Editor One.lnk", targets + "editor.exe");
    Link(user + "[Beta] Viewer.lnk", targets + "viewer.exe");
    Link(user + "全角　空白.lnk", targets + "other.exe");
    Link(user + "Tools\\Deep\\Tool.lnk", targets + "My Apps\\tool.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 4) << Dump(scan);
    EXPECT_GE(Find(scan, "EditorOne"), 0);
    EXPECT_GE(Find(scan, "BetaViewer"), 0);
    EXPECT_GE(Find(scan, "全角空白"), 0);
    EXPECT_GE(Find(scan, "Tool"), 0);
    for (int i = 0; i < scan.proposals.count; i++)
        EXPECT_EQ(CheckCommandName(scan.proposals.items[i].name.data), kNameFine)
            << Text(scan.proposals.items[i].name);
}

TEST_F(StartMenuScanTest, NestedLinksAreFoundAndTheirSubFolderBecomesTheComment)
{
    Link(user + "Tools\\Deep\\Calculator.lnk", targets + "calc.exe");
    Link(user + "Tools\\Viewer.lnk", targets + "viewer.exe");
    Link(user + "Editor.lnk", targets + "editor.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 3) << Dump(scan);
    const int deep = Find(scan, "Calculator");
    const int tools = Find(scan, "Viewer");
    const int top = Find(scan, "Editor");
    ASSERT_GE(deep, 0);
    ASSERT_GE(tools, 0);
    ASSERT_GE(top, 0);
    EXPECT_EQ(Text(scan.proposals.items[deep].comment), "Tools\\Deep");
    EXPECT_EQ(Text(scan.proposals.items[tools].comment), "Tools");
    EXPECT_EQ(Text(scan.proposals.items[top].comment), "");
    EXPECT_EQ(Text(scan.proposals.items[deep].linkFile), Text(user + "Tools\\Deep\\Calculator.lnk"));
}

TEST_F(StartMenuScanTest, TheDescriptionIsTheCommentWhenTheLinkHasOne)
{
    ASSERT_TRUE(WriteLinkThroughShell(user + "Tools\\Editor.lnk", (targets + "editor.exe").data,
                                      "文書を編集します", 0));
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 1) << Dump(scan);
    EXPECT_EQ(Text(scan.proposals.items[0].comment), "文書を編集します");
}

TEST_F(StartMenuScanTest, ADescriptionNamingAResourceStringIsReadFromThere)
{
    // What the library itself holds under that number.
    char expected[256] = "";
    HMODULE shell32 = LoadLibraryExA("shell32.dll", 0, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_GT(LoadStringA(shell32, 20, expected, sizeof(expected)), 0);
    FreeLibrary(shell32);
    const struct {
        const char* name;
        const char* target;
        const char* description;
        const char* comment;
    } cases[] = {
        {"Found", "editor.exe", "@%SystemRoot%\\system32\\shell32.dll,-20", expected},
        // A reference that names nothing gives way to the sub-folder.
        {"Lost", "viewer.exe", "@C:\\nowhere\\missing.dll,-22534", "Tools"},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(WriteLinkThroughShell(user + "Tools\\" + c.name + ".lnk",
                                          (targets + c.target).data, c.description, 0));
    CStartMenuScan scan;
    Scan(scan);
    for (const auto& c : cases) {
        const int at = Find(scan, c.name);
        ASSERT_GE(at, 0) << Dump(scan);
        EXPECT_EQ(Text(scan.proposals.items[at].comment), c.comment) << c.description;
    }
}

bool HoldsControlCharacter(const CString& text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data); p && *p; p++) {
        if (*p < 0x20 || *p == 0x7F)
            return true;
    }
    return false;
}

TEST_F(StartMenuScanTest, LineBreaksInTheLinkNeverReachTheProposal)
{
    const char injected[] = "\r\n[notepad2]\r\nPATH=evil.exe";
    const std::string description = std::string("説明") + injected;
    const std::string arguments = std::string("-x") + injected;
    const CString link = user + "Sneaky.lnk";
    ASSERT_TRUE(WriteLinkThroughShell(link, (targets + "editor.exe").data, description.c_str(), 0,
                                      arguments.c_str()));
    // The link really holds the line breaks.
    Zint_Std::ShortcutContents contents;
    CoInitialize(0);
    ASSERT_TRUE(Zint_Std::ReadShortcutFile(link.data, contents));
    CoUninitialize();
    ASSERT_TRUE(HoldsControlCharacter(contents.description));
    ASSERT_TRUE(HoldsControlCharacter(contents.arguments));

    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 1) << Dump(scan);
    const ShortcutProposal& proposal = scan.proposals.items[0];
    EXPECT_FALSE(HoldsControlCharacter(proposal.comment)) << Dump(scan);
    EXPECT_FALSE(HoldsControlCharacter(proposal.path)) << Dump(scan);
    EXPECT_FALSE(HoldsControlCharacter(proposal.folder)) << Dump(scan);
    EXPECT_EQ(Text(proposal.comment), "説明 [notepad2] PATH=evil.exe");
    EXPECT_EQ(Text(proposal.path), Text(targets) + "editor.exe -x [notepad2] PATH=evil.exe");
}

TEST_F(StartMenuScanTest, ANameInTheStoreInOtherLetterCaseGetsANumber)
{
    // The command file holds "calc".
    Link(user + "Calc.lnk", targets + "calc.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 1) << Dump(scan);
    EXPECT_EQ(Text(scan.proposals.items[0].name), "Calc2");
}

TEST_F(StartMenuScanTest, TheSameNameInTheUserAndTheCommonFolder)
{
    Link(user + "Viewer.lnk", targets + "viewer.exe");
    Link(common + "viewer.lnk", targets + "other.exe");
    Link(common + "Tools.lnk", targets + "editor.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 3) << Dump(scan);
    // The user's folder comes first and keeps the plain name.
    EXPECT_EQ(Text(scan.proposals.items[0].name), "Viewer");
    EXPECT_EQ(Text(scan.proposals.items[0].linkFile), Text(user + "Viewer.lnk"));
    const int second = Find(scan, "viewer2");
    ASSERT_GE(second, 0);
    EXPECT_EQ(Text(scan.proposals.items[second].path), Text(targets + "other.exe"));
    EXPECT_EQ(scan.FindProposedName("VIEWER2", -1), second);
    EXPECT_EQ(scan.FindProposedName("VIEWER2", second), -1);
}

TEST_F(StartMenuScanTest, ALinkToATargetAndArgumentsAlreadySeenIsLeftOut)
{
    Link(user + "Viewer.lnk", targets + "viewer.exe", "-a");
    Link(common + "Viewer.lnk", targets + "viewer.exe", "-a");
    Link(common + "Viewer Plain.lnk", targets + "viewer.exe");
    Link(common + "Other Case.lnk", targets + "VIEWER.EXE", "-a");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 2) << Dump(scan);
    EXPECT_EQ(Text(scan.proposals.items[0].linkFile), Text(user + "Viewer.lnk"));
    EXPECT_GE(Find(scan, "ViewerPlain"), 0);
}

TEST_F(StartMenuScanTest, ArgumentsFollowThePathAndTheWorkingFolderIsTheFolder)
{
    Link(user + "Edit Notes.lnk", targets + "editor.exe", "-n notes.txt", "C:\\Notes");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 1) << Dump(scan);
    const ShortcutProposal& proposal = scan.proposals.items[0];
    EXPECT_EQ(Text(proposal.name), "EditNotes");
    EXPECT_EQ(Text(proposal.path), Text(targets + "editor.exe -n notes.txt"));
    EXPECT_EQ(Text(proposal.folder), "C:\\Notes");
}

TEST_F(StartMenuScanTest, ATargetWithABlankIsQuotedAndItsFolderIsTheFolder)
{
    Link(user + "Tool.lnk", targets + "My Apps\\tool.exe");
    Link(user + "Tool Args.lnk", targets + "My Apps\\tool.exe", "/x");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 2) << Dump(scan);
    const int plain = Find(scan, "Tool");
    const int withArguments = Find(scan, "ToolArgs");
    ASSERT_GE(plain, 0);
    ASSERT_GE(withArguments, 0);
    EXPECT_EQ(Text(scan.proposals.items[plain].path),
              "\"" + Text(targets) + "My Apps\\tool.exe\"");
    EXPECT_EQ(Text(scan.proposals.items[withArguments].path),
              "\"" + Text(targets) + "My Apps\\tool.exe\" /x");
    // No working folder in the link: the target's own, without a closing
    // backslash.
    EXPECT_EQ(Text(scan.proposals.items[plain].folder), Text(targets) + "My Apps");
}

TEST_F(StartMenuScanTest, LinksWithoutAFilePathAndBrokenFilesAreLeftOut)
{
    // A shell item that is no file (the control panel), as advertised
    // shortcuts give no path either.
    ASSERT_TRUE(WriteLinkThroughShell(user + "Panel.lnk", nullptr, "", CSIDL_CONTROLS));
    ASSERT_TRUE(WriteTextFile(user + "Broken.lnk", "not a shortcut at all"));
    Link(user + "Editor.lnk", targets + "editor.exe");
    // Not a shortcut by its name.
    Link(user + "Viewer.lnkx", targets + "viewer.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 1) << Dump(scan);
    EXPECT_EQ(Text(scan.proposals.items[0].name), "Editor");
}

TEST_F(StartMenuScanTest, LongValuesAreCutToWhatTheLauncherReads)
{
    std::string arguments(600, 'a');
    std::string description;
    for (int i = 0; i < 60; i++)
        description += "説";
    ASSERT_TRUE(WriteLinkThroughShell(user + "Long.lnk", (targets + "editor.exe").data,
                                      description.c_str(), 0));
    Link(user + "Long Args.lnk", targets + "editor.exe", arguments.c_str());
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 2) << Dump(scan);
    const int longArguments = Find(scan, "LongArgs");
    const int longDescription = Find(scan, "Long");
    ASSERT_GE(longArguments, 0);
    ASSERT_GE(longDescription, 0);
    EXPECT_LE(scan.proposals.items[longArguments].path.GetLength(), kMaxPathBytes);
    EXPECT_EQ(Text(scan.proposals.items[longArguments].path).substr(0, targets.GetLength()),
              Text(targets));
    // 99 bytes hold 49 characters of two bytes each; the cut never halves one.
    EXPECT_EQ(scan.proposals.items[longDescription].comment.GetLength(), 98);
}

TEST_F(StartMenuScanTest, NamesAreUniqueAgainstTheStoreAndEachOther)
{
    Link(user + "calc.lnk", targets + "calc.exe");
    Link(user + "Tools\\Calc.lnk", targets + "calc.exe", "-x");
    Link(common + "CALC.lnk", targets + "other.exe");
    CStartMenuScan scan;
    Scan(scan);
    ASSERT_EQ(scan.proposals.count, 3) << Dump(scan);
    EXPECT_GE(Find(scan, "calc2"), 0);
    EXPECT_GE(Find(scan, "Calc3"), 0);
    EXPECT_GE(Find(scan, "CALC4"), 0);
    CCommandStore store(commandFile.data);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(Text(scan.UniqueName("calc", store, -1)), "calc5");
    EXPECT_EQ(Text(scan.UniqueName("Calc3", store, Find(scan, "Calc3"))), "Calc3");
    EXPECT_EQ(Text(scan.UniqueName("fresh", store, -1)), "fresh");
}

TEST(StartMenuFolders, TheUserAndTheCommonProgramsFolders)
{
    CArray<CString> folders;
    CStartMenuScan::ProgramFolders(folders);
    ASSERT_EQ(folders.count, 2);
    CString user, common;
    ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(user, CSIDL_PROGRAMS));
    ASSERT_TRUE(Zint_Std::GetSpecialFolderPath(common, CSIDL_COMMON_PROGRAMS));
    EXPECT_EQ(Text(folders.items[0]), Text(user));
    EXPECT_EQ(Text(folders.items[1]), Text(common));
    EXPECT_TRUE(Zint_Std::EndsWithBackslash(folders.items[0].data));
}

TEST(PlainText, ControlCharactersGoAndDoubleByteCharactersStayWhole)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"plain text", "plain text"},
        {"", ""},
        {"a\rb", "a b"},
        {"a\nb", "a b"},
        {"a\r\nb", "a b"},
        {"a\tb", "a b"},
        {"a\x7F"
         "b",
         "a b"},
        {"\x01\x1F", ""},
        // No doubled blank beside a blank that was there, none at the ends.
        {"a \r\n b", "a b"},
        {"\r\n[x]\r\nPATH=evil.exe\r\n", "[x] PATH=evil.exe"},
        // Trail bytes in 0x40..0x7E (0x5C, 0x7C) are part of their characters.
        {"表示\r\n", "表示"},
        {"ソフト\tウェア", "ソフト ウェア"},
        {"ポ\n", "ポ"},
        // A lead byte before a control byte or the end is no character.
        {"\x95\r\nx", "x"},
        {"ab\x83", "ab"},
    };
    for (const auto& item : cases)
        EXPECT_EQ(Text(WithoutControlCharacters(item.text)), item.expected) << item.text;
}

TEST(CommandNames, BlanksAndCharactersANameCannotHoldAreDropped)
{
    EXPECT_EQ(Text(CommandNameFromText("Quick Edit")), "QuickEdit");
    EXPECT_EQ(Text(CommandNameFromText("\tTab\tbed ")), "Tabbed");
    EXPECT_EQ(Text(CommandNameFromText("[x] y]")), "xy");
    EXPECT_EQ(Text(CommandNameFromText("メモ帳　(新)")), "メモ帳(新)");
    // Trail bytes that equal a bracket or a backslash stay with their character.
    EXPECT_EQ(Text(CommandNameFromText("ソフト")), "ソフト");
    EXPECT_EQ(Text(CommandNameFromText("ab\x83")), "ab");
    EXPECT_EQ(Text(CommandNameFromText(" [ ] ")), "");
}

}  // namespace
