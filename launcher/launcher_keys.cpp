// The input box's special keys, filtered out of the message loop before the
// edit control sees them.
#include "launcher/launcher_app.h"

#include <string.h>

#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

// Every read of the box sees at most this much.
const int kInputBuffer = 500;

bool KeyHeld(const int& key)
{
    return (GetAsyncKeyState(key) & 0x8000) != 0;
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
    SendMessageA(inputBox, EM_SETSEL, caret, caret);
}

void CLauncherApp::SubmitLine()
{
    CString line = InputText();
    if (history)
        history->Add(line);
    if (toolTip)
        toolTip->Hide();
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
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
    DWORD selectionStart = 0;
    SendMessageA(inputBox, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    const int pos = static_cast<int>(selectionStart);
    CString head;
    CString tail;
    if (pos > 0) {
        head = InputText();
        if (pos < head.GetLength()) {
            tail.Assign(head.data + pos);
            head.KeepRange(0, pos - 1);
        }
    }
    if (toolTip) {
        head.Trim();
        const char* name = toolTip->Cycle(head, backwards);
        if (name) {
            // Stepping through the list: the highlighted name, a blank and
            // whatever followed the caret.
            CString rest = InputText();
            CString after;
            if (pos < rest.GetLength())
                after.Assign(rest.data + pos);
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
    CString result;
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

bool CLauncherApp::DeleteCharacter()
{
    CString text = InputText();
    const int length = text.GetLength();
    if (length == 0)
        return true;
    DWORD selectionStart = 0;
    SendMessageA(inputBox, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    int pos = static_cast<int>(selectionStart);
    if (pos > length)
        pos = length;
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
    SetInputText(text.data ? text.data : "", pos);
    return false;
}

void CLauncherApp::ClearInput()
{
    SendMessageA(inputBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    if (toolTip)
        toolTip->Hide();
}
