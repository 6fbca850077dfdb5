// Tab completion over a command file in a scratch folder, the input
// history, and the candidate list window with a real owner window.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "launcher/command_list.h"
#include "launcher/input_history.h"
#include "launcher/tooltip_window.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

const char kOwnerClass[] = "QUELT_TEST_TOOLTIP_OWNER";
const DWORD kTimeoutMs = 5000;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window standing in for the launcher's main window.
HWND CreateOwnerWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass;
        memset(&windowClass, 0, sizeof(windowClass));
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleA(0);
        windowClass.hCursor = LoadCursorA(0, IDC_ARROW);
        windowClass.lpszClassName = kOwnerClass;
        registered = RegisterClassA(&windowClass) != 0;
    }
    return CreateWindowExA(0, kOwnerClass, "owner", WS_POPUP | WS_CAPTION, 100, 100, 300, 60, 0,
                           0, GetModuleHandleA(0), 0);
}

// Hands the queued messages to their windows.
void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Pumps until the window holds nothing more to paint.
bool WaitUntilPainted(HWND window)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        if (!GetUpdateRect(window, 0, FALSE))
            return true;
        MsgWaitForMultipleObjects(0, 0, FALSE, 20, QS_ALLINPUT);
    } while (GetTickCount() - start < kTimeoutMs);
    return false;
}

// The fixed-pitch font the list measures and draws with, as the list's
// documentation describes it.
void ListFont(LOGFONTA& font)
{
    memset(&font, 0, sizeof(font));
    font.lfHeight = -13;
    font.lfWeight = 400;
    font.lfCharSet = 128;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 0x31;
    lstrcpynA(font.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
}

SIZE MeasureRow(const char* text)
{
    LOGFONTA description;
    ListFont(description);
    HDC screen = GetDC(0);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(0, screen);
    return size;
}

CString Blanks(const int& count)
{
    CString text;
    for (int i = 0; i < count; i++)
        text.AppendChar(' ');
    return text;
}

CString Repeated(const char& c, const int& count)
{
    CString text;
    for (int i = 0; i < count; i++)
        text.AppendChar(c);
    return text;
}

CString Row(const Zint_Std::CStringPair& entry)
{
    CString row(entry.first);
    row.Append(entry.second);
    return row;
}

// The command file in a scratch folder, its list, and the candidate window
// that completion fills.
class CompletionTest : public ::testing::Test {
protected:
    CString folder;
    CString commandFile;
    HWND owner;
    CToolTipWindow* list;

    void SetUp() override
    {
        folder = MakeScratchFolder("completion");
        commandFile = folder + "quelt_cmd.txt";
        owner = CreateOwnerWindow();
        ASSERT_TRUE(owner != 0);
        list = CreateToolTipWindow(GetModuleHandleA(0), owner);
        ASSERT_TRUE(list != 0);
        ASSERT_TRUE(list->window != 0);
    }
    void TearDown() override
    {
        DestroyToolTipWindow();
        if (owner)
            DestroyWindow(owner);
        PumpMessages();
        RemoveScratchFolder(folder);
    }

    // Writes the command file and loads it into commands.
    void Commands(CCommandList*& commands, const char* text)
    {
        ASSERT_TRUE(WriteTextFile(commandFile, text));
        commands = new CCommandList(folder);
        ASSERT_EQ(1, commands->Load());
    }

    CString Complete(CCommandList& commands, const char* typed, const bool& withList = true)
    {
        CString result;
        commands.Complete(result, CString(typed), withList ? list : 0);
        return result;
    }

    // A leftover row, which every completion must remove first.
    void PutStaleRow()
    {
        ASSERT_TRUE(list->entries.Allocate(1));
        list->entries.items[0].first.Assign("stale");
        list->entries.items[0].second.Assign(" : old");
    }
};

const char kNoteCommands[] =
    "[notepad]\r\nPATH=notepad.exe\r\nCOMMENT=メモ帳\r\n"
    "[notebook]\r\nPATH=nb.exe\r\nCOMMENT=NB\r\n"
    "[nslookup]\r\nPATH=nslookup.exe\r\nCOMMENT=名前解決\r\n"
    "[calc]\r\nPATH=calc.exe\r\nCOMMENT=電卓\r\n"
    "[xnote]\r\nPATH=x.exe\r\n";

}  // namespace

// --- Complete: which names are candidates, and the result -----------------

TEST_F(CompletionTest, NoMatchGivesNothingAndEmptiesTheList)
{
    CCommandList* commands = 0;
    Commands(commands, kNoteCommands);
    PutStaleRow();
    EXPECT_TRUE(Complete(*commands, "zz").IsEmpty());
    EXPECT_EQ(0, list->entries.count);
    // A name that holds the text further in is no candidate, unless the
    // search by a part of the name is on.
    commands->matchBeyondPrefix = 0;
    EXPECT_TRUE(Complete(*commands, "ote").IsEmpty());
    // Nothing typed: nothing completed, and the list is emptied as well.
    PutStaleRow();
    EXPECT_TRUE(Complete(*commands, "").IsEmpty());
    EXPECT_EQ(0, list->entries.count);
    delete commands;
}

TEST_F(CompletionTest, OneMatchGivesTheWholeNameAndOneBlank)
{
    CCommandList* commands = 0;
    Commands(commands, kNoteCommands);
    PutStaleRow();
    CString result = Complete(*commands, "ca");
    EXPECT_STREQ("calc ", result.data);
    // One candidate is not listed.
    EXPECT_EQ(0, list->entries.count);
    // The name's own spelling, whatever the letter case typed.
    EXPECT_STREQ("nslookup ", Complete(*commands, "NSL").data);
    EXPECT_STREQ("xnote ", Complete(*commands, "xnote").data);
    // Without a list the result is the same.
    EXPECT_STREQ("calc ", Complete(*commands, "CAL", false).data);
    delete commands;
}

TEST_F(CompletionTest, TwoMatchesGiveTheirCommonPartAndAreListedInOrder)
{
    CCommandList* commands = 0;
    Commands(commands, kNoteCommands);
    CString result = Complete(*commands, "no");
    EXPECT_STREQ("note", result.data);
    ASSERT_EQ(2, list->entries.count);
    EXPECT_STREQ("notebook", list->entries.items[0].first.data);
    EXPECT_STREQ("notepad", list->entries.items[1].first.data);
    // Sharing only the typed letter adds nothing, and no blank.
    EXPECT_STREQ("n", Complete(*commands, "n").data);
    ASSERT_EQ(3, list->entries.count);
    EXPECT_STREQ("notebook", list->entries.items[0].first.data);
    EXPECT_STREQ("notepad", list->entries.items[1].first.data);
    EXPECT_STREQ("nslookup", list->entries.items[2].first.data);
    delete commands;
}

TEST_F(CompletionTest, ManyMatchesStopAtTheFirstDifference)
{
    CCommandList* commands = 0;
    Commands(commands,
             "[server-web-02]\r\nPATH=a\r\n[server-mail]\r\nPATH=b\r\n[server-web-01]\r\nPATH=c\r\n"
             "[Server-Web-10]\r\nPATH=d\r\n[serve]\r\nPATH=e\r\n[setup]\r\nPATH=f\r\n"
             "[other]\r\nPATH=g\r\n");
    EXPECT_STREQ("se", Complete(*commands, "se").data);
    EXPECT_EQ(6, list->entries.count);
    // "serve" ends first: what the others share with it is all there is.
    EXPECT_STREQ("serve", Complete(*commands, "ser").data);
    EXPECT_EQ(5, list->entries.count);
    EXPECT_STREQ("server-", Complete(*commands, "server").data);
    EXPECT_EQ(4, list->entries.count);
    // Letter case aside, the three web servers share "server-web-"; the
    // added part is spelled as the first in sorted order.
    EXPECT_STREQ("server-web-", Complete(*commands, "server-w").data);
    ASSERT_EQ(3, list->entries.count);
    EXPECT_STREQ("server-web-01", list->entries.items[0].first.data);
    EXPECT_STREQ("server-web-02", list->entries.items[1].first.data);
    EXPECT_STREQ("Server-Web-10", list->entries.items[2].first.data);
    EXPECT_STREQ("server-web-0", Complete(*commands, "server-web-0").data);
    EXPECT_EQ(2, list->entries.count);
    delete commands;
}

TEST_F(CompletionTest, TypedSpellingIsKeptAndTheAddedPartIsTheFirstCandidates)
{
    CCommandList* commands = 0;
    Commands(commands, kNoteCommands);
    EXPECT_STREQ("NOte", Complete(*commands, "NO").data);
    EXPECT_STREQ("nOte", Complete(*commands, "nO").data);
    EXPECT_EQ(2, list->entries.count);
    delete commands;

    // The first in sorted order decides the spelling of the added part.
    Commands(commands, "[ABCdef1]\r\nPATH=a\r\n[abcDEF2]\r\nPATH=b\r\n");
    EXPECT_STREQ("aBCdef", Complete(*commands, "aB").data);
    delete commands;
}

TEST_F(CompletionTest, CandidatesThatEndTogetherGiveTheWholeName)
{
    CCommandList* commands = 0;
    Commands(commands, "[Mail]\r\nPATH=a\r\nCOMMENT=one\r\n[MAIL]\r\nPATH=b\r\n[maker]\r\nPATH=c\r\n");
    CString result = Complete(*commands, "mai");
    ASSERT_EQ(2, list->entries.count);
    // Typed part as typed, the rest as the first candidate spells it.
    CString expected("mai");
    expected.Append(list->entries.items[0].first.data + 3);
    EXPECT_STREQ(expected.data, result.data);
    EXPECT_EQ(4, result.GetLength());
    delete commands;
}

TEST_F(CompletionTest, TheAddedPartIsAtMost65BytesAndAlwaysShared)
{
    CCommandList* commands = 0;
    const CString shared = CString("a") + Repeated('x', 70);
    CString text = CString("[") + shared + "1]\r\nPATH=a\r\n[" + shared + "2]\r\nPATH=b\r\n";
    Commands(commands, text.data);
    ASSERT_EQ(2, commands->names.count);
    CString result = Complete(*commands, "a");
    // Never the first candidate's own ending: only what both share, cut at
    // 65 bytes after the typed text.
    EXPECT_STREQ((CString("a") + Repeated('x', 65)).data, result.data);
    EXPECT_EQ(2, list->entries.count);
    delete commands;

    // The cut never splits a double-byte character.
    const CString before = CString("a") + Repeated('x', 64) + "ノ";
    text = CString("[") + before + "1]\r\nPATH=a\r\n[" + before + "2]\r\nPATH=b\r\n";
    Commands(commands, text.data);
    result = Complete(*commands, "a");
    EXPECT_STREQ((CString("a") + Repeated('x', 64)).data, result.data);
    delete commands;
}

// --- Complete with double-byte names --------------------------------------

TEST_F(CompletionTest, DoubleByteNamesMatchByteForByte)
{
    CCommandList* commands = 0;
    // ア is 83 41 ("A" as second byte), ヂ is 83 61 ("a" as second byte).
    Commands(commands,
             "[アイ]\r\nPATH=a\r\n[ヂヂ]\r\nPATH=b\r\n[ノート]\r\nPATH=c\r\nCOMMENT=帳面\r\n"
             "[ノーブ]\r\nPATH=d\r\n[ノア]\r\nPATH=e\r\n[ノヂ]\r\nPATH=f\r\n");
    ASSERT_EQ(6, commands->names.count);
    // A second byte is never folded: ア and ヂ differ.
    EXPECT_STREQ("アイ ", Complete(*commands, "ア").data);
    EXPECT_EQ(0, list->entries.count);
    EXPECT_STREQ("ヂヂ ", Complete(*commands, "ヂ").data);
    EXPECT_STREQ("ノート ", Complete(*commands, "ノート").data);
    delete commands;
}

TEST_F(CompletionTest, TypedLettersNeverMatchSecondBytes)
{
    CCommandList* commands = 0;
    // "x" then ヂ (83 61) or ア (83 41); "x\x83" then "a" is not a name.
    Commands(commands,
             "[xヂ1]\r\nPATH=a\r\n[xア2]\r\nPATH=b\r\n[xa3]\r\nPATH=c\r\n[XA4]\r\nPATH=d\r\n");
    ASSERT_EQ(4, commands->names.count);
    // "xa" is a letter followed by a letter: only the two single-byte names.
    EXPECT_STREQ("xa", Complete(*commands, "xa").data);
    ASSERT_EQ(2, list->entries.count);
    EXPECT_STREQ("xa3", list->entries.items[0].first.data);
    EXPECT_STREQ("XA4", list->entries.items[1].first.data);
    EXPECT_STREQ("xヂ1 ", Complete(*commands, "Xヂ").data);
    EXPECT_STREQ("xア2 ", Complete(*commands, "xア").data);
    delete commands;
}

TEST_F(CompletionTest, TheCommonPartNeverEndsInsideADoubleByteCharacter)
{
    CCommandList* commands = 0;
    // ト (83 67) and ブ (83 75) share their first byte; so do ア and ヂ,
    // whose second bytes are "A" and "a".
    Commands(commands,
             "[ノート]\r\nPATH=c\r\n[ノーブ]\r\nPATH=d\r\n[ソア]\r\nPATH=e\r\n[ソヂ]\r\nPATH=f\r\n");
    CString result = Complete(*commands, "ノ");
    EXPECT_STREQ("ノー", result.data);
    ASSERT_EQ(2, list->entries.count);
    result = Complete(*commands, "ノー");
    EXPECT_STREQ("ノー", result.data);
    // Equal under letter folding of the second byte, yet different.
    result = Complete(*commands, "ソ");
    EXPECT_STREQ("ソ", result.data);
    EXPECT_EQ(2, list->entries.count);
    delete commands;
}

// --- Complete: the rows of the list ----------------------------------------

TEST_F(CompletionTest, RowsHoldThePaddedCommentWithTheColonsInOneColumn)
{
    CCommandList* commands = 0;
    Commands(commands,
             "[notes]\r\nPATH=a\r\nCOMMENT=A\r\n[notebook1]\r\nPATH=b\r\nCOMMENT=帳面\r\n"
             "[noteノート]\r\nPATH=c\r\n[note]\r\nPATH=d\r\nCOMMENT=短い\r\n");
    CString result = Complete(*commands, "note");
    EXPECT_STREQ("note", result.data);
    ASSERT_EQ(4, list->entries.count);
    const int longest = 10;  // noteノート
    const char* names[] = {"note", "notebook1", "notes", "noteノート"};
    const char* comments[] = {"短い", "帳面", "A", ""};
    for (int i = 0; i < 4; i++) {
        const Zint_Std::CStringPair& entry = list->entries.items[i];
        EXPECT_STREQ(names[i], entry.first.data) << i;
        CString expected = Blanks(longest - lstrlenA(names[i])) + " : " + comments[i];
        EXPECT_STREQ(expected.data, entry.second.data) << i;
        const CString row = Row(entry);
        EXPECT_EQ(longest + 1, strchr(row.data, ':') - row.data) << i;
    }
    delete commands;
}

TEST_F(CompletionTest, CommentsAreReadFromTheFileEachTime)
{
    CCommandList* commands = 0;
    Commands(commands, "[alpha]\r\nPATH=a\r\nCOMMENT=first\r\n[alps]\r\nPATH=b\r\n");
    Complete(*commands, "al");
    ASSERT_EQ(2, list->entries.count);
    EXPECT_STREQ(" : first", list->entries.items[0].second.data);
    EXPECT_STREQ("  : ", list->entries.items[1].second.data);
    // A comment of 150 bytes shows its first 99.
    CString text = CString("[alpha]\r\nPATH=a\r\nCOMMENT=") + Repeated('c', 150) +
                   "\r\n[alps]\r\nPATH=b\r\nCOMMENT=新しい\r\n";
    ASSERT_TRUE(WriteTextFile(commandFile, text.data));
    Complete(*commands, "al");
    ASSERT_EQ(2, list->entries.count);
    EXPECT_STREQ((CString(" : ") + Repeated('c', 99)).data, list->entries.items[0].second.data);
    EXPECT_STREQ("  : 新しい", list->entries.items[1].second.data);
    delete commands;
}

TEST_F(CompletionTest, PaddingIsAtMost63Blanks)
{
    CCommandList* commands = 0;
    const CString longName = CString("ab") + Repeated('c', 68);
    const CString middleName = CString("ab") + Repeated('d', 62);
    CString text = CString("[ab]\r\nPATH=a\r\nCOMMENT=x\r\n[") + longName + "]\r\nPATH=b\r\n[" +
                   middleName + "]\r\nPATH=c\r\n";
    Commands(commands, text.data);
    EXPECT_STREQ("ab", Complete(*commands, "a").data);
    ASSERT_EQ(3, list->entries.count);
    EXPECT_STREQ("ab", list->entries.items[0].first.data);
    EXPECT_STREQ((Blanks(63) + " : x").data, list->entries.items[0].second.data);
    EXPECT_STREQ(longName.data, list->entries.items[1].first.data);
    EXPECT_STREQ(" : ", list->entries.items[1].second.data);
    // 6 blanks: below the cap, the padding is exact.
    EXPECT_STREQ(middleName.data, list->entries.items[2].first.data);
    EXPECT_STREQ((Blanks(6) + " : ").data, list->entries.items[2].second.data);
    delete commands;
}

TEST_F(CompletionTest, EveryCompletionStartsFromAnEmptyList)
{
    CCommandList* commands = 0;
    Commands(commands, kNoteCommands);
    Complete(*commands, "n");
    ASSERT_EQ(3, list->entries.count);
    // Fewer candidates: no row of the earlier list is left behind.
    Complete(*commands, "note");
    ASSERT_EQ(2, list->entries.count);
    EXPECT_STREQ("notebook", list->entries.items[0].first.data);
    EXPECT_STREQ("notepad", list->entries.items[1].first.data);
    EXPECT_STREQ(" : NB", list->entries.items[0].second.data);
    EXPECT_STREQ("  : メモ帳", list->entries.items[1].second.data);
    EXPECT_EQ(nullptr, list->entries.items[2].first.data);
    Complete(*commands, "calc");
    EXPECT_EQ(0, list->entries.count);
    Complete(*commands, "n");
    EXPECT_EQ(3, list->entries.count);
    Complete(*commands, "q");
    EXPECT_EQ(0, list->entries.count);
    delete commands;
}

// --- CInputHistory ---------------------------------------------------------

TEST(InputHistoryTest, KeepsTheNewestEntriesUpToItsCapacity)
{
    CInputHistory history(3);
    history.Add(CString("one"));
    history.Add(CString("two"));
    history.Add(CString("three"));
    history.Add(CString("four"));
    ASSERT_EQ(3, history.entries.count);
    EXPECT_STREQ("four", history.entries.items[0].data);
    EXPECT_STREQ("three", history.entries.items[1].data);
    EXPECT_STREQ("two", history.entries.items[2].data);
}

TEST(InputHistoryTest, OlderWalksBackAndStopsAtTheOldest)
{
    CInputHistory history(3);
    history.Add(CString("one"));
    history.Add(CString("two"));
    history.Add(CString("three"));
    history.Add(CString("four"));
    EXPECT_STREQ("four", history.Older());
    EXPECT_STREQ("three", history.Older());
    EXPECT_STREQ("two", history.Older());
    EXPECT_STREQ("two", history.Older());
    EXPECT_STREQ("two", history.Older());
    EXPECT_STREQ("three", history.Newer());
    EXPECT_STREQ("four", history.Newer());
    EXPECT_STREQ("", history.Newer());
    EXPECT_EQ(-1, history.cursor);
    EXPECT_STREQ("four", history.Older());
}

TEST(InputHistoryTest, OlderStopsAtTheOldestOfFewerEntriesThanCapacity)
{
    CInputHistory history(10);
    history.Add(CString("first"));
    history.Add(CString("second"));
    EXPECT_STREQ("second", history.Older());
    EXPECT_STREQ("first", history.Older());
    EXPECT_STREQ("first", history.Older());
    EXPECT_EQ(1, history.cursor);
}

TEST(InputHistoryTest, NewerAfterOneOlderAndNewerAtTheStartGiveNothing)
{
    CInputHistory history(3);
    history.Add(CString("only"));
    history.Add(CString("last"));
    EXPECT_STREQ("", history.Newer());
    EXPECT_EQ(-1, history.cursor);
    EXPECT_STREQ("last", history.Older());
    EXPECT_STREQ("", history.Newer());
    EXPECT_STREQ("", history.Newer());
    EXPECT_EQ(-1, history.cursor);
    // An empty history answers with empty text, never null.
    CInputHistory none(3);
    EXPECT_STREQ("", none.Older());
    EXPECT_STREQ("", none.Newer());
}

TEST(InputHistoryTest, EmptyLinesAndRepeatsAreStoredAndAddingResetsTheCursor)
{
    CInputHistory history(5);
    history.Add(CString("calc"));
    history.Add(CString(""));
    history.Add(CString("calc"));
    history.Add(CString("calc"));
    history.Add(CString("  spaced  "));
    ASSERT_EQ(5, history.entries.count);
    EXPECT_STREQ("  spaced  ", history.Older());
    EXPECT_STREQ("calc", history.Older());
    EXPECT_STREQ("calc", history.Older());
    EXPECT_STREQ("", history.Older());
    EXPECT_EQ(3, history.cursor);
    history.Add(CString("new"));
    EXPECT_EQ(-1, history.cursor);
    EXPECT_STREQ("new", history.Older());
}

TEST(InputHistoryTest, CapacityZeroStoresNothing)
{
    CInputHistory history(0);
    history.Add(CString("calc"));
    EXPECT_EQ(0, history.entries.count);
    EXPECT_STREQ("", history.Older());
    EXPECT_STREQ("", history.Newer());
    EXPECT_EQ(-1, history.cursor);
}

TEST(InputHistoryTest, LimitKeepsTheNewestAndResetsTheCursor)
{
    CInputHistory history(10);
    const char* lines[] = {"1", "2", "3", "4", "5"};
    for (int i = 0; i < 5; i++)
        history.Add(CString(lines[i]));
    history.Older();
    history.Older();
    ASSERT_EQ(1, history.cursor);
    history.Limit(3);
    EXPECT_EQ(-1, history.cursor);
    EXPECT_EQ(3, history.capacity);
    ASSERT_EQ(3, history.entries.count);
    EXPECT_STREQ("5", history.entries.items[0].data);
    EXPECT_STREQ("4", history.entries.items[1].data);
    EXPECT_STREQ("3", history.entries.items[2].data);
    // The new capacity holds from now on.
    history.Add(CString("6"));
    ASSERT_EQ(3, history.entries.count);
    EXPECT_STREQ("6", history.entries.items[0].data);
    EXPECT_STREQ("4", history.entries.items[2].data);

    CInputHistory few(10);
    few.Add(CString("a"));
    few.Add(CString("b"));
    few.Older();
    few.Limit(3);
    EXPECT_EQ(-1, few.cursor);
    ASSERT_EQ(2, few.entries.count);
    EXPECT_STREQ("b", few.entries.items[0].data);
    EXPECT_STREQ("a", few.entries.items[1].data);

    // As the settings reload starts it: from nothing to the setting.
    CInputHistory fresh(0);
    fresh.Limit(3);
    for (int i = 0; i < 5; i++)
        fresh.Add(CString(lines[i]));
    EXPECT_EQ(3, fresh.entries.count);
    EXPECT_STREQ("5", fresh.Older());
}

// --- CToolTipWindow --------------------------------------------------------

namespace {

class ToolTipTest : public ::testing::Test {
protected:
    HWND owner;
    CToolTipWindow* tip;

    void SetUp() override
    {
        owner = CreateOwnerWindow();
        ASSERT_TRUE(owner != 0);
        tip = CreateToolTipWindow(GetModuleHandleA(0), owner);
        ASSERT_TRUE(tip != 0);
        ASSERT_TRUE(IsWindow(tip->window));
    }
    void TearDown() override
    {
        DestroyToolTipWindow();
        DestroyWindow(owner);
        PumpMessages();
    }

    void Fill(const char* const* names, const char* const* details, const int& count)
    {
        ASSERT_TRUE(tip->entries.Allocate(count));
        for (int i = 0; i < count; i++) {
            tip->entries.items[i].first.Assign(names[i]);
            tip->entries.items[i].second.Assign(details[i]);
        }
    }

    void FillThree()
    {
        const char* names[] = {"notebook", "notepad", "nslookup"};
        const char* details[] = {" : NB", "  : メモ帳", " : 名前解決"};
        Fill(names, details, 3);
    }
};

// The window's pixels as Paint draws them, in a 32-bit bitmap of the
// client size.
class CPaintedList {
public:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    int width;
    int height;

    explicit CPaintedList(CToolTipWindow& tip) : dc(0), bitmap(0), old(0), width(0), height(0)
    {
        RECT client;
        GetClientRect(tip.window, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info;
        memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = 0;
        HDC screen = GetDC(0);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, 0, 0);
        ReleaseDC(0, screen);
        old = SelectObject(dc, bitmap);
        // Anything Paint leaves out shows up as this colour.
        RECT all = {0, 0, width, height};
        HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
        FillRect(dc, &all, marker);
        DeleteObject(marker);
        tip.Paint(dc);
    }
    ~CPaintedList()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(const int& x, const int& y) const { return GetPixel(dc, x, y); }
    // Whether some pixel of the row band differs from its background: the
    // row's text was drawn.
    bool HasInk(const int& top, const int& bottom, const COLORREF& background) const
    {
        for (int y = top; y < bottom; y++)
            for (int x = 2; x < width - 2; x++)
                if (At(x, y) != background)
                    return true;
        return false;
    }
};

}  // namespace

TEST_F(ToolTipTest, CreateGivesTheSameHiddenObjectTwice)
{
    EXPECT_EQ(tip, CreateToolTipWindow(GetModuleHandleA(0), owner));
    EXPECT_FALSE(IsWindowVisible(tip->window));
    EXPECT_EQ(owner, GetWindow(tip->window, GW_OWNER));
    char className[64] = "";
    GetClassNameA(tip->window, className, sizeof(className));
    EXPECT_STREQ("__QUELT_TOOLTIP_WND__", className);
    EXPECT_EQ(-1, tip->selected);
    EXPECT_TRUE(tip->currentText.IsEmpty());
    EXPECT_EQ(0, tip->entries.count);
}

TEST_F(ToolTipTest, ShowWithoutEntriesDoesNothing)
{
    EXPECT_FALSE(tip->Show(CString("no"), 10, 10));
    EXPECT_FALSE(IsWindowVisible(tip->window));
    EXPECT_TRUE(tip->currentText.IsEmpty());
    FillThree();
    // Nor without text.
    EXPECT_FALSE(tip->Show(CString(""), 10, 10));
    EXPECT_FALSE(IsWindowVisible(tip->window));
}

TEST_F(ToolTipTest, ShowSizesTheWindowToTheRowsWithoutTakingActivation)
{
    ShowWindow(owner, SW_SHOW);
    SetForegroundWindow(owner);
    SetActiveWindow(owner);
    PumpMessages();
    ASSERT_EQ(owner, GetForegroundWindow());
    ASSERT_EQ(owner, GetActiveWindow());

    FillThree();
    tip->selected = 1;
    ASSERT_TRUE(tip->Show(CString("n"), 120, 200));
    EXPECT_TRUE(IsWindowVisible(tip->window));
    EXPECT_EQ(-1, tip->selected);
    EXPECT_STREQ("n", tip->currentText.data);
    ASSERT_TRUE(WaitUntilPainted(tip->window));
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(tip->window));
    EXPECT_EQ(owner, GetForegroundWindow());
    EXPECT_EQ(owner, GetActiveWindow());

    int widest = 0;
    int tallest = 0;
    for (int i = 0; i < tip->entries.count; i++) {
        SIZE size = MeasureRow(Row(tip->entries.items[i]).data);
        widest = size.cx > widest ? size.cx : widest;
        tallest = size.cy > tallest ? size.cy : tallest;
    }
    ASSERT_GT(widest, 0);
    RECT frame;
    GetWindowRect(tip->window, &frame);
    EXPECT_EQ(120, frame.left);
    EXPECT_EQ(200, frame.top);
    EXPECT_EQ(widest + 4, frame.right - frame.left);
    EXPECT_EQ(tallest * 3 + 2, frame.bottom - frame.top);
    // The whole window is client area.
    RECT client;
    GetClientRect(tip->window, &client);
    EXPECT_EQ(frame.right - frame.left, client.right);
    EXPECT_EQ(frame.bottom - frame.top, client.bottom);

    // Shown again for fewer, shorter rows: it shrinks.
    const char* names[] = {"ab", "abc"};
    const char* details[] = {"  : x", " : "};
    Fill(names, details, 2);
    ASSERT_TRUE(tip->Show(CString("ab"), 5, 6));
    GetWindowRect(tip->window, &frame);
    EXPECT_EQ(MeasureRow("ab  : x").cx + 4, frame.right - frame.left);
    EXPECT_EQ(MeasureRow("ab  : x").cy * 2 + 2, frame.bottom - frame.top);
    EXPECT_EQ(5, frame.left);
    EXPECT_EQ(6, frame.top);
    ShowWindow(owner, SW_HIDE);
}

TEST_F(ToolTipTest, CycleWrapsForwardsAndBackwards)
{
    FillThree();
    ASSERT_TRUE(tip->Show(CString("n"), 0, 0));
    EXPECT_STREQ("notebook", tip->Cycle(CString("n"), false));
    EXPECT_EQ(0, tip->selected);
    EXPECT_STREQ("notebook", tip->currentText.data);
    EXPECT_STREQ("notepad", tip->Cycle(CString("notebook"), false));
    EXPECT_STREQ("nslookup", tip->Cycle(CString("notepad"), false));
    EXPECT_STREQ("notebook", tip->Cycle(CString("nslookup"), false));
    // Backwards from the first goes to the last.
    EXPECT_STREQ("nslookup", tip->Cycle(CString("notebook"), true));
    EXPECT_EQ(2, tip->selected);
    EXPECT_STREQ("notepad", tip->Cycle(CString("nslookup"), true));

    // Backwards from a fresh list goes to the last.
    ASSERT_TRUE(tip->Show(CString("n"), 0, 0));
    EXPECT_STREQ("nslookup", tip->Cycle(CString("n"), true));
    EXPECT_EQ(2, tip->selected);
}

TEST_F(ToolTipTest, CycleNeedsTheListsTextLetterCaseAside)
{
    FillThree();
    ASSERT_TRUE(tip->Show(CString("no"), 0, 0));
    EXPECT_EQ(nullptr, tip->Cycle(CString("no "), false));
    EXPECT_EQ(nullptr, tip->Cycle(CString("not"), false));
    EXPECT_EQ(nullptr, tip->Cycle(CString(""), false));
    EXPECT_EQ(-1, tip->selected);
    EXPECT_STREQ("notebook", tip->Cycle(CString("NO"), false));
    EXPECT_STREQ("notepad", tip->Cycle(CString("NoteBook"), false));
    EXPECT_EQ(nullptr, tip->Cycle(CString("notepad "), false));
    EXPECT_EQ(1, tip->selected);
}

TEST_F(ToolTipTest, HideClearsTheTextAndTheSelectionAndKeepsTheRows)
{
    FillThree();
    ASSERT_TRUE(tip->Show(CString("n"), 0, 0));
    ASSERT_TRUE(tip->Cycle(CString("n"), false) != 0);
    EXPECT_TRUE(tip->Hide());
    EXPECT_FALSE(IsWindowVisible(tip->window));
    EXPECT_TRUE(tip->currentText.IsEmpty());
    EXPECT_EQ(-1, tip->selected);
    EXPECT_EQ(3, tip->entries.count);
    // A hidden list no longer cycles for its old text.
    EXPECT_EQ(nullptr, tip->Cycle(CString("notebook"), false));
    EXPECT_EQ(nullptr, tip->Cycle(CString("n"), false));
    EXPECT_TRUE(tip->Hide());
}

TEST_F(ToolTipTest, DestroyThenCreateGivesAWorkingWindow)
{
    HWND first = tip->window;
    DestroyToolTipWindow();
    EXPECT_FALSE(IsWindow(first));
    tip = CreateToolTipWindow(GetModuleHandleA(0), owner);
    ASSERT_TRUE(tip != 0);
    ASSERT_TRUE(IsWindow(tip->window));
    EXPECT_EQ(0, tip->entries.count);
    EXPECT_EQ(-1, tip->selected);
    FillThree();
    ASSERT_TRUE(tip->Show(CString("n"), 3, 4));
    EXPECT_TRUE(IsWindowVisible(tip->window));
    EXPECT_TRUE(WaitUntilPainted(tip->window));
    EXPECT_STREQ("notebook", tip->Cycle(CString("n"), false));
    DestroyToolTipWindow();
    tip = CreateToolTipWindow(GetModuleHandleA(0), owner);
    EXPECT_TRUE(IsWindow(tip->window));
}

TEST_F(ToolTipTest, PaintDrawsTheFrameTheBackgroundAndTheHighlight)
{
    FillThree();
    ASSERT_TRUE(tip->Show(CString("n"), 0, 0));
    const COLORREF background = GetSysColor(COLOR_INFOBK);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(background, highlight);
    const COLORREF black = RGB(0, 0, 0);
    for (int pass = 0; pass < 2; pass++) {
        if (pass == 1) {
            ASSERT_STREQ("notepad", tip->Cycle(tip->Cycle(CString("n"), false), false));
        }
        CPaintedList painted(*tip);
        ASSERT_GT(painted.width, 4);
        ASSERT_GT(painted.height, 5);
        EXPECT_EQ(black, painted.At(0, 0));
        EXPECT_EQ(black, painted.At(painted.width - 1, 0));
        EXPECT_EQ(black, painted.At(0, painted.height - 1));
        EXPECT_EQ(black, painted.At(painted.width - 1, painted.height - 1));
        EXPECT_EQ(black, painted.At(painted.width / 2, painted.height - 1));
        const int rowHeight = (painted.height - 2) / 3;
        for (int row = 0; row < 3; row++) {
            const int top = 1 + row * rowHeight;
            const COLORREF expected = (pass == 1 && row == 1) ? highlight : background;
            // The band left and right of the text.
            EXPECT_EQ(expected, painted.At(1, top + rowHeight / 2)) << pass << row;
            EXPECT_EQ(expected, painted.At(1, top)) << pass << row;
            EXPECT_EQ(expected, painted.At(painted.width - 2, top + rowHeight - 1)) << pass << row;
            EXPECT_TRUE(painted.HasInk(top, top + rowHeight, expected)) << pass << row;
        }
    }
}

TEST_F(ToolTipTest, PaintWithoutRowsDrawsFrameAndBackground)
{
    SetWindowPos(tip->window, 0, 0, 0, 40, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CPaintedList painted(*tip);
    ASSERT_EQ(40, painted.width);
    ASSERT_EQ(20, painted.height);
    EXPECT_EQ(RGB(0, 0, 0), painted.At(0, 10));
    EXPECT_EQ(RGB(0, 0, 0), painted.At(39, 19));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), painted.At(20, 10));
    EXPECT_FALSE(painted.HasInk(1, 19, GetSysColor(COLOR_INFOBK)));
}

// Completion and the list together, as Tab drives them.
TEST_F(CompletionTest, TheListShowsTheCompletedRowsWithAlignedColons)
{
    CCommandList* commands = 0;
    Commands(commands,
             "[notes]\r\nPATH=a\r\nCOMMENT=A\r\n[notebook1]\r\nPATH=b\r\nCOMMENT=帳面\r\n");
    CString result = Complete(*commands, "no");
    ASSERT_STREQ("note", result.data);
    ASSERT_TRUE(list->Show(result, 10, 20));
    const CString first = Row(list->entries.items[0]);
    const CString second = Row(list->entries.items[1]);
    EXPECT_STREQ("notebook1 : 帳面", first.data);
    EXPECT_STREQ("notes     : A", second.data);
    // Fixed pitch: the colons sit at the same pixel column.
    EXPECT_EQ(MeasureRow("notebook1 ").cx, MeasureRow("notes     ").cx);
    RECT frame;
    GetWindowRect(list->window, &frame);
    const SIZE wide = MeasureRow(first.data);
    EXPECT_EQ(wide.cx + 4, frame.right - frame.left);
    EXPECT_EQ(wide.cy * 2 + 2, frame.bottom - frame.top);
    EXPECT_STREQ("notebook1", list->Cycle(CString("NOTE"), false));
    EXPECT_STREQ("notes", list->Cycle(CString("notebook1"), false));
    delete commands;
}
