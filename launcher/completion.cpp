// Completion of a typed command name against the sorted name list.
#include "launcher/command_list.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "commands/use_counts.h"
#include "launcher/folded_texts.h"
#include "launcher/name_matcher.h"
#include "launcher/shared_prefix.h"
#include "launcher/tooltip_window.h"
#include "support/mbcs.h"

using Zint_Std::CString;
using Zint_Std::FoldAsciiCase;

namespace {

const int kLongestSharedPrefix = 65;
const int kMostPadding = 63;
const int kNameBuffer = 512;

// Whether name begins with low (already lower-cased), A to Z folded in
// single-byte characters only: a trail byte is never a letter.
bool BeginsWithLowered(const char* name, const char* low, const int& lowLength)
{
    const unsigned char* n = reinterpret_cast<const unsigned char*>(name);
    const unsigned char* l = reinterpret_cast<const unsigned char*>(low);
    int i = 0;
    while (i < lowLength) {
        if (!n[i])
            return false;
        if (IsDBCSLeadByte(n[i])) {
            if (n[i] != l[i] || i + 1 >= lowLength)
                return n[i] == l[i] && i + 1 == lowLength;
            if (n[i + 1] != l[i + 1])
                return false;
            i += 2;
            continue;
        }
        if (FoldAsciiCase(n[i]) != l[i])
            return false;
        i++;
    }
    return true;
}

// The runtime's multibyte lower-casing: only single-byte A to Z change.
void LowerSingleByteLetters(char* text)
{
    unsigned char* p = reinterpret_cast<unsigned char*>(text);
    while (*p) {
        if (IsDBCSLeadByte(*p) && p[1]) {
            p += 2;
            continue;
        }
        *p = FoldAsciiCase(*p);
        p++;
    }
}

// The typed text and what every candidate shares after it; the typed text
// keeps the user's spelling, the added bytes take the first match's.
void ExtendToSharedPrefix(CString& result, const CString& typed, const char* const* candidates,
                          const int& count, const int& shortest)
{
    const int limit = shortest < kLongestSharedPrefix ? shortest : kLongestSharedPrefix;
    const int typedLength = typed.GetLength();
    const int shared = SharedLength(candidates, count, typedLength, limit);
    result = typed;
    const char* rest = candidates[0] + typedLength;
    if (shared < 0) {
        result.Append(rest);
        return;
    }
    CString addition;
    if (shared > 0 && addition.Reserve(shared)) {
        memcpy(addition.data, rest, shared);
        result.Append(addition);
    }
}

}  // namespace

void CCommandList::Complete(CString& result, const CString& typed, CToolTipWindow* list)
{
    result.Empty();
    if (list)
        list->entries.FreeAll();
    if (typed.IsEmpty())
        return;
    char low[kNameBuffer];
    lstrcpynA(low, typed.data, sizeof(low));
    LowerSingleByteLetters(low);
    const int lowLength = lstrlenA(low);

    // The matches point into the name list, which stays as it is meanwhile.
    // Room for every name, and for a list's worth of programs.
    const int room = names.count + 1 + CBestMatches::kMostMatches;
    const char** candidates = static_cast<const char**>(malloc(sizeof(const char*) * room));
    int programs[CBestMatches::kMostMatches];
    if (!candidates)
        return;
    int count = 0;
    int longest = 0;
    int shortest = 0x7FFFFFFF;
    for (int i = 0; i < names.count; i++) {
        const char* name = names.Name(i);
        if (FoldAsciiCase(static_cast<unsigned char>(name[0])) !=
            static_cast<unsigned char>(low[0]))
            continue;
        if (!BeginsWithLowered(name, low, lowLength))
            continue;
        candidates[count++] = name;
        const int length = lstrlenA(name);
        if (length > longest)
            longest = length;
        if (length < shortest)
            shortest = length;
    }
    bool byPart = false;
    int commandsFound = count;
    int programsFound = 0;
    if (count == 0) {
        // No command begins so: the commands found by a part, then the
        // Start menu's programs.
        if (matchBeyondPrefix)
            count = FindByPart(candidates, low, lowLength, longest);
        commandsFound = count;
        if (startMenuPrograms)
            programsFound = FindPrograms(candidates + count, programs,
                                         CBestMatches::kMostMatches - count, low, lowLength,
                                         longest);
        count += programsFound;
        if (count == 0 && matchBeyondPrefix)
            count = FindFolded(typed.data, candidates, programs, commandsFound, longest);
        programsFound = count - commandsFound;
        byPart = true;
    }
    if (count == 1)
        result.Format("%s ", candidates[0]);
    if (count >= 2 && byPart) {
        // Found by a part: nothing is shared to extend the box by; the
        // list is there to step through.
        result = typed;
    } else if (count >= 2) {
        ExtendToSharedPrefix(result, typed, candidates, count, shortest);
    }
    // The box is extended as without ranking; the list and the cycle go
    // by use.
    if (count >= 2 && list && rankByUse)
        OrderByUse(candidates, commandsFound);
    if (count >= 2 && list && list->entries.Allocate(count)) {
        FillList(list->entries, candidates, commandsFound, longest);
        FillProgramRows(list->entries, commandsFound, programs, programsFound, longest);
    }
    free(candidates);
}

namespace {

struct RankedName {
    const char* name;
    double score;
    int place;
};

int CompareRanked(const void* left, const void* right)
{
    const RankedName& a = *static_cast<const RankedName*>(left);
    const RankedName& b = *static_cast<const RankedName*>(right);
    if (a.score != b.score)
        return a.score > b.score ? -1 : 1;
    return a.place - b.place;
}

}  // namespace

void CCommandList::OrderByUse(const char** candidates, const int& count)
{
    CUseCounts counts;
    if (counts.Load(CUseCounts::PathBeside(commandFile)) != kUseCountsLoaded || !counts.Count())
        return;
    RankedName* ranked = static_cast<RankedName*>(malloc(sizeof(RankedName) * count));
    if (!ranked)
        return;
    const ULONGLONG now = CurrentFileTime();
    for (int i = 0; i < count; i++) {
        ranked[i].name = candidates[i];
        ranked[i].score = counts.Score(candidates[i], now);
        ranked[i].place = i;
    }
    qsort(ranked, count, sizeof(RankedName), CompareRanked);
    for (int i = 0; i < count; i++)
        candidates[i] = ranked[i].name;
    free(ranked);
}

void CCommandList::RecordRun(const CString& name)
{
    if (!rankByUse || commandFile.IsEmpty())
        return;
    const CString path = CUseCounts::PathBeside(commandFile);
    CUseCounts counts;
    // A missing file is begun; one that another program holds, or of
    // another format, is left as it is.
    if (counts.Load(path) == kUseCountsUnusable)
        return;
    if (counts.AddRun(name.data, CurrentFileTime()))
        counts.Save(path);
}

int CCommandList::FindByPart(const char** candidates, const char* low, const int& lowLength,
                             int& longest)
{
    CBestMatches best;
    NameMatch match;
    for (int i = 0; i < names.count; i++) {
        const char* name = names.Name(i);
        if (MatchNameBeyondPrefix(name, low, lowLength, match)) {
            match.index = i;
            best.Offer(match);
        }
    }
    longest = 0;
    for (int i = 0; i < best.count; i++) {
        candidates[i] = names.Name(best.items[i].index);
        if (best.items[i].length > longest)
            longest = best.items[i].length;
    }
    return best.count;
}

// The first count rows: the name, blanks up to the longest name, " : " and
// the comment.
void CCommandList::FillList(Zint_Std::CArray<Zint_Std::CStringPair>& entries,
                            const char* const* candidates, const int& count, const int& longest)
{
    // One look at the file for the whole list.
    RefreshCommands();
    CString comment;
    for (int i = 0; i < count; i++) {
        Zint_Std::CStringPair& entry = entries.items[i];
        entry.first.Assign(candidates[i]);
        int padding = longest - entry.first.GetLength();
        if (padding > kMostPadding)
            padding = kMostPadding;
        comment = commands.Value(commands.FindSection(entry.first.data), "COMMENT", 100);
        const int commentLength = comment.GetLength();
        if (!entry.second.Reserve(padding + 3 + commentLength))
            continue;
        memset(entry.second.data, ' ', padding);
        memcpy(entry.second.data + padding, " : ", 3);
        if (commentLength)
            memcpy(entry.second.data + padding + 3, comment.data, commentLength);
    }
}

int CCommandList::FindPrograms(const char** candidates, int* indexes, const int& most,
                               const char* low, const int& lowLength, int& longest)
{
    if (most <= 0)
        return 0;
    programs.Refresh();
    CBestMatches best;
    programs.Offer(low, lowLength, matchBeyondPrefix != 0, best);
    const int count = best.count < most ? best.count : most;
    for (int i = 0; i < count; i++) {
        indexes[i] = best.items[i].index;
        candidates[i] = programs.Name(indexes[i]);
        if (best.items[i].length > longest)
            longest = best.items[i].length;
    }
    return count;
}

// Rows after the commands': the program's name and where it comes from.
void CCommandList::FillProgramRows(Zint_Std::CArray<Zint_Std::CStringPair>& entries,
                                   const int& first, const int* indexes, const int& count,
                                   const int& longest)
{
    for (int i = 0; i < count && first + i < entries.count; i++) {
        Zint_Std::CStringPair& row = entries.items[first + i];
        row.first.Assign(programs.Name(indexes[i]));
        int padding = longest - row.first.GetLength();
        if (padding > kMostPadding)
            padding = kMostPadding;
        if (!row.second.Reserve(padding + 3))
            continue;
        memset(row.second.data, ' ', padding);
        memcpy(row.second.data + padding, " : ", 3);
        row.second.Append("スタートメニュー");
        const char* folder = programs.Folder(indexes[i]);
        if (*folder) {
            row.second.AppendChar('\\');
            row.second.Append(folder);
        }
    }
}

bool CCommandList::FoldCommands()
{
    RefreshCommands();
    if (foldedNames.source == namesGeneration && foldedComments.source == commands.Generation())
        return true;
    foldedNames.Clear();
    foldedComments.Clear();
    for (int i = 0; i < names.count; i++) {
        const char* name = names.Name(i);
        const CString comment = commands.Value(commands.FindSection(name), "COMMENT", 100);
        if (!foldedNames.Add(name) || !foldedComments.Add(comment.Text())) {
            foldedNames.Clear();
            foldedComments.Clear();
            return false;
        }
    }
    foldedNames.source = namesGeneration;
    foldedComments.source = commands.Generation();
    return true;
}

int CCommandList::FindFoldedCommands(const char* pattern, const int& patternLength,
                                     const char** candidates, int& longest)
{
    CBestMatches best;
    NameMatch match;
    const unsigned long long mark = CFoldedTexts::MarkOf(pattern);
    for (int i = 0; i < foldedNames.Count(); i++) {
        if (foldedNames.MayHold(i, mark) &&
            MatchFolded(foldedNames.Text(i), pattern, patternLength, false, match)) {
            match.index = i;
            best.Offer(match);
        } else if (foldedComments.MayHold(i, mark) &&
                   MatchFolded(foldedComments.Text(i), pattern, patternLength, true, match)) {
            // After every name: a comment is found only by the whole text.
            match.kind = 2;
            match.index = i;
            best.Offer(match);
        }
    }
    for (int i = 0; i < best.count; i++) {
        candidates[i] = names.Name(best.items[i].index);
        const int length = lstrlenA(candidates[i]);
        if (length > longest)
            longest = length;
    }
    return best.count;
}

int CCommandList::FindFolded(const char* typed, const char** candidates, int* indexes,
                             int& commandsFound, int& longest)
{
    char pattern[kNameBuffer * 2];
    const bool folded = FoldCommands();
    for (int pass = 0; pass < 2; pass++) {
        // The text folded first; romaji only when that finds nothing.
        if (pass == 1 && !romaji)
            break;
        if (!FoldTyped(typed, pass == 1, pattern, sizeof(pattern)))
            continue;
        const int patternLength = lstrlenA(pattern);
        commandsFound = folded ? FindFoldedCommands(pattern, patternLength, candidates, longest) : 0;
        int count = commandsFound;
        if (startMenuPrograms && count < CBestMatches::kMostMatches) {
            programs.Refresh();
            CBestMatches best;
            programs.OfferFolded(pattern, patternLength, best);
            for (int i = 0; i < best.count && count < CBestMatches::kMostMatches; i++) {
                indexes[count - commandsFound] = best.items[i].index;
                candidates[count] = programs.Name(best.items[i].index);
                const int length = lstrlenA(candidates[count]);
                if (length > longest)
                    longest = length;
                count++;
            }
        }
        if (count)
            return count;
    }
    commandsFound = 0;
    return 0;
}
