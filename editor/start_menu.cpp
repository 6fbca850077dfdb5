#include "editor/start_menu.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

#include "editor/profile_text.h"
#include "support/files.h"
#include "support/mbcs.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

const CLSID kShellLink = {0x00021401, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kShellLinkA = {0x000214EE, 0x0000, 0x0000,
                         {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kPersistFile = {0x0000010B, 0x0000, 0x0000,
                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The shell's texts of a link are at most MAX_PATH characters; arguments
// and descriptions may be longer, the buffer takes what fits.
const int kLinkText = 1024;

const char kFallbackName[] = "ショートカット";

const char* TextOf(const CString& s)
{
    return s.data ? s.data : "";
}

bool ReadInto(CString& text)
{
    return text.Reserve(kLinkText);
}

// Loads one .lnk file through the shell's link object.
bool ReadShortcut(const CString& linkFile, LinkContents& contents)
{
    WCHAR widePath[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, TextOf(linkFile), -1, widePath, MAX_PATH * 2))
        return false;
    void* created = 0;
    if (FAILED(CoCreateInstance(kShellLink, 0, CLSCTX_INPROC_SERVER, kShellLinkA, &created)) ||
        !created)
        return false;
    IShellLinkA* link = static_cast<IShellLinkA*>(created);
    void* persist = 0;
    bool loaded = false;
    if (SUCCEEDED(link->QueryInterface(kPersistFile, &persist)) && persist) {
        IPersistFile* file = static_cast<IPersistFile*>(persist);
        if (SUCCEEDED(file->Load(widePath, STGM_READ)) && ReadInto(contents.target) &&
            ReadInto(contents.arguments) && ReadInto(contents.workingFolder) &&
            ReadInto(contents.description)) {
            WIN32_FIND_DATAA found;
            // An advertised shortcut gives no path and S_FALSE.
            if (link->GetPath(contents.target.data, kLinkText, &found, 0) != S_OK)
                contents.target.data[0] = 0;
            link->GetArguments(contents.arguments.data, kLinkText);
            link->GetWorkingDirectory(contents.workingFolder.data, kLinkText);
            link->GetDescription(contents.description.data, kLinkText);
            loaded = true;
        }
        file->Release();
    }
    link->Release();
    return loaded;
}

bool HoldsBlank(const char* text)
{
    for (int i = 0; text[i];) {
        int width = 1;
        if (IsBlankAt(text, i, width))
            return true;
        i += width;
    }
    return false;
}

// The folder part without its closing backslash, except for a drive's root.
CString FolderWithoutBackslash(const char* path)
{
    CString folder(path);
    if (!Zint_Std::FindLastBackslash(folder.data))
        return CString();
    Zint_Std::CutAfterLastBackslash(folder.data);
    const int length = folder.GetLength();
    if (length > 1 && !(length == 3 && folder.data[1] == ':'))
        folder.data[length - 1] = 0;
    return folder;
}

bool IsShortcutFile(const CString& path)
{
    const int length = path.GetLength();
    return length > 4 && lstrcmpiA(path.data + length - 4, ".lnk") == 0;
}

// The link's file name without its extension.
CString BaseNameOf(const CString& linkFile)
{
    const char* last = Zint_Std::FindLastBackslash(TextOf(linkFile));
    CString name(last ? last + 1 : TextOf(linkFile));
    const int length = name.GetLength();
    if (length >= 4 && lstrcmpiA(name.data + length - 4, ".lnk") == 0)
        name.data[length - 4] = 0;
    return name;
}

// The sub-folders between the root and the link, "" at the root itself.
CString SubFolderOf(const CString& linkFile, const CString& root)
{
    const int rootLength = root.GetLength();
    if (linkFile.GetLength() <= rootLength)
        return CString();
    CString relative(linkFile.data + rootLength);
    return FolderWithoutBackslash(relative.data);
}

CString PathValue(const LinkContents& link)
{
    CString path;
    if (HoldsBlank(TextOf(link.target))) {
        path = "\"";
        path.Append(link.target);
        path.Append("\"");
    } else {
        path = link.target;
    }
    if (!link.arguments.IsEmpty() && link.arguments.data[0]) {
        path.Append(" ");
        path.Append(link.arguments);
    }
    return CutToBytes(TextOf(path), kMaxPathBytes);
}

bool SameText(const CString& a, const CString& b)
{
    return lstrcmpiA(TextOf(a), TextOf(b)) == 0;
}

}  // namespace

CString CommandNameFromText(const char* text)
{
    CString name;
    const int length = text ? lstrlenA(text) : 0;
    if (!name.Reserve(length))
        return name;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    int out = 0;
    for (int i = 0; p[i];) {
        int width = 1;
        if (IsBlankAt(text, i, width)) {
            i += width;
            continue;
        }
        if (width == 2) {
            name.data[out++] = static_cast<char>(p[i]);
            name.data[out++] = static_cast<char>(p[i + 1]);
        } else if (!(IsDBCSLeadByte(p[i]) || p[i] < 0x20 || p[i] == 0x7F || p[i] == '[' ||
                     p[i] == ']')) {
            name.data[out++] = static_cast<char>(p[i]);
        }
        i += width;
    }
    name.data[out] = 0;
    return name;
}

void CStartMenuScan::ProgramFolders(CArray<CString>& folders)
{
    const int kinds[] = {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS};
    for (const int kind : kinds) {
        CString folder;
        if (Zint_Std::GetSpecialFolderPath(folder, kind) && Zint_Std::FolderExists(folder))
            folders.Add(folder);
    }
}

int CStartMenuScan::FindProposedName(const char* name, const int& skip) const
{
    for (int i = 0; i < proposals.count; i++) {
        if (i != skip && lstrcmpiA(TextOf(proposals.items[i].name), name ? name : "") == 0)
            return i;
    }
    return -1;
}

CString CStartMenuScan::UniqueName(const char* base, const CCommandStore& store,
                                   const int& skip) const
{
    CString name(base);
    for (int suffix = 2; store.FindName(TextOf(name), -1) >= 0 ||
                         FindProposedName(TextOf(name), skip) >= 0;
         suffix++) {
        CString number;
        number.Format("%d", suffix);
        name = base;
        name.Append(number);
    }
    return name;
}

void CStartMenuScan::AddProposal(const CString& linkFile, const CString& root,
                                 const LinkContents& link, const CCommandStore& store)
{
    ShortcutProposal proposal;
    CString base = CommandNameFromText(TextOf(BaseNameOf(linkFile)));
    if (base.IsEmpty())
        base = kFallbackName;
    proposal.name = UniqueName(TextOf(base), store, -1);
    proposal.path = PathValue(link);
    const CString folder = link.workingFolder.IsEmpty()
                               ? FolderWithoutBackslash(TextOf(link.target))
                               : link.workingFolder;
    proposal.folder = CutToBytes(TextOf(folder), kMaxFolderBytes);
    const CString comment =
        link.description.IsEmpty() ? SubFolderOf(linkFile, root) : link.description;
    proposal.comment = CutToBytes(TextOf(comment), kMaxCommentBytes);
    proposal.linkFile = linkFile;
    proposals.Add(proposal);
}

bool CStartMenuScan::Scan(const CArray<CString>& folders, const CCommandStore& store)
{
    proposals.SetSize(0);
    const HRESULT com = CoInitialize(0);
    void* probe = 0;
    const bool linkObject =
        SUCCEEDED(CoCreateInstance(kShellLink, 0, CLSCTX_INPROC_SERVER, kShellLinkA, &probe)) &&
        probe;
    if (probe)
        static_cast<IShellLinkA*>(probe)->Release();
    // Targets with their arguments already proposed, to leave out copies.
    CArray<CString> seen;
    for (int f = 0; f < folders.count && linkObject; f++) {
        CString root(folders.items[f]);
        Zint_Std::AppendBackslash(root);
        // The walker applies its pattern to folders too: everything is
        // listed and the shortcuts picked by their extension.
        CArray<CString> files;
        Zint_Std::ListFolder(root, files, "*", true, false);
        CArray<CString> links;
        for (int i = 0; i < files.count; i++) {
            if (IsShortcutFile(files.items[i]))
                links.Add(files.items[i]);
        }
        // The file system's order differs between machines; the user reads
        // the list in name order.
        links.Sort(true);
        for (int i = 0; i < links.count; i++) {
            LinkContents link;
            if (!ReadShortcut(links.items[i], link) || link.target.IsEmpty())
                continue;
            CString key(link.target);
            key.Append("\n");
            key.Append(link.arguments);
            bool duplicate = false;
            for (int s = 0; s < seen.count && !duplicate; s++)
                duplicate = SameText(seen.items[s], key);
            if (duplicate)
                continue;
            seen.Add(key);
            AddProposal(links.items[i], root, link, store);
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return linkObject;
}
