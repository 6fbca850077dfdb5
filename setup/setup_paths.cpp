#include "setup_paths.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

#include "support/files.h"
#include "support/mbcs.h"

using Zint_Std::CString;

const char* const kSettingsFiles[kSettingsFileCount] = {"quelt_.ini", "quelt_cmd.txt",
                                                        "quelt_cmd.txt.bak", "quelt_use.txt"};

namespace {

const DWORD kPathSize = 512;

unsigned char FoldAscii(const unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// text begins with prefix. Single-byte letters match without regard to
// case; a double-byte character must match in both bytes, so a trail byte
// 0x5C never passes for a backslash.
bool BeginsWith(const char* text, const char* prefix)
{
    if (!text || !prefix)
        return false;
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(prefix);
    while (*p) {
        if (!*t)
            return false;
        const unsigned char* nextT = Zint_Std::NextChar(t);
        const unsigned char* nextP = Zint_Std::NextChar(p);
        if (nextT - t != nextP - p)
            return false;
        if (nextP - p == 1) {
            if (FoldAscii(*t) != FoldAscii(*p))
                return false;
        } else if (memcmp(t, p, nextP - p) != 0) {
            return false;
        }
        t = nextT;
        p = nextP;
    }
    return true;
}

bool SameText(const char* first, const char* second)
{
    return BeginsWith(first, second) && BeginsWith(second, first);
}

// Both are normalised folders: each ends in a single-byte backslash, so a
// match of all of outer ends on a component boundary of inner.
bool IsOrLiesInNormal(const CString& inner, const CString& outer)
{
    return !inner.IsEmpty() && !outer.IsEmpty() && BeginsWith(inner.data, outer.data);
}

bool LiesStrictlyInNormal(const CString& inner, const CString& outer)
{
    return IsOrLiesInNormal(inner, outer) && inner.GetLength() > outer.GetLength();
}

// The length of the root of a full path: "X:\" or "\\server\share\", which
// has no parent folder.
int RootLength(const char* full)
{
    if (full[0] && full[1] == ':')
        return 3;
    if (full[0] == '\\' && full[1] == '\\') {
        int separators = 0;
        for (int i = 2; full[i]; ++i) {
            if (full[i] == '\\' && ++separators == 2)
                return i + 1;
        }
    }
    return lstrlenA(full);
}

CString NormalSpecialFolder(const int& csidl)
{
    CString folder;
    if (!Zint_Std::GetSpecialFolderPath(folder, csidl))
        return CString();
    return NormalFolder(folder);
}

}  // namespace

bool IsAbsolutePath(const char* path)
{
    if (!path)
        return false;
    const unsigned char drive = FoldAscii(static_cast<unsigned char>(path[0]));
    if (drive >= 'A' && drive <= 'Z' && path[1] == ':' && path[2] == '\\')
        return true;
    return path[0] == '\\' && path[1] == '\\' && path[2] && path[2] != '\\';
}

bool SamePathText(const char* first, const char* second)
{
    return SameText(first, second);
}

CString NormalFolder(const CString& folder)
{
    if (folder.IsEmpty())
        return CString();
    char full[kPathSize];
    const DWORD length = GetFullPathNameA(folder.data, kPathSize, full, 0);
    if (length == 0 || length >= kPathSize)
        return CString();
    CString head(full);
    Zint_Std::AppendBackslash(head);
    const int root = RootLength(head.data);
    // The existing part takes the file system's own spelling (long names,
    // stored case), so that a short or differently cased name of the same
    // folder compares equal; the missing rest stays as given.
    CString tail;
    for (;;) {
        char spelled[kPathSize];
        const DWORD found = GetLongPathNameA(head.data, spelled, kPathSize);
        if (found > 0 && found < kPathSize) {
            CString result(spelled);
            Zint_Std::AppendBackslash(result);
            result.Append(tail);
            return result;
        }
        if (head.GetLength() <= root)
            break;
        head.Delete(head.GetLength() - 1, 1);
        char* last = Zint_Std::FindLastBackslash(head.data);
        if (!last)
            break;
        tail = CString(last + 1) + "\\" + tail;
        last[1] = 0;
        head = CString(head.data);
    }
    CString result(full);
    Zint_Std::AppendBackslash(result);
    return result;
}

bool FolderIsOrLiesIn(const CString& inner, const CString& outer)
{
    return IsOrLiesInNormal(NormalFolder(inner), NormalFolder(outer));
}

bool SameResolvedFolder(const CString& first, const CString& second)
{
    const CString a = NormalFolder(first);
    const CString b = NormalFolder(second);
    return !a.IsEmpty() && !b.IsEmpty() && SameText(a.data, b.data);
}

bool UninstallCommandNamesFolder(const CString& command, const CString& folder)
{
    static const char kProgram[] = "\\setup.exe";
    static const char kSwitch[] = " -U";
    CString program(command);
    if (command.data && command.data[0] == '"') {
        const char* end = strchr(command.data + 1, '"');
        if (!end)
            return false;
        program.Assign(command.data + 1);
        program.Delete(static_cast<int>(end - command.data) - 1, program.GetLength());
    } else {
        // Earlier installations recorded the path unquoted.
        const int cut = program.GetLength() - (sizeof(kSwitch) - 1);
        if (cut <= 0 || strcmp(program.data + cut, kSwitch) != 0)
            return false;
        program.Delete(cut, sizeof(kSwitch) - 1);
    }
    const int name = program.GetLength() - (sizeof(kProgram) - 1);
    if (name <= 0 || !SamePathText(program.data + name, kProgram))
        return false;
    program.Delete(name + 1, sizeof(kProgram) - 2);
    return SameResolvedFolder(program, folder);
}

bool FoldersOverlap(const CString& first, const CString& second)
{
    const CString a = NormalFolder(first);
    const CString b = NormalFolder(second);
    if (a.IsEmpty() || b.IsEmpty())
        return true;
    return IsOrLiesInNormal(a, b) || IsOrLiesInNormal(b, a);
}

CString OwnMenuFolder(const CString& recorded)
{
    if (!IsAbsolutePath(recorded.data) || !Zint_Std::EndsWithBackslash(recorded.data))
        return CString();
    const CString folder = NormalFolder(recorded);
    if (folder.IsEmpty())
        return CString();
    CString name(folder);
    name.Delete(name.GetLength() - 1, 1);
    const char* last = Zint_Std::FindLastBackslash(name.data);
    if (!last || !SameText(last + 1, "Quelt"))
        return CString();
    if (LiesStrictlyInNormal(folder, NormalSpecialFolder(CSIDL_PROGRAMS)) ||
        LiesStrictlyInNormal(folder, NormalSpecialFolder(CSIDL_COMMON_PROGRAMS)))
        return folder;
    return CString();
}

CString OwnStartupLink(const CString& recorded)
{
    if (!IsAbsolutePath(recorded.data) || Zint_Std::EndsWithBackslash(recorded.data))
        return CString();
    CString folder(recorded);
    char* last = Zint_Std::FindLastBackslash(folder.data);
    if (!last || !SameText(last + 1, "Quelt.lnk"))
        return CString();
    last[1] = 0;
    const CString normal = NormalFolder(CString(folder.data));
    if (IsOrLiesInNormal(normal, NormalSpecialFolder(CSIDL_STARTUP)) ||
        IsOrLiesInNormal(normal, NormalSpecialFolder(CSIDL_COMMON_STARTUP)))
        return normal + "Quelt.lnk";
    return CString();
}
