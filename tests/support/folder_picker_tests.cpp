#include "support/files.h"

#include <objbase.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include <gtest/gtest.h>

#include "test_paths.h"

using Zint_Std::CFolderPicker;
using Zint_Std::CString;

namespace {

// The dialog runs its own modal loop; a thread timer answers it from there
// the way a user would, once it is on screen.
struct DialogAnswer {
    WPARAM button = IDCANCEL;
    int ticks = 0;
    bool answered = false;
    std::string texts;          // every text shown in the dialog
    std::string selection;      // answer only once the tree shows this item
    std::string selectionPath;  // the folder the user picks
};

DialogAnswer* g_answer = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM)
{
    char text[512] = {0};
    SendMessageA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    g_answer->texts += text;
    g_answer->texts += "\n";
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[32] = {0};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The text of the item selected in the dialog's folder tree.
std::string SelectedItemText(HWND dialog)
{
    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree)
        return std::string();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item)
        return std::string();
    char text[MAX_PATH] = {0};
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof(text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (++g_answer->ticks > 300) {
        // Nothing to answer after 30 s: close whatever is open so the test
        // fails instead of hanging the run.
        KillTimer(nullptr, timer);
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (!dialog || g_answer->answered)
        return;
    if (!IsWindowEnabled(dialog))
        return;
    // The user picks the folder in the tree, then answers. (Wine does not
    // always apply the selection made while the dialog initialises.)
    if (!g_answer->selection.empty() && SelectedItemText(dialog) != g_answer->selection) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                     reinterpret_cast<LPARAM>(g_answer->selectionPath.c_str()));
        return;
    }
    EnumChildWindows(dialog, CollectText, 0);
    g_answer->answered = true;
    KillTimer(nullptr, timer);
    PostMessageA(dialog, WM_COMMAND, g_answer->button, 0);
}

class FolderPickerTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        g_answer = &answer;
    }
    void TearDown() override
    {
        g_answer = nullptr;
        CoUninitialize();
    }

    bool BrowseAnswering(CFolderPicker& picker, WPARAM button)
    {
        answer.button = button;
        SetTimer(nullptr, 0, 100, AnswerDialog);
        return picker.Browse();
    }

    DialogAnswer answer;
};

}  // namespace

TEST_F(FolderPickerTest, ConstructionDefaults)
{
    CFolderPicker picker(nullptr, CString("選択"), CString());
    EXPECT_EQ(GetDesktopWindow(), picker.owner);
    EXPECT_EQ(512, picker.result.capacity);
    EXPECT_TRUE(picker.result.IsEmpty());
    EXPECT_STREQ("選択", picker.title.data);
}

TEST_F(FolderPickerTest, CancelKeepsThePreviousResult)
{
    CFolderPicker picker(nullptr, CString("フォルダを選択してください"), CString());
    picker.result.Assign("C:\\previous\\");
    EXPECT_FALSE(BrowseAnswering(picker, IDCANCEL));
    EXPECT_TRUE(answer.answered) << "the folder dialog never appeared";
    EXPECT_STREQ("C:\\previous\\", picker.result.data);
    EXPECT_NE(std::string::npos, answer.texts.find("フォルダを選択してください")) << answer.texts;
}

TEST_F(FolderPickerTest, OkReturnsTheChosenFolderWithBackslash)
{
    CString folder = MakeScratchFolder("picker");
    CString withoutSlash(folder);
    withoutSlash.Delete(withoutSlash.GetLength() - 1, 1);
    CFolderPicker picker(nullptr, CString("インストール先"), withoutSlash);
    answer.selection = "picker";
    answer.selectionPath = withoutSlash.data;
    EXPECT_TRUE(BrowseAnswering(picker, IDOK));
    EXPECT_TRUE(answer.answered) << "the folder dialog never appeared";
    EXPECT_TRUE(picker.result.EqualsNoCase(folder)) << picker.result.data;
    RemoveScratchFolder(folder);
}

namespace {

// Records the selection requests that reach it.
struct SelectionRecord {
    int count = 0;
    WPARAM isPath = 0;
    LPARAM path = 0;
};

SelectionRecord g_record;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BFFM_SETSELECTIONA) {
        g_record.count++;
        g_record.isPath = wParam;
        g_record.path = lParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(FolderPickerCallback, SelectsTheInitialFolderOnInitialisationOnly)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QUELT_PICKER_RECORDER";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "QUELT_PICKER_RECORDER", "", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    const char* folder = "C:\\ソフト\\表";
    g_record = SelectionRecord();
    EXPECT_EQ(0, CFolderPicker::SelectInitialFolder(window, BFFM_SELCHANGED, 0,
                                                    reinterpret_cast<LPARAM>(folder)));
    EXPECT_EQ(0, g_record.count);
    EXPECT_EQ(0, CFolderPicker::SelectInitialFolder(window, BFFM_INITIALIZED, 0,
                                                    reinterpret_cast<LPARAM>(folder)));
    EXPECT_EQ(1, g_record.count);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), g_record.isPath);
    EXPECT_EQ(reinterpret_cast<LPARAM>(folder), g_record.path);
    DestroyWindow(window);
}
