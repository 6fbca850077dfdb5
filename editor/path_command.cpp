#include "editor/path_command.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

#include "editor/profile_text.h"
#include "support/files.h"
#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

const CLSID kShellLink = {0x00021401, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000,
                         {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Buffers for what a link returns; the shell keeps paths within MAX_PATH,
// arguments may be longer.
const int kLinkTextBytes = 1024;

bool IsDriveRoot(const char* path)
{
    const char c = path[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter && path[1] == ':' && (path[2] == 0 || (path[2] == '\\' && path[3] == 0));
}

bool HasBlank(const char* text)
{
    return strchr(text, ' ') || strchr(text, '\t');
}

CString QuotedWhenBlank(const char* path)
{
    if (!HasBlank(path))
        return CString(path);
    CString quoted("\"");
    quoted.Append(path);
    quoted.Append("\"");
    return quoted;
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

// Keeps only the characters a command name may hold.
CString CleanName(const char* text)
{
    CString name;
    if (!name.Reserve(lstrlenA(text)))
        return name;
    int out = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; p[i];) {
        int width = 1;
        const bool blank = IsBlankAt(text, i, width);
        bool keep = !blank;
        if (keep && width == 1)
            keep = !IsDBCSLeadByte(p[i]) && p[i] >= 0x20 && p[i] != 0x7F && p[i] != '[' &&
                   p[i] != ']';
        if (keep) {
            memcpy(name.data + out, text + i, width);
            out += width;
        }
        i += width;
    }
    name.data[out] = 0;
    return name;
}

}  // namespace

bool ReadShortcutTarget(const char* linkPath, ShortcutTarget& target)
{
    target.path.Empty();
    target.arguments.Empty();
    target.workingFolder.Empty();
    WCHAR widePath[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH * 2))
        return false;
    const HRESULT initialized = CoInitialize(0);
    bool read = false;
    void* created = 0;
    if (SUCCEEDED(CoCreateInstance(kShellLink, 0, CLSCTX_INPROC_SERVER, kShellLinkA, &created)) &&
        created) {
        IShellLinkA* link = static_cast<IShellLinkA*>(created);
        void* persist = 0;
        if (SUCCEEDED(link->QueryInterface(kPersistFile, &persist)) && persist) {
            IPersistFile* file = static_cast<IPersistFile*>(persist);
            if (SUCCEEDED(file->Load(widePath, STGM_READ)) && target.path.Reserve(kLinkTextBytes) &&
                target.arguments.Reserve(kLinkTextBytes) &&
                target.workingFolder.Reserve(kLinkTextBytes)) {
                link->GetPath(target.path.data, kLinkTextBytes, 0, 0);
                link->GetArguments(target.arguments.data, kLinkTextBytes);
                link->GetWorkingDirectory(target.workingFolder.data, kLinkTextBytes);
                read = target.path.data[0] != 0;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialized))
        CoUninitialize();
    return read;
}

CString NameFromPath(const char* path, const bool& isFolder)
{
    if (IsDriveRoot(path))
        return CString(path).Tokenize(":", true);
    CString whole = WithoutTrailingBackslash(path);
    const char* last = Zint_Std::FindLastBackslash(whole.data ? whole.data : "");
    CString element(last ? last + 1 : (whole.data ? whole.data : ""));
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
    return CleanName(element.data ? element.data : "");
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
    ShortcutTarget target;
    if (EndsWithNoCase(path, ".lnk") && !Zint_Std::IsFolder(path) &&
        ReadShortcutTarget(path, target)) {
        name = NameFromPath(path, false);
        command = QuotedWhenBlank(target.path.data);
        if (target.arguments.data && target.arguments.data[0]) {
            command.AppendChar(' ');
            command.Append(target.arguments);
        }
        folder = target.workingFolder.data && target.workingFolder.data[0]
                     ? WithoutTrailingBackslash(target.workingFolder.data)
                     : ParentFolder(target.path.data);
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
    entry.folder = CutToBytes(folder.data ? folder.data : "", kMaxFolderBytes);
    return true;
}
