// The input box's special keys, filtered out of the message loop before the
// edit control sees them.
#include "launcher/launcher_app.h"

#include <string.h>

#include <new>

#include "launcher/path_completion.h"
#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

// Every read of the box sees at most this much.
const int kInputBuffer = 500;

bool KeyHeld(const int& key)
{
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// Byte offset of the character with the given index, never past the end.
int ByteOffsetOf(const char* text, const int& index)
{
    const unsigned char* start = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* p = start;
    for (int i = 0; i < index && *p; i++)
        p = Zint_Std::NextChar(p);
    return static_cast<int>(p - start);
}

int CharacterIndexOf(const char* text, const int& offset)
{
    const unsigned char* start = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* p = start;
    int index = 0;
    while (*p && p - start < offset) {
        p = Zint_Std::NextChar(p);
        index++;
    }
    return index;
}

}  // namespace

bool CLauncherApp::FilterKey(MSG& message)
{
    if (message.message != WM_KEYDOWN)
        return false;
    if (!message.hwnd || (message.hwnd != inputBox && message.hwnd != mainWindow))
        return false;
    const bool control = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    const WPARAM key = message.wParam;
    // A key the IME took: TranslateMessage hands it back to the IME.
    if (key == VK_PROCESSKEY)
        return false;
    // During a conversion Enter commits it and runs nothing, and nothing
    // completes; the other keys keep their meaning.
    if (Composing() && (key == VK_RETURN || key == VK_TAB || (control && key == VK_SPACE)))
        return true;
    if (key == VK_RETURN) {
        SubmitLine();
        return true;
    }
    if (key == VK_ESCAPE) {
        HideInputBox();
        return true;
    }
    if (history && (key == VK_UP || (control && key == 'P'))) {
        ShowHistoryEntry(history->Older());
        return true;
    }
    if (history && (key == VK_DOWN || (control && key == 'N'))) {
        ShowHistoryEntry(history->Newer());
        return true;
    }
    if (key == VK_TAB || (control && key == VK_SPACE)) {
        CompleteInput(shift);
        return true;
    }
    if (!control)
        return false;
    if (key == 'L') {
        ClearInput();
        return true;
    }
    if (key == 'D')
        return DeleteCharacter();
    return false;
}

CString CLauncherApp::InputText()
{
    CString text;
    if (text.Reserve(kInputBuffer))
        SendMessageA(inputBox, WM_GETTEXT, kInputBuffer, reinterpret_cast<LPARAM>(text.data));
    return text;
}

void CLauncherApp::SetInputText(const char* text, const int& caret)
{
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    const int position = editCountsCharacters ? CharacterIndexOf(text, caret) : caret;
    SendMessageA(inputBox, EM_SETSEL, position, position);
}

int CLauncherApp::SelectionStart(const CString& text)
{
    DWORD start = 0;
    SendMessageA(inputBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const int position = static_cast<int>(start);
    if (editCountsCharacters)
        return ByteOffsetOf(text.Text(), position);
    return position < text.GetLength() ? position : text.GetLength();
}

void CLauncherApp::LearnEditPositions()
{
    // An edit control that keeps its text in the ANSI code page counts
    // positions in bytes, one that keeps it in Unicode in characters; the
    // rules of the keys work in bytes.
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ノ"));
    SendMessageA(inputBox, EM_SETSEL, 0, -1);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(inputBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    editCountsCharacters = end == 1;
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

void CLauncherApp::SubmitLine()
{
    CString line = InputText();
    if (SubmitCalculation(line))
        return;
    if (history)
        history->Add(line);
    ClearInput();
    // Nothing started: the box comes back, empty, for another try.
    if (!RunLine(line))
        PostMessageA(mainWindow, WM_HOTKEY, hotKeyAtom, 0);
}

void CLauncherApp::ShowHistoryEntry(const char* text)
{
    SetInputText(text, lstrlenA(text));
}

void CLauncherApp::CompleteInput(const bool& backwards)
{
    CString head = InputText();
    const int pos = SelectionStart(head);
    CString tail;
    if (pos == 0) {
        head.Empty();
    } else {
        if (pos < head.GetLength()) {
            tail.Assign(head.data + pos);
            head.KeepRange(0, pos - 1);
        }
    }
    if (toolTip && showsCalculation) {
        // A result is no candidate to step to.
        toolTip->Hide();
        showsCalculation = false;
    }
    if (toolTip) {
        head.Trim();
        const char* name = toolTip->Cycle(head, backwards);
        if (name && listShowsPaths) {
            // Stepping through a folder's entries: the path chosen, the
            // caret after it, so that Tab can go on into a folder.
            CString text = PathChoiceText(*pathCompletion, name);
            toolTip->currentText = text;
            const int caret = text.GetLength();
            text.Append(tail);
            SetInputText(text.data, caret);
            return;
        }
        if (name) {
            // Stepping through the list: the highlighted name, a blank and
            // whatever followed the caret.
            CString after(tail);
            after.Trim();
            CString text(name);
            text.AppendChar(' ');
            const int caret = text.GetLength();
            text.Append(after);
            SetInputText(text.data, caret);
            return;
        }
        toolTip->Hide();
    }
    listShowsPaths = false;
    CString result;
    if (!CompletePathInput(head, result))
        commandList->Complete(result, head, toolTip);
    if (result.IsEmpty())
        return;
    const int caret = result.GetLength();
    CString text(result);
    text.Append(tail);
    SetInputText(text.data, caret);
    if (!toolTip)
        return;
    RECT client;
    GetClientRect(inputBox, &client);
    POINT corner = {0, client.bottom};
    ClientToScreen(inputBox, &corner);
    toolTip->Show(result, corner.x, corner.y + 2);
}

bool CLauncherApp::CompletePathInput(const CString& head, CString& result)
{
    if (!LastWordIsPath(head.Text()))
        return false;
    if (!pathCompletion)
        pathCompletion = new (std::nothrow) PathCompletion;
    if (!pathCompletion || !CompletePath(head, *pathCompletion))
        return false;
    result = pathCompletion->result;
    if (toolTip) {
        // The list is the folder's entries, stepped through as names are.
        toolTip->entries.FreeAll();
        toolTip->entries.SwapWith(pathCompletion->entries);
        listShowsPaths = toolTip->entries.count >= 2;
    }
    return true;
}

bool CLauncherApp::DeleteCharacter()
{
    CString text = InputText();
    const int length = text.GetLength();
    if (length == 0)
        return true;
    int pos = SelectionStart(text);
    int count = 1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data);
    if (pos < length) {
        if (Zint_Std::NextChar(bytes + pos) == bytes + pos + 2)
            count = 2;
    } else {
        // At the end it takes the character before the caret, found from
        // the start: a second byte can look like a first one.
        const unsigned char* last = bytes;
        for (const unsigned char* p = bytes; *p; p = Zint_Std::NextChar(p))
            last = p;
        count = static_cast<int>(bytes + pos - last);
        pos -= count;
    }
    text.Delete(pos, count);
    SetInputText(text.Text(), pos);
    return false;
}

namespace {

LRESULT CALLBACK ImeMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && CLauncherApp::instance)
        CLauncherApp::instance->NoteImeMessage(sent->hwnd, sent->message);
    return CallNextHookEx(0, code, wParam, lParam);
}

}  // namespace

void CLauncherApp::InstallImeHook()
{
    imeHook = SetWindowsHookExA(WH_CALLWNDPROC, ImeMessageHook, 0, GetCurrentThreadId());
}

void CLauncherApp::NoteImeMessage(const HWND& window, const UINT& message)
{
    if (window != inputBox || !inputBox)
        return;
    if (message == WM_IME_STARTCOMPOSITION)
        composing = true;
    if (message != WM_IME_ENDCOMPOSITION)
        return;
    composing = false;
    // Posted, so that it runs after the box has taken the end itself.
    if (previewWaits)
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                     reinterpret_cast<LPARAM>(inputBox));
    previewWaits = false;
}

bool CLauncherApp::Composing()
{
    if (composing)
        return true;
    HIMC context = ImmGetContext(inputBox);
    if (!context)
        return false;
    const LONG bytes = ImmGetCompositionStringA(context, GCS_COMPSTR, 0, 0);
    ImmReleaseContext(inputBox, context);
    return bytes > 0;
}

void CLauncherApp::ClearInput()
{
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    if (toolTip)
        toolTip->Hide();
}
