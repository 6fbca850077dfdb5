// Resource scripts are UTF-8 with #pragma code_page(65001); the programs read
// their texts back in code page 932, equal to the Shift-JIS literals of the
// sources.
#include <windows.h>

#include <gtest/gtest.h>

TEST(ResourceTexts, StringTableIsShiftJis)
{
    char text[64] = {0};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof(text)), 0);
    EXPECT_STREQ("バージョン情報", text);
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), 2, text, sizeof(text)), 0);
    EXPECT_STREQ("ソフト表示能", text);
    EXPECT_EQ('\x83', text[0]);
    EXPECT_EQ('\x5c', text[1]);
}

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

TEST(ResourceTexts, DialogCaptionAndControlText)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), nullptr,
                                     PlainDialog, 0);
    ASSERT_NE(nullptr, dialog);
    char text[64] = {0};
    GetWindowTextA(dialog, text, sizeof(text));
    EXPECT_STREQ("警告", text);
    GetDlgItemTextA(dialog, 101, text, sizeof(text));
    EXPECT_STREQ("報告", text);
    DestroyWindow(dialog);
}

TEST(SourceLiterals, AreShiftJis)
{
    const char text[] = "表";
    ASSERT_EQ(3u, sizeof(text));
    EXPECT_EQ('\x95', text[0]);
    EXPECT_EQ('\x5c', text[1]);
}
