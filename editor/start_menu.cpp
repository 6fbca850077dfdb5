#include "editor/start_menu.h"

#include <windows.h>
#include <shlobj.h>
#include <string.h>

#include "commands/profile_text.h"
#include "editor/indirect_text.h"
#include "editor/plain_text.h"
#include "support/files.h"
#include "support/mbcs.h"
#include "support/shortcut.h"

using Zint_Std::CArray;
using Zint_Std::CString;

namespace {

const char kFallbackName[] = "ショートカット";

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
    const char* last = Zint_Std::FindLastBackslash(linkFile.Text());
    CString name(last ? last + 1 : linkFile.Text());
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

CString PathValue(const CString& target, const CString& arguments)
{
    CString path;
    if (HoldsBlank(target.Text())) {
        path = "\"";
        path.Append(target);
        path.Append("\"");
    } else {
        path = target;
    }
    if (!arguments.IsEmpty() && arguments.data[0]) {
        path.Append(" ");
        path.Append(arguments);
    }
    return CutToBytes(path.Text(), kMaxPathBytes);
}

bool SameText(const CString& a, const CString& b)
{
    return lstrcmpiA(a.Text(), b.Text()) == 0;
}

}  // namespace

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
        if (i != skip && lstrcmpiA(proposals.items[i].name.Text(), name ? name : "") == 0)
            return i;
    }
    return -1;
}

CString CStartMenuScan::UniqueName(const char* base, const CCommandStore& store,
                                   const int& skip) const
{
    CString name(base);
    for (int suffix = 2; store.FindName(name.Text(), -1) >= 0 ||
                         FindProposedName(name.Text(), skip) >= 0;
         suffix++) {
        CString number;
        number.Format("%d", suffix);
        name = base;
        name.Append(number);
    }
    return name;
}

void CStartMenuScan::AddProposal(const CString& linkFile, const CString& root,
                                 const Zint_Std::ShortcutContents& link, const CCommandStore& store)
{
    ShortcutProposal proposal;
    CString base = CommandNameFromText(BaseNameOf(linkFile).Text());
    if (base.IsEmpty())
        base = kFallbackName;
    proposal.name = UniqueName(base.Text(), store, -1);
    // Whatever the link holds comes from outside: a line break in it would
    // end the value and could start a section in the command file.
    const CString target = WithoutControlCharacters(link.target.Text());
    const CString workingFolder = WithoutControlCharacters(link.workingFolder.Text());
    // A description that names a resource string is read from there; one
    // that cannot be read gives way to the sub-folder, as a missing one.
    CString resolved;
    const bool indirect = IsIndirectText(link.description.Text());
    if (indirect)
        LoadIndirectText(link.description.Text(), resolved);
    const CString description =
        WithoutControlCharacters(indirect ? resolved.Text() : link.description.Text());
    proposal.path = PathValue(target, WithoutControlCharacters(link.arguments.Text()));
    const CString folder =
        workingFolder.IsEmpty() ? FolderWithoutBackslash(target.Text()) : workingFolder;
    proposal.folder = CutToBytes(folder.Text(), kMaxFolderBytes);
    const CString comment = description.IsEmpty()
                                ? WithoutControlCharacters(SubFolderOf(linkFile, root).Text())
                                : description;
    proposal.comment = CutToBytes(comment.Text(), kMaxCommentBytes);
    proposal.linkFile = linkFile;
    proposals.Add(proposal);
}

bool CStartMenuScan::Scan(const CArray<CString>& folders, const CCommandStore& store)
{
    proposals.SetSize(0);
    const HRESULT com = CoInitialize(0);
    const bool linkObject = Zint_Std::ShellLinksAvailable();
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
            Zint_Std::ShortcutContents link;
            if (!Zint_Std::ReadShortcutFile(links.items[i].Text(), link) || link.target.IsEmpty())
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
