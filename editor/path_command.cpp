#include "editor/path_command.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

#include "commands/profile_text.h"
#include "support/files.h"
#include "support/mbcs.h"
#include "support/shortcut.h"

using Zint_Std::CString;

namespace {

bool IsDriveRoot(const char* path)
{
    const char c = path[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter && path[1] == ':' && (path[2] == 0 || (path[2] == '\\' && path[3] == 0));
}

// The path without a trailing backslash, unless it is a drive root.
CString WithoutTrailingBackslash(const char* path)
{
    CString result(path);
    if (!IsDriveRoot(path) && Zint_Std::EndsWithBackslash(path))
        result.data[result.GetLength() - 1] = 0;
    return result;
}

// The folder holding a file: everything before its last backslash; a
// drive root keeps its backslash.
CString ParentFolder(const char* path)
{
    CString folder(path);
    char* last = folder.data ? Zint_Std::FindLastBackslash(folder.data) : 0;
    if (!last)
        return CString();
    if (last == folder.data + 2 && folder.data[1] == ':')
        last[1] = 0;
    else
        last[0] = 0;
    return folder;
}

bool EndsWithNoCase(const char* text, const char* ending)
{
    const int length = lstrlenA(text);
    const int endingLength = lstrlenA(ending);
    return length >= endingLength && lstrcmpiA(text + length - endingLength, ending) == 0;
}

}  // namespace

bool ReadShortcutTarget(const char* linkPath, Zint_Std::ShortcutContents& target)
{
    const HRESULT initialized = CoInitialize(0);
    const bool read = Zint_Std::ReadShortcutFile(linkPath, target) && !target.target.IsEmpty();
    if (SUCCEEDED(initialized))
        CoUninitialize();
    return read;
}

CString NameFromPath(const char* path, const bool& isFolder)
{
    if (IsDriveRoot(path))
        return CString(path).Tokenize(":", true);
    CString whole = WithoutTrailingBackslash(path);
    const char* last = Zint_Std::FindLastBackslash(whole.Text());
    CString element(last ? last + 1 : (whole.Text()));
    if (!isFolder && element.data) {
        // The extension starts at the last dot; a name that is all
        // extension (".profile") keeps it.
        char* dot = 0;
        for (unsigned char* p = reinterpret_cast<unsigned char*>(element.data); *p;
             p = Zint_Std::NextChar(p)) {
            if (*p == '.')
                dot = reinterpret_cast<char*>(p);
        }
        if (dot && dot != element.data)
            *dot = 0;
    }
    return CommandNameFromText(element.Text());
}

bool CommandFromPath(const char* path, const CCommandStore& store, CommandEntry& entry)
{
    entry.name.Empty();
    entry.path.Empty();
    entry.folder.Empty();
    entry.comment.Empty();
    entry.deleted = 0;
    if (!path || !path[0])
        return false;
    CString name;
    CString command;
    CString folder;
    Zint_Std::ShortcutContents target;
    if (EndsWithNoCase(path, ".lnk") && !Zint_Std::IsFolder(path) &&
        ReadShortcutTarget(path, target)) {
        name = NameFromPath(path, false);
        command = QuotedWhenBlank(target.target.data);
        if (target.arguments.data && target.arguments.data[0]) {
            command.AppendChar(' ');
            command.Append(target.arguments);
        }
        folder = target.workingFolder.data && target.workingFolder.data[0]
                     ? WithoutTrailingBackslash(target.workingFolder.data)
                     : ParentFolder(target.target.data);
    } else {
        // "C:" alone means the drive's current folder to the shell: the root
        // is meant.
        CString plain = WithoutTrailingBackslash(path);
        if (IsDriveRoot(path) && !path[2])
            plain.AppendChar('\\');
        const bool isFolder = IsDriveRoot(path) || Zint_Std::IsFolder(plain.data);
        name = NameFromPath(path, isFolder);
        command = QuotedWhenBlank(plain.data);
        folder = isFolder ? plain : ParentFolder(plain.data);
    }
    if (!name.IsEmpty())
        entry.name = store.UniqueName(name.data);
    entry.path = CutToBytes(command.data, kMaxPathBytes);
    entry.folder = CutToBytes(folder.Text(), kMaxFolderBytes);
    return true;
}
