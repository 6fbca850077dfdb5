#include "commands/command_text_edit.h"

#include <stdlib.h>
#include <string.h>

using Zint_Std::CString;

namespace {

bool IsKeyLine(const CCommandFile& file, const ProfileLine& line)
{
    return line.textStart < line.textEnd && file.Text()[line.textStart] != ';';
}

}  // namespace

CCommandTextEdit::CCommandTextEdit(const CCommandFile& commandFile)
    : file(commandFile), lineEnd("\r\n"), appended(false)
{
    const char* text = file.Text();
    for (int i = 0; i < file.Length(); i++) {
        if (text[i] == '\n') {
            lineEnd = "\n";
            break;
        }
        if (text[i] == '\r') {
            lineEnd = (i + 1 < file.Length() && text[i + 1] == '\n') ? "\r\n" : "\r";
            break;
        }
        // A lead byte takes the next byte, a line end included.
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < file.Length() && text[i + 1])
            i++;
    }
}

bool CCommandTextEdit::Replace(const int& start, const int& end, const CString& text,
                               const int& rank)
{
    TextReplacement replacement;
    replacement.start = start;
    replacement.end = end;
    replacement.rank = rank;
    replacement.order = replacements.count;
    replacement.text = text;
    return replacements.Add(replacement);
}

bool CCommandTextEdit::EndsWithLineEnd(const int& at) const
{
    return at > 0 && (file.Text()[at - 1] == '\n' || file.Text()[at - 1] == '\r');
}

int CCommandTextEdit::AfterLastKeyLine(const int& section) const
{
    int point = file.Section(section).bodyStart;
    ProfileLine line;
    for (int at = 0; file.NextLine(section, at, line);) {
        if (IsKeyLine(file, line))
            point = line.next;
    }
    return point;
}

bool CCommandTextEdit::DeleteSection(const int& section)
{
    return Replace(file.Section(section).headerStart, AfterLastKeyLine(section), CString(), kCut);
}

bool CCommandTextEdit::RenameSection(const int& section, const char* name)
{
    const ProfileSection& header = file.Section(section);
    return Replace(header.nameStart, header.nameEnd, CString(name), kInLine);
}

bool CCommandTextEdit::SetValue(const int& section, const char* key, const char* value)
{
    ProfileLine line;
    if (file.FindKey(section, key, line)) {
        // A key line without an equals sign gets one.
        if (line.valueStart < 0)
            return Replace(line.textEnd, line.textEnd, CString("=") + value, kInLine);
        return Replace(line.valueStart, line.valueEnd, CString(value), kInLine);
    }
    // After the last key line, or after the header when there is none.
    const int point = AfterLastKeyLine(section);
    CString text = CString(key) + "=" + value;
    text = EndsWithLineEnd(point) ? text + lineEnd : lineEnd + text;
    return Replace(point, point, text, kNewLine);
}

bool CCommandTextEdit::AppendSection(const char* name, const char* const* keys,
                                     const char* const* values, const int& count)
{
    const int end = file.Length();
    CString text;
    if (!appended && end > 0) {
        if (!EndsWithLineEnd(end))
            text += lineEnd;
        // A blank line before the new section, unless the file ends in one.
        const char* bytes = file.Text();
        int last = end;
        if (last >= 2 && bytes[last - 2] == '\r' && bytes[last - 1] == '\n')
            last -= 2;
        else if (EndsWithLineEnd(last))
            last--;
        if (!EndsWithLineEnd(end) || (last > 0 && !EndsWithLineEnd(last)))
            text += lineEnd;
    } else if (appended) {
        text += lineEnd;
    }
    appended = true;
    text += CString("[") + name + "]" + lineEnd;
    for (int i = 0; i < count; i++) {
        if (values[i] && values[i][0])
            text += CString(keys[i]) + "=" + values[i] + lineEnd;
    }
    return Replace(end, end, text, kAppended);
}

char* CCommandTextEdit::Compose(int& length)
{
    // Few replacements: an insertion sort by place, rank and order.
    TextReplacement* items = replacements.items;
    for (int i = 1; i < replacements.count; i++) {
        for (int k = i; k > 0; k--) {
            TextReplacement& a = items[k - 1];
            TextReplacement& b = items[k];
            if (a.start != b.start ? a.start < b.start
                                   : (a.rank != b.rank ? a.rank < b.rank : a.order < b.order))
                break;
            TextReplacement swap = a;
            a = b;
            b = swap;
        }
    }
    int size = file.Length();
    for (int i = 0; i < replacements.count; i++)
        size += items[i].text.GetLength();
    char* out = static_cast<char*>(malloc(size + 1));
    if (!out)
        return 0;
    const char* text = file.Text();
    int from = 0;
    length = 0;
    for (int i = 0; i < replacements.count; i++) {
        const TextReplacement& item = items[i];
        if (item.start < from)
            continue;  // inside a deleted stretch
        memcpy(out + length, text + from, item.start - from);
        length += item.start - from;
        const int added = item.text.GetLength();
        if (added)
            memcpy(out + length, item.text.data, added);
        length += added;
        from = item.end;
    }
    memcpy(out + length, text + from, file.Length() - from);
    length += file.Length() - from;
    out[length] = 0;
    return out;
}
