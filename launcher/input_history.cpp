#include "launcher/input_history.h"

using Zint_Std::CString;

CInputHistory::CInputHistory(const int& maxEntries) : cursor(-1), capacity(maxEntries) {}

void CInputHistory::Add(const CString& line)
{
    if (capacity <= 0)
        return;
    if (entries.count >= capacity)
        entries.RemoveLast();
    entries.InsertAt(0, line);
    cursor = -1;
}

const char* CInputHistory::Older()
{
    if (capacity <= 0 || entries.count <= 0)
        return "";
    if (cursor < capacity - 1 && cursor < entries.count - 1)
        cursor++;
    const CString& entry = entries.items[cursor];
    return entry.Text();
}

const char* CInputHistory::Newer()
{
    if (capacity <= 0 || entries.count <= 0 || cursor < 0)
        return "";
    cursor--;
    if (cursor < 0)
        return "";
    const CString& entry = entries.items[cursor];
    return entry.Text();
}

void CInputHistory::Limit(const int& maxEntries)
{
    const int limit = maxEntries > 0 ? maxEntries : 0;
    while (entries.count > limit)
        entries.RemoveLast();
    capacity = maxEntries;
    cursor = -1;
}
