// Pinlet's rules on their own: the command line as the runtime splits it,
// the switches, the path as it goes into the atom, the install record, and
// the launcher's message filter.
#include <gtest/gtest.h>

#include <string.h>

#include "command_line.h"
#include "install_folder.h"
#include "launcher/message_filter.h"
#include "pinlet_driver.h"
#include "support/registry.h"

using Zint_Std::CString;

namespace {

TEST(PinletCommandLineTest, TheProgramNameIsSkippedQuotedOrNot)
{
    EXPECT_STREQ("-a", ArgumentsAfterProgramName("\"C:\\Program Files\\Quelt\\Pinlet.exe\" -a"));
    EXPECT_STREQ("-d", ArgumentsAfterProgramName("C:\\Quelt\\Pinlet.exe -d"));
    EXPECT_STREQ("", ArgumentsAfterProgramName("\"C:\\Program Files\\Quelt\\Pinlet.exe\""));
    EXPECT_STREQ("", ArgumentsAfterProgramName("Pinlet.exe"));
    EXPECT_STREQ("", ArgumentsAfterProgramName("Pinlet.exe   \t "));
    EXPECT_STREQ("", ArgumentsAfterProgramName(""));
    EXPECT_STREQ("", ArgumentsAfterProgramName(0));
    // An unclosed quote takes the whole line as the name.
    EXPECT_STREQ("", ArgumentsAfterProgramName("\"C:\\Quelt\\Pinlet.exe -a"));
    // The closing quote ends the name even without a blank after it.
    EXPECT_STREQ("x.txt", ArgumentsAfterProgramName("\"Pinlet.exe\"x.txt"));
}

TEST(PinletCommandLineTest, WhatFollowsTheNameIsKeptWhole)
{
    // Leading blanks go, everything else stays: inner quotes, inner and
    // trailing blanks.
    EXPECT_STREQ("\"C:\\a b\\one.txt\" \"C:\\c d\\two.txt\"  ",
                 ArgumentsAfterProgramName(
                     "Pinlet.exe \t  \"C:\\a b\\one.txt\" \"C:\\c d\\two.txt\"  "));
    // A double-byte name whose trail byte is a backslash or blank-like byte
    // is stepped over as one character.
    EXPECT_STREQ("C:\\x", ArgumentsAfterProgramName("\"C:\\表\\Pinlet.exe\" C:\\x"));
    EXPECT_STREQ("C:\\x", ArgumentsAfterProgramName("C:\\表示\\Pinlet.exe C:\\x"));
}

TEST(PinletCommandLineTest, SwitchesMatchExactly)
{
    EXPECT_EQ(kAddShortcut, ActionOfArguments("-a"));
    EXPECT_EQ(kDeleteShortcut, ActionOfArguments("-d"));
    EXPECT_EQ(kToggleShortcut, ActionOfArguments(""));
    EXPECT_EQ(kToggleShortcut, ActionOfArguments(0));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("-A"));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("-D"));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("-a "));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("/a"));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("-ad"));
    EXPECT_EQ(kRegisterPath, ActionOfArguments(" "));
    EXPECT_EQ(kRegisterPath, ActionOfArguments("C:\\memo.txt"));
}

TEST(PinletPathTest, OnePairOfEnclosingQuotesIsRemoved)
{
    EXPECT_STREQ("C:\\My Files\\a b.txt", PathForAtom("\"C:\\My Files\\a b.txt\"").data);
    EXPECT_STREQ("C:\\plain.txt", PathForAtom("C:\\plain.txt").data);
    EXPECT_STREQ("C:\\a b\\one.txt\" \"C:\\c d\\two.txt",
                 PathForAtom("\"C:\\a b\\one.txt\" \"C:\\c d\\two.txt\"").data);
    EXPECT_STREQ("\"inner\"", PathForAtom("\"\"inner\"\"").data);
    // Only a quote at both ends counts.
    EXPECT_STREQ("\"C:\\open.txt", PathForAtom("\"C:\\open.txt").data);
    EXPECT_STREQ("C:\\close.txt\"", PathForAtom("C:\\close.txt\"").data);
    EXPECT_TRUE(PathForAtom("\"\"").IsEmpty());
    // A lone quote is not a pair.
    EXPECT_STREQ("\"", PathForAtom("\"").data);
    EXPECT_STREQ("C:\\日本語\\表.txt", PathForAtom("\"C:\\日本語\\表.txt\"").data);
}

CString Repeated(const char* piece, const int& times)
{
    CString text;
    for (int i = 0; i < times; ++i)
        text.Append(piece);
    return text;
}

TEST(PinletPathTest, LongPathsAreCutToTheLongestAtomNameBetweenCharacters)
{
    CString single = CString("C:\\") + Repeated("a", 297);
    ASSERT_EQ(300, single.GetLength());
    CString cut = PathForAtom(single.data);
    EXPECT_EQ(255, cut.GetLength());
    EXPECT_EQ(0, strncmp(single.data, cut.data, 255));

    // "C:\a" and double-byte characters: the 126th ends at byte 256, so the
    // cut comes before it, at 254.
    CString split = CString("C:\\a") + Repeated("表", 148);
    ASSERT_EQ(300, split.GetLength());
    cut = PathForAtom(split.data);
    EXPECT_EQ(254, cut.GetLength());
    EXPECT_EQ(0, strncmp(split.data, cut.data, 254));

    // "C:\" and double-byte characters: the 126th ends exactly at byte 255.
    CString even = CString("C:\\") + Repeated("表", 148) + "b";
    ASSERT_EQ(300, even.GetLength());
    cut = PathForAtom(even.data);
    EXPECT_EQ(255, cut.GetLength());
    EXPECT_EQ(0, strncmp(even.data, cut.data, 255));

    // The quotes go before the cut is measured.
    CString quoted = CString("\"") + Repeated("x", 255) + "\"";
    EXPECT_EQ(255, PathForAtom(quoted.data).GetLength());
    CString exact = Repeated("y", 255);
    EXPECT_STREQ(exact.data, PathForAtom(exact.data).data);
}

// The suite's registry key under one root, made for a test and removed
// again when the test made it.
class CScratchSuiteKey {
public:
    HKEY root;
    bool made;
    explicit CScratchSuiteKey(HKEY rootKey) : root(rootKey), made(false) {}
    ~CScratchSuiteKey()
    {
        if (made)
            RegDeleteKeyA(root, "SoftWare\\QUELT_");
    }
    bool Make(const char* value)
    {
        Zint_Std::CRegistryKey key;
        if (key.Open(root, "SoftWare\\QUELT_\\", false, false))
            return false;  // not ours to change
        if (!key.Open(root, "SoftWare\\QUELT_\\", true, true))
            return false;
        made = true;
        return !value || key.SetString("InstFolder", CString(value));
    }
};

TEST(PinletInstallFolderTest, ThePerUserRecordServesWhenNoMachineKeyOpens)
{
    ASSERT_FALSE(MachineWideRecordExists()) << "an installation is recorded machine-wide";
    {
        CScratchSuiteKey user(HKEY_CURRENT_USER);
        ASSERT_TRUE(user.Make("C:\\ユーザー\\Quelt\\"));
        EXPECT_STREQ("C:\\ユーザー\\Quelt\\", ReadInstallFolder().data);
    }
    {
        // The key without the value gives nothing.
        CScratchSuiteKey user(HKEY_CURRENT_USER);
        ASSERT_TRUE(user.Make(0));
        EXPECT_TRUE(ReadInstallFolder().IsEmpty());
    }
    EXPECT_TRUE(ReadInstallFolder().IsEmpty());
}

TEST(PinletInstallFolderTest, AMachineKeyThatOpensWinsEvenWithoutTheValue)
{
    ASSERT_FALSE(MachineWideRecordExists()) << "an installation is recorded machine-wide";
    CScratchSuiteKey user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.Make("C:\\PerUser\\"));
    {
        CScratchSuiteKey machine(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(machine.Make("C:\\Program Files\\Quelt\\"));
        EXPECT_STREQ("C:\\Program Files\\Quelt\\", ReadInstallFolder().data);
    }
    {
        CScratchSuiteKey machine(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(machine.Make(0));
        EXPECT_TRUE(ReadInstallFolder().IsEmpty());
    }
    EXPECT_STREQ("C:\\PerUser\\", ReadInstallFolder().data);
}

TEST(LauncherMessageFilterTest, TheRegistrationMessageIsAllowedForTheWindow)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, 0);
    ASSERT_NE(static_cast<HWND>(0), window);
    // This system has the per-window filter, so that is the route taken.
    ASSERT_NE(static_cast<FARPROC>(0),
              GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx"));
    EXPECT_EQ(kFilterForWindow, AllowMessageFromLowerIntegrity(window, WM_USER + 0x47F));
    DestroyWindow(window);
}

}  // namespace
