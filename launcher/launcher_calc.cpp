// The arithmetic in the input box: a line that starts with "=" and names no
// command shows its result in the candidate list while it is typed, and
// Enter puts the result on the clipboard.
#include "launcher/launcher_app.h"

#include <string.h>

#include "commands/line_parser.h"
#include "launcher/calculator.h"
#include "launcher/full_width_arithmetic.h"
#include "support/handles.h"

using Zint_Std::CString;

namespace {

bool PutOnClipboard(HWND owner, const CString& text)
{
    const int length = text.GetLength();
    Zint_Std::CGlobalMemory memory(length + 1);
    if (!memory.memory)
        return false;
    char* bytes = static_cast<char*>(memory.Lock());
    if (!bytes)
        return false;
    memcpy(bytes, text.Text(), length);
    bytes[length] = 0;
    memory.Unlock();
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    const bool taken = SetClipboardData(CF_TEXT, memory.memory) != 0;
    CloseClipboard();
    if (taken)
        memory.HandOver();
    return taken;
}

}  // namespace

bool CLauncherApp::CalculationOf(const CString& line, CString& result)
{
    result.Empty();
    if (!commandList || !commandList->calculator || !line.data)
        return false;
    // "＝１＋２" counts as "=1+2".
    CString narrow(line);
    NarrowFullWidthArithmetic(narrow.data);
    if (!narrow.data || narrow.data[0] != '=')
        return false;
    // A command whose name starts with "=" runs as before: the name as typed.
    CString copy(line);
    TypedLine typed;
    CString path;
    if (SplitTypedLine(copy, typed) && commandList->GetCommand(typed.name, &path, 0, 0))
        return false;
    CCalculator calculator;
    return calculator.Calculate(narrow.data + 1, result);
}

void CLauncherApp::OnInputChanged()
{
    if (!toolTip)
        return;
    // The text of an open conversion is not what the user means yet: the
    // end of the composition brings the preview.
    if (Composing()) {
        previewWaits = true;
        return;
    }
    const CString line = InputText();
    CString result;
    if (!CalculationOf(line, result)) {
        // Only a result shown before goes; a candidate list stays.
        if (showsCalculation)
            toolTip->Hide();
        showsCalculation = false;
        return;
    }
    if (!toolTip->entries.Allocate(1))
        return;
    toolTip->entries.items[0].first.Assign("=");
    toolTip->entries.items[0].second.Format(" %s", result.data);
    RECT client;
    GetClientRect(inputBox, &client);
    POINT corner = {0, client.bottom};
    ClientToScreen(inputBox, &corner);
    toolTip->Show(line, corner.x, corner.y + 2);
    showsCalculation = true;
}

bool CLauncherApp::SubmitCalculation(const CString& line)
{
    CString result;
    if (!CalculationOf(line, result))
        return false;
    if (history)
        history->Add(line);
    PutOnClipboard(mainWindow, result);
    ClearInput();
    HideInputBox();
    return true;
}
