// The tree that tries to lead a walk, a deletion or a change out of its
// folder, built with the wide functions and Unix links.
#include "test_paths.h"

#include "support/files.h"

using Zint_Std::CString;

namespace {

// Names a walk must refuse: joined as the code page gives them they would
// name the tree's parent, a file beside the tree, a device, or nothing at
// all.
const wchar_t* const kUnusableFolders[] = {L"\u00A5.."};
const wchar_t* const kUnusableFiles[] = {L"..\u00A5precious.txt", L"a\u00A5b", L"x\u20ACy",
                                         L"nul", L"con.txt", L"Com1.log", L"aux", L"PRN", L"lpt1"};

bool WriteWide(const std::wstring& path, const char* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, lstrlenA(text), &written, 0);
    CloseHandle(file);
    return ok != 0;
}

bool Holds(const CString& path, const char* text)
{
    int length = 0;
    CString content = ReadWholeFile(path, &length);
    return length == lstrlenA(text) && content.data && !memcmp(content.data, text, length);
}

}  // namespace

bool CHostileTree::Build(const char* name)
{
    root = MakeScratchFolder(name);
    tree = root + "tree\\";
    outside = root + "outside\\";
    unusableNames = 0;
    tooDeep = 0;
    const char* const folders[] = {"tree", "tree\\sub", "tree\\表", "outside", "outside\\sub"};
    for (size_t i = 0; i < sizeof(folders) / sizeof(folders[0]); i++) {
        if (!CreateDirectoryA((root + folders[i]).data, 0))
            return Fail("a folder");
    }
    if (!WriteTextFile(root + "precious.txt", "precious") ||
        !WriteTextFile(outside + "keep.txt", "keep") ||
        !WriteTextFile(outside + "sub\\deep.txt", "deep") ||
        !SetFileAttributesA((outside + "keep.txt").data, FILE_ATTRIBUTE_READONLY) ||
        !WriteTextFile(tree + "a.txt", "a") || !WriteTextFile(tree + "sub\\b.txt", "b") ||
        !WriteTextFile(tree + "表\\c.txt", "c"))
        return Fail("a file");
    keepAttributes = GetFileAttributesA((outside + "keep.txt").data);
    if (!MakeUnixLink(tree + "link", outside) || !MakeUnixLink(tree + "loop", tree) ||
        !MakeUnixLink(tree + "sub\\loop", tree + "sub") ||
        !MakeUnixLink(tree + "filelink", outside + "keep.txt"))
        return Fail("a Unix link");
    // Without the long-path prefix the path rules would drop the dots.
    const std::wstring wideTree = L"\\\\?\\" + Wide(tree.data);
    for (size_t i = 0; i < sizeof(kUnusableFolders) / sizeof(kUnusableFolders[0]); i++) {
        const std::wstring folder = wideTree + kUnusableFolders[i];
        if (!CreateDirectoryW(folder.c_str(), 0) || !WriteWide(folder + L"\\inner.txt", "inner"))
            return Fail("a folder with an odd name");
        unusableNames++;
    }
    for (size_t i = 0; i < sizeof(kUnusableFiles) / sizeof(kUnusableFiles[0]); i++) {
        if (!WriteWide(wideTree + kUnusableFiles[i], "odd"))
            return Fail("a file with an odd name");
        unusableNames++;
    }
    // Folders of 60 characters, one below the other, until the path is
    // longer than the ANSI functions take: the last one is too deep.
    std::wstring deep = wideTree + L"deep";
    if (!CreateDirectoryW(deep.c_str(), 0))
        return Fail("the deep folder");
    const std::wstring level(60, L'd');
    while (deep.size() - 4 < MAX_PATH + 10) {
        deep += L"\\" + level;
        if (!CreateDirectoryW(deep.c_str(), 0))
            return Fail("a level of the deep folder");
    }
    if (!WriteWide(deep + L"\\end.txt", "end"))
        return Fail("the file at the deep end");
    tooDeep = 1;
    return true;
}

bool CHostileTree::Fail(const char* what)
{
    failure = std::string("could not make ") + what;
    return false;
}

bool CHostileTree::OutsideIsIntact(std::string& why) const
{
    why.clear();
    if (!Holds(root + "precious.txt", "precious"))
        why += "precious.txt beside the tree; ";
    if (!Holds(outside + "keep.txt", "keep"))
        why += "outside\\keep.txt; ";
    else if (GetFileAttributesA((outside + "keep.txt").data) != keepAttributes)
        why += "the attributes of outside\\keep.txt; ";
    if (!Holds(outside + "sub\\deep.txt", "deep"))
        why += "outside\\sub\\deep.txt; ";
    return why.empty();
}

bool CHostileTree::UnusableNamesStay(std::string& why) const
{
    why.clear();
    const std::wstring wideTree = L"\\\\?\\" + Wide(tree.data);
    if (GetFileAttributesW((wideTree + kUnusableFolders[0] + L"\\inner.txt").c_str()) ==
        INVALID_FILE_ATTRIBUTES)
        why += "the folder U+00A5.. and its file; ";
    for (size_t i = 0; i < sizeof(kUnusableFiles) / sizeof(kUnusableFiles[0]); i++) {
        if (GetFileAttributesW((wideTree + kUnusableFiles[i]).c_str()) == INVALID_FILE_ATTRIBUTES)
            why += "a file with a name the code page cannot give; ";
    }
    return why.empty();
}

void CHostileTree::Remove() const
{
    if (!root.IsEmpty())
        RemoveScratchFolder(root);
}
