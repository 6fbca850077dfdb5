#include "launcher/start_menu_catalog.h"

#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

#include "support/array.h"
#include "support/files.h"
#include "support/mbcs.h"

using Zint_Std::CArray;
using Zint_Std::CString;
using Zint_Std::FoldAsciiCase;

namespace {

const unsigned char* const leadBytes = Zint_Std::LeadByteTable();

// Two names in the catalog's order: byte by byte with A to Z folded in
// single-byte characters, a double-byte character compared as it is.
int CompareNames(const unsigned char* a, const int& aLength, const unsigned char* b,
                 const int& bLength)
{
    int i = 0;
    for (;;) {
        if (i >= aLength || i >= bLength)
            return (i < aLength) - (i < bLength);
        // Lead bytes lie above the letters: folding leaves them alone.
        const int difference = FoldAsciiCase(a[i]) - FoldAsciiCase(b[i]);
        if (difference)
            return difference;
        if (leadBytes[a[i]] && i + 1 < aLength && i + 1 < bLength) {
            if (a[i + 1] != b[i + 1])
                return a[i + 1] - b[i + 1];
            i += 2;
        } else {
            i++;
        }
    }
}

// Whether name begins with low, compared as CompareNames does.
bool BeginsWith(const unsigned char* name, const unsigned char* low, const int& lowLength)
{
    int i = 0;
    while (i < lowLength) {
        if (!name[i])
            return false;
        if (leadBytes[name[i]] && name[i + 1]) {
            if (name[i] != low[i] || (i + 1 < lowLength && name[i + 1] != low[i + 1]))
                return false;
            i += 2;
        } else {
            if (FoldAsciiCase(name[i]) != low[i])
                return false;
            i++;
        }
    }
    return true;
}

bool EndsWithLnk(const char* path, const int& length)
{
    if (length < 4)
        return false;
    const char* end = path + length - 4;
    return end[0] == '.' && FoldAsciiCase(end[1]) == 'l' && FoldAsciiCase(end[2]) == 'n' &&
           FoldAsciiCase(end[3]) == 'k';
}

// One shortcut found while the catalog is read. Its texts lie in the
// listed paths, which live until the catalog is built.
struct Found {
    const char* path;
    const char* name;    // up to ".lnk"
    const char* folder;  // below the Programs folder
    int pathLength;
    int nameLength;
    int folderLength;
    int group;   // its folder's place in the folder texts
    int source;  // 0: the user's folder, 1: all users'
    int depth;
};

// By name; of the same name the user's first, then the shallower, then the
// first folder in name order.
int CompareFound(const void* left, const void* right)
{
    const Found& a = **static_cast<const Found* const*>(left);
    const Found& b = **static_cast<const Found* const*>(right);
    const unsigned char* aName = reinterpret_cast<const unsigned char*>(a.name);
    const unsigned char* bName = reinterpret_cast<const unsigned char*>(b.name);
    int order = CompareNames(aName, a.nameLength, bName, b.nameLength);
    if (order)
        return order;
    if (a.source != b.source)
        return a.source - b.source;
    if (a.depth != b.depth)
        return a.depth - b.depth;
    order = CompareNames(reinterpret_cast<const unsigned char*>(a.folder), a.folderLength,
                         reinterpret_cast<const unsigned char*>(b.folder), b.folderLength);
    if (order)
        return order;
    // Names that differ in letter case only, on a file system that keeps
    // both: an order all the same.
    return strcmp(a.path, b.path);
}

// The last single-byte backslash of text, null for none, and how many
// there are: the depth of a path below its folder.
const char* LastBackslash(const char* text, int& backslashes)
{
    const char* last = 0;
    backslashes = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; p[i]; i += Zint_Std::CharacterWidth(leadBytes, p + i)) {
        if (p[i] == '\\') {
            last = text + i;
            backslashes++;
        }
    }
    return last;
}

}  // namespace

CStartMenuCatalog::CStartMenuCatalog()
    : foldersKnown(false), read(false), readAlways(false), text(0), entries(0), count(0)
{
    for (int i = 0; i < kFolders; i++) {
        watches[i] = 0;
        missing[i] = false;
    }
}

CStartMenuCatalog::~CStartMenuCatalog()
{
    CloseWatches();
    Clear();
}

void CStartMenuCatalog::SetFolders(const CString& user, const CString& common)
{
    folders[0] = user;
    folders[1] = common;
    for (int i = 0; i < kFolders; i++)
        Zint_Std::AppendBackslash(folders[i]);
    foldersKnown = true;
    read = false;
    CloseWatches();
}

void CStartMenuCatalog::Refresh()
{
    if (!foldersKnown) {
        // A folder the shell does not know stays empty.
        if (!Zint_Std::GetSpecialFolderPath(folders[0], CSIDL_PROGRAMS))
            folders[0].Empty();
        if (!Zint_Std::GetSpecialFolderPath(folders[1], CSIDL_COMMON_PROGRAMS))
            folders[1].Empty();
        foldersKnown = true;
    }
    if (read && !HasChanged())
        return;
    // Watched before the walk: a change made while it runs fires for the
    // next Refresh.
    Watch();
    Read();
    read = true;
}

bool CStartMenuCatalog::HasChanged() const
{
    if (readAlways)
        return true;
    for (int i = 0; i < kFolders; i++) {
        if (watches[i] && WaitForSingleObject(watches[i], 0) == WAIT_OBJECT_0)
            return true;
        // A missing folder cannot be watched: only its coming counts.
        if (missing[i] && GetFileAttributesA(folders[i].data) != INVALID_FILE_ATTRIBUTES)
            return true;
    }
    return false;
}

void CStartMenuCatalog::Watch()
{
    CloseWatches();
    readAlways = false;
    for (int i = 0; i < kFolders; i++) {
        missing[i] = false;
        if (folders[i].IsEmpty())
            continue;
        HANDLE watch = FindFirstChangeNotificationA(
            folders[i].data, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
        if (watch != INVALID_HANDLE_VALUE && watch) {
            watches[i] = watch;
            continue;
        }
        // A folder that is there but cannot be watched is read again at
        // every Refresh: no change may go unseen.
        if (GetFileAttributesA(folders[i].data) == INVALID_FILE_ATTRIBUTES)
            missing[i] = true;
        else
            readAlways = true;
    }
}

void CStartMenuCatalog::CloseWatches()
{
    for (int i = 0; i < kFolders; i++) {
        if (watches[i])
            FindCloseChangeNotification(watches[i]);
        watches[i] = 0;
    }
}

void CStartMenuCatalog::Clear()
{
    free(text);
    free(entries);
    text = 0;
    entries = 0;
    count = 0;
    folded.Clear();
}

void CStartMenuCatalog::Read()
{
    Clear();
    CArray<CString> paths[kFolders];
    int listed = 0;
    for (int s = 0; s < kFolders; s++) {
        if (!folders[s].IsEmpty())
            Zint_Std::ListFolder(folders[s], paths[s], "*", true, false);
        listed += paths[s].count;
    }
    if (!listed)
        return;
    Found* found = static_cast<Found*>(malloc(sizeof(Found) * listed));
    int* groupAt = static_cast<int*>(malloc(sizeof(int) * listed));
    // Pointers to the records are sorted: they move faster than the records.
    const Found** order = static_cast<const Found**>(malloc(sizeof(Found*) * listed));
    if (!found || !groupAt || !order) {
        free(found);
        free(groupAt);
        free(order);
        return;
    }
    // The walk gives the files of one folder one after another: each run
    // of them shares one folder text.
    int n = 0;
    int groups = 0;
    int folderBytes = 0;
    for (int s = 0; s < kFolders; s++) {
        const int rootLength = folders[s].GetLength();
        for (int p = 0; p < paths[s].count; p++) {
            Found& f = found[n];
            f.path = paths[s].items[p].data;
            f.pathLength = paths[s].items[p].GetLength();
            if (f.pathLength <= rootLength + 4 || !EndsWithLnk(f.path, f.pathLength))
                continue;
            const char* relative = f.path + rootLength;
            const char* slash = LastBackslash(relative, f.depth);
            f.name = slash ? slash + 1 : relative;
            f.nameLength = static_cast<int>(f.path + f.pathLength - 4 - f.name);
            if (f.nameLength <= 0)
                continue;
            f.folder = relative;
            f.folderLength = slash ? static_cast<int>(slash - relative) : 0;
            f.source = s;
            const Found* before = n ? &found[n - 1] : 0;
            if (before && before->source == s && before->folderLength == f.folderLength &&
                !memcmp(before->folder, f.folder, f.folderLength)) {
                f.group = before->group;
            } else {
                f.group = groups;
                groupAt[groups++] = folderBytes;
                folderBytes += f.folderLength + 1;
            }
            n++;
        }
    }
    // The groups' folder texts, then each name and path once.
    char* groupText = static_cast<char*>(malloc(folderBytes ? folderBytes : 1));
    for (int i = 0; groupText && i < n; i++) {
        memcpy(groupText + groupAt[found[i].group], found[i].folder, found[i].folderLength);
        groupText[groupAt[found[i].group] + found[i].folderLength] = 0;
    }
    for (int i = 0; i < n; i++)
        order[i] = &found[i];
    qsort(order, n, sizeof(Found*), CompareFound);
    int kept = 0;
    int bytes = folderBytes;
    for (int i = 0; i < n; i++) {
        const Found& f = *order[i];
        if (kept && !CompareNames(reinterpret_cast<const unsigned char*>(order[kept - 1]->name),
                                  order[kept - 1]->nameLength,
                                  reinterpret_cast<const unsigned char*>(f.name), f.nameLength))
            continue;
        order[kept++] = &f;
        bytes += f.nameLength + 1 + f.pathLength + 1;
    }
    text = groupText ? static_cast<char*>(realloc(groupText, bytes)) : 0;
    entries = static_cast<Entry*>(malloc(sizeof(Entry) * (kept ? kept : 1)));
    if (!text || !entries) {
        if (!text)
            free(groupText);
        Clear();
        free(found);
        free(groupAt);
        free(order);
        return;
    }
    int at = folderBytes;
    for (int i = 0; i < kept; i++) {
        const Found& f = *order[i];
        entries[i].folder = groupAt[f.group];
        entries[i].name = at;
        memcpy(text + at, f.name, f.nameLength);
        text[at + f.nameLength] = 0;
        at += f.nameLength + 1;
        entries[i].link = at;
        memcpy(text + at, f.path, f.pathLength + 1);
        at += f.pathLength + 1;
    }
    count = kept;
    free(found);
    free(groupAt);
    free(order);
}

int CStartMenuCatalog::Find(const char* name) const
{
    if (!name)
        return -1;
    const unsigned char* sought = reinterpret_cast<const unsigned char*>(name);
    const int length = lstrlenA(name);
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        const char* candidate = Name(middle);
        const int order = CompareNames(reinterpret_cast<const unsigned char*>(candidate),
                                       lstrlenA(candidate), sought, length);
        if (!order)
            return middle;
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return -1;
}

void CStartMenuCatalog::Offer(const char* low, const int& lowLength, const bool& beyondPrefix,
                              CBestMatches& best) const
{
    const unsigned char* typed = reinterpret_cast<const unsigned char*>(low);
    if (!low || lowLength < 0)
        return;
    NameMatch match;
    for (int i = 0; i < count; i++) {
        const char* name = Name(i);
        // A beginning is the best match there is, found here whatever the
        // search by a part would rank.
        if (BeginsWith(reinterpret_cast<const unsigned char*>(name), typed, lowLength)) {
            match.kind = 0;
            match.inWord = 0;
            match.position = 0;
            match.length = lstrlenA(name);
        } else if (!beyondPrefix || !MatchNameBeyondPrefix(name, low, lowLength, match)) {
            continue;
        }
        match.index = i;
        best.Offer(match);
    }
}

void CStartMenuCatalog::OfferFolded(const char* pattern, const int& patternLength,
                                    CBestMatches& best)
{
    if (!folded.source) {
        folded.Clear();
        for (int i = 0; i < count; i++) {
            if (!folded.Add(Name(i)))
                return;
        }
        folded.source = 1;
    }
    NameMatch match;
    const unsigned long long mark = CFoldedTexts::MarkOf(pattern);
    for (int i = 0; i < folded.Count(); i++) {
        if (folded.MayHold(i, mark) && MatchFolded(folded.Text(i), pattern, patternLength, false, match)) {
            match.index = i;
            best.Offer(match);
        }
    }
}
