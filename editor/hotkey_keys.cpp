#include "editor/hotkey_keys.h"

#include <windows.h>

using Zint_Std::CString;

namespace {

struct KeyRun {
    int first;
    int last;
};

// The list's order; each run is a block of consecutive codes.
const KeyRun kRuns[] = {
    {'0', '9'},
    {'A', 'Z'},
    {VK_F1, VK_F24},
    {VK_SPACE, VK_SPACE},
    {VK_INSERT, VK_INSERT},
    {VK_DELETE, VK_DELETE},
    {VK_HOME, VK_HOME},
    {VK_END, VK_END},
    {VK_PRIOR, VK_PRIOR},
    {VK_NEXT, VK_NEXT},
    {VK_LEFT, VK_LEFT},
    {VK_UP, VK_UP},
    {VK_RIGHT, VK_RIGHT},
    {VK_DOWN, VK_DOWN},
    {VK_NUMPAD0, VK_NUMPAD9},
};

struct NamedKey {
    int code;
    const char* name;
};

const NamedKey kNamedKeys[] = {
    {VK_SPACE, "スペース"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_HOME, "Home"},
    {VK_END, "End"},
    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"},
    {VK_LEFT, "← (左矢印)"},
    {VK_UP, "↑ (上矢印)"},
    {VK_RIGHT, "→ (右矢印)"},
    {VK_DOWN, "↓ (下矢印)"},
};

}  // namespace

int HotKeyChoiceCount()
{
    int count = 0;
    for (const KeyRun& run : kRuns)
        count += run.last - run.first + 1;
    return count;
}

int HotKeyChoiceCode(const int& index)
{
    if (index < 0)
        return 0;
    int rest = index;
    for (const KeyRun& run : kRuns) {
        const int size = run.last - run.first + 1;
        if (rest < size)
            return run.first + rest;
        rest -= size;
    }
    return 0;
}

int FindHotKeyChoice(const int& code)
{
    int index = 0;
    for (const KeyRun& run : kRuns) {
        if (code >= run.first && code <= run.last)
            return index + code - run.first;
        index += run.last - run.first + 1;
    }
    return -1;
}

CString HotKeyName(const int& code)
{
    CString name;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
        name.Format("%c", code);
    } else if (code >= VK_F1 && code <= VK_F24) {
        name.Format("F%d", code - VK_F1 + 1);
    } else if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) {
        name.Format("テンキー %d", code - VK_NUMPAD0);
    } else {
        for (const NamedKey& key : kNamedKeys) {
            if (key.code == code)
                return CString(key.name);
        }
        name.Format("キーコード %d", code);
    }
    return name;
}
