// The real launcher at the keyboard beyond the prefix completion: a name
// found by a part of it, candidates in the order of use after real runs, and
// a sum worked out in the box and put on the clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>
#include <string.h>

#include "launcher/ui_driver.h"
#include "support/files.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

bool ListShown(void* launcher)
{
    return static_cast<CLauncherUnderTest*>(launcher)->ToolTipShown();
}

CString ClipboardText()
{
    CString text;
    if (!OpenClipboard(0))
        return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : 0;
    if (bytes) {
        text.Assign(bytes);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool ClipboardHolds(void* expected)
{
    return strcmp(ClipboardText().Text(),
                  static_cast<const char*>(expected)) == 0;
}

}  // namespace

// The messages an IME sends to the box, sent as it sends them; keys posted.
TEST(BeyondPrefixUiTest, AConversionInTheBoxCompletesRunsAndCalculatesNothing)
{
    const CString work = MakeScratchFolder("ime-box");
    CString commands;
    commands.Format("[notepad]\r\nPATH=notepad.exe\r\n[nslookup]\r\nPATH=nslookup.exe\r\n"
                    "[prz]\r\nPATH=\"%s\"\r\n",
                    (Zint_Std::ModuleFolder(0) + "launch_probe.exe").data);
    SetEnvironmentVariableA("QUELT_PROBE_OUT", (work + "probe.txt").data);
    CLauncherUnderTest launcher;
    ASSERT_TRUE(launcher.Start(commands.data, "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nImeCtrl=0\r\n"));
    SetEnvironmentVariableA("QUELT_PROBE_OUT", 0);
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    ASSERT_TRUE(launcher.ShowWithHotKey());
    HWND edit = launcher.edit;

    // The preview waits for the end of the conversion.
    SendMessageA(edit, WM_IME_STARTCOMPOSITION, 0, 0);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("＝２＊２１"));
    SendMessageA(edit, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    EXPECT_FALSE(launcher.ToolTipShown());
    SendMessageA(edit, WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_TRUE(WaitUntil(ListShown, &launcher));

    // A list shown before stays as it was; the char posted last is the
    // sign that the keys before it have been handled.
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("n"));
    SendMessageA(edit, EM_SETSEL, 1, 1);
    PostMessageA(edit, WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(WaitUntil(ListShown, &launcher));
    SendMessageA(edit, WM_IME_STARTCOMPOSITION, 0, 0);
    PostMessageA(edit, WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_TRUE(launcher.WaitEditText("nx")) << launcher.EditText().data;
    EXPECT_TRUE(launcher.ToolTipShown());

    // The Enter of the conversion runs nothing, the next one runs the line.
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("prz"));
    SendMessageA(edit, EM_SETSEL, 3, 3);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(edit, WM_KEYDOWN, VK_PROCESSKEY, 0);
    PostMessageA(edit, WM_CHAR, ' ', 0);
    EXPECT_TRUE(launcher.WaitEditText("prz ")) << launcher.EditText().data;
    EXPECT_FALSE(Zint_Std::PathExists((work + "probe.txt").data));
    SendMessageA(edit, WM_IME_ENDCOMPOSITION, 0, 0);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitForFile(work + "probe.txt", kUiTimeoutMs));
    RemoveScratchFolder(work);
}

TEST(BeyondPrefixUiTest, PartsOfNamesUseOrderAndArithmeticAtTheKeyboard)
{
    const CString work = MakeScratchFolder("beyond-prefix");
    const CString probe = Zint_Std::ModuleFolder(0) + "launch_probe.exe";
    CString commands;
    commands.Format("[notepad]\r\nPATH=notepad.exe\r\n[proA]\r\nPATH=a.exe\r\n"
                    "[proB]\r\nPATH=b.exe\r\n[prz]\r\nPATH=\"%s\"\r\n",
                    probe.data);
    SetEnvironmentVariableA("QUELT_PROBE_OUT", (work + "probe.txt").data);
    CLauncherUnderTest launcher;
    ASSERT_TRUE(launcher.Start(commands.data,
                               "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nRank=1\r\n"));
    SetEnvironmentVariableA("QUELT_PROBE_OUT", 0);
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));

    // No name begins with "ntpd": the list holds notepad, the box stays.
    ASSERT_TRUE(launcher.ShowWithHotKey());
    ASSERT_TRUE(launcher.Type("ntpd"));
    ASSERT_TRUE(launcher.WaitEditText("ntpd"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    EXPECT_TRUE(launcher.WaitEditText("notepad "));

    // Three runs of the last of the "pr" names put it first.
    for (int run = 0; run < 3; run++) {
        ASSERT_TRUE(launcher.Keys("ctrl+l"));
        ASSERT_TRUE(launcher.Type("prz"));
        ASSERT_TRUE(launcher.WaitEditText("prz")) << "run " << run;
        ASSERT_TRUE(launcher.Keys("Return"));
        ASSERT_TRUE(WaitForFile(work + "probe.txt", kUiTimeoutMs)) << "run " << run;
        DeleteFileA((work + "probe.txt").data);
        // The started program may have taken the X focus.
        ASSERT_TRUE(launcher.ShowWithHotKey());
        ASSERT_TRUE(launcher.FocusBoxForKeys());
    }
    ASSERT_TRUE(launcher.Type("pr"));
    ASSERT_TRUE(launcher.WaitEditText("pr"));
    ASSERT_TRUE(launcher.Keys("Tab"));
    ASSERT_TRUE(WaitUntil(ListShown, &launcher));
    EXPECT_TRUE(launcher.WaitEditText("pr"));  // the shared part, as without ranking
    ASSERT_TRUE(launcher.Keys("Tab"));
    EXPECT_TRUE(launcher.WaitEditText("prz "));
    ASSERT_TRUE(launcher.Keys("Tab"));
    EXPECT_TRUE(launcher.WaitEditText("proA "));

    // A sum: its result below the box while typing, on the clipboard on Enter.
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("=2*21"));
    ASSERT_TRUE(launcher.WaitEditText("=2*21"));
    EXPECT_TRUE(WaitUntil(ListShown, &launcher));
    TakeScreenshot("launcher_calculation");
    ASSERT_TRUE(launcher.Keys("Return"));
    EXPECT_TRUE(launcher.WaitHidden());
    EXPECT_TRUE(WaitUntil(ClipboardHolds, const_cast<char*>("42")))
        << "the clipboard holds '" << ClipboardText().data << "'";
    EXPECT_TRUE(Zint_Std::PathExists((launcher.folder + "quelt_use.txt").data));
    RemoveScratchFolder(work);
}

// Japanese at the keyboard: kana of the other script and romaji find
// commands by their comments, and a sum in full-width characters is
// worked out.
TEST(BeyondPrefixUiTest, KanaRomajiAndFullWidthSumsAtTheKeyboard)
{
    CLauncherUnderTest launcher;
    ASSERT_TRUE(launcher.Start("[notepad]\r\nPATH=notepad.exe\r\nCOMMENT=メモ帳\r\n"
                               "[wordpad]\r\nPATH=wordpad.exe\r\nCOMMENT=メモより多機能\r\n",
                               "[HotKey]\r\nALT=1\r\nKey=49\r\n[QUELT]\r\nCatalog=0\r\n"));
    ASSERT_TRUE(launcher.WaitUntilHotKeyHeld(MOD_ALT, '1'));
    ASSERT_TRUE(launcher.ShowWithHotKey());
    const char* const typed[] = {"めも", "memo"};
    for (const char* text : typed) {
        ASSERT_TRUE(launcher.Keys("ctrl+l"));
        ASSERT_TRUE(launcher.Type(text));
        ASSERT_TRUE(launcher.WaitEditText(text)) << launcher.EditText().data;
        ASSERT_TRUE(launcher.Keys("Tab"));
        EXPECT_TRUE(WaitUntil(ListShown, &launcher)) << text;
        ASSERT_TRUE(launcher.Keys("Tab"));
        EXPECT_TRUE(launcher.WaitEditText("notepad ")) << text;
    }
    ASSERT_TRUE(launcher.Keys("ctrl+l"));
    ASSERT_TRUE(launcher.Type("＝６＊７"));
    ASSERT_TRUE(launcher.WaitEditText("＝６＊７")) << launcher.EditText().data;
    ASSERT_TRUE(launcher.Keys("Return"));
    EXPECT_TRUE(launcher.WaitHidden());
    EXPECT_TRUE(WaitUntil(ClipboardHolds, const_cast<char*>("42")))
        << "the clipboard holds '" << ClipboardText().data << "'";
}
