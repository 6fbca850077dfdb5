#include "editor/settings_store.h"

#include <stdlib.h>
#include <string.h>

#include "commands/profile_keys.h"
#include "commands/profile_lists.h"
#include "commands/profile_text.h"

using Zint_Std::CString;
using Zint_Std::CStringPair;
using Zint_Std::CArray;

namespace {

const char kAliasSection[] = "Alias";

// Larger than anything the launcher reads, so that a long value the user
// did not touch is compared whole and never cut by a save.
const DWORD kValueBuffer = 4096;

// A key of the profile that holds a number, with where it lives in the
// record; flags are compared and written as 0 or 1.
struct NumberKey {
    ProfileKeyId id;
    int EditorSettings::*field;
    bool flag;
};

// The hotkey modifiers but Win, which follows its own rule below.
const NumberKey kNumberKeys[] = {
    {kKeyAlt, &EditorSettings::alt, true},
    {kKeyCtrl, &EditorSettings::ctrl, true},
    {kKeyShift, &EditorSettings::shift, true},
    {kKeyVirtualKey, &EditorSettings::key, false},
    {kKeyHistory, &EditorSettings::history, false},
    {kKeyToolTip, &EditorSettings::toolTip, true},
    {kKeyTaskTray, &EditorSettings::taskTray, true},
    {kKeyImeCtrl, &EditorSettings::imeCtrl, false},
    {kKeyWndWidth, &EditorSettings::width, false},
    {kKeyWndHeight, &EditorSettings::height, false},
    {kKeySavePosition, &EditorSettings::savePosition, true},
    {kKeyMatch, &EditorSettings::match, true},
    {kKeyRank, &EditorSettings::rank, true},
    {kKeyCalc, &EditorSettings::calc, true},
    {kKeyCatalog, &EditorSettings::catalog, true},
    {kKeyOpen, &EditorSettings::open, true},
    {kKeyRomaji, &EditorSettings::romaji, true},
};

bool SameBytes(const CString& a, const CString& b)
{
    return strcmp(a.Text(), b.Text()) == 0;
}

bool NumberDiffers(const NumberKey& item, const EditorSettings& loaded,
                   const EditorSettings& edited)
{
    const int before = loaded.*item.field;
    const int after = edited.*item.field;
    return item.flag ? (before != 0) != (after != 0) : before != after;
}

bool AnyModifierButWin(const EditorSettings& settings)
{
    return settings.alt || settings.ctrl || settings.shift;
}

// Win is written when its switch changes where it counts: in edited when
// nothing else is on, or in loaded where it was in use. A Win the launcher
// ignored (beside Alt, say) and the user never saw stays untouched.
bool WinNeedsWriting(const EditorSettings& loaded, const EditorSettings& edited)
{
    if ((loaded.win != 0) == (edited.win != 0))
        return false;
    const bool loadedUsesWin = loaded.win && !AnyModifierButWin(loaded);
    return edited.win || loadedUsesWin || !AnyModifierButWin(edited);
}

// The alias of loaded that edited's entry replaces: same name, letter
// case aside; -1 for a new one.
bool AliasNeedsWriting(const CArray<CStringPair>& loaded, const CStringPair& alias, int& match)
{
    match = FindAlias(loaded, alias.first.Text(), -1);
    if (match < 0)
        return true;
    const CStringPair& before = loaded.items[match];
    return !SameBytes(before.first, alias.first) || !SameBytes(before.second, alias.second);
}

int ReadNumber(const char* profile, const ProfileKey& key)
{
    return static_cast<int>(GetPrivateProfileIntA(key.section, key.name, key.defaultValue, profile));
}

bool WriteNumber(const char* profile, const ProfileKey& key, const int& value)
{
    CString text;
    text.Format("%d", value);
    return WritePrivateProfileStringA(key.section, key.name, text.data, profile) != 0;
}

// How many lines of [Alias] carry name, letter case aside; -1 when the
// names cannot be read.
int CountAliasLines(const char* profile, const char* name)
{
    int length = 0;
    char* names = ReadKeyNames(profile, kAliasSection, length);
    if (!names)
        return -1;
    int count = 0;
    for (int at = 0; at < length && names[at]; at += lstrlenA(names + at) + 1) {
        if (lstrcmpiA(names + at, name) == 0)
            count++;
    }
    free(names);
    return count;
}

// A delete takes only the first line of a name the file holds twice, and
// the reader then finds the next one: every line of it goes.
bool DeleteAlias(const char* profile, const char* name)
{
    int lines = CountAliasLines(profile, name);
    for (int i = 0; i < lines; i++) {
        if (!WritePrivateProfileStringA(kAliasSection, name, 0, profile))
            return false;
    }
    return lines >= 0 && CountAliasLines(profile, name) == 0;
}

void AddOrReplaceAlias(CArray<CStringPair>& aliases, const CStringPair& alias)
{
    const int at = FindAlias(aliases, alias.first.Text(), -1);
    if (at >= 0) {
        aliases.items[at].first = alias.first;
        aliases.items[at].second = alias.second;
    } else {
        aliases.Add(alias);
    }
}

bool SaveNumbers(const char* profile, EditorSettings& loaded, const EditorSettings& edited,
                 bool& wrote)
{
    // Win's decision needs the modifiers as they were loaded.
    const bool writeWin = WinNeedsWriting(loaded, edited);
    for (const NumberKey& item : kNumberKeys) {
        if (!NumberDiffers(item, loaded, edited))
            continue;
        int value = edited.*item.field;
        if (item.flag)
            value = value ? 1 : 0;
        if (!WriteNumber(profile, kProfileKeys[item.id], value))
            return false;
        loaded.*item.field = value;
        wrote = true;
    }
    if (writeWin) {
        if (!WriteNumber(profile, kProfileKeys[kKeyWin], edited.win ? 1 : 0))
            return false;
        loaded.win = edited.win ? 1 : 0;
        wrote = true;
    }
    return true;
}

bool SaveAliases(const char* profile, EditorSettings& loaded, const EditorSettings& edited,
                 bool& wrote)
{
    // Removed ones first; a name that only changed its letter case goes
    // too and is written again, since a write keeps the old spelling.
    for (int i = loaded.aliases.count - 1; i >= 0; i--) {
        const CStringPair& before = loaded.aliases.items[i];
        const int at = FindAlias(edited.aliases, before.first.Text(), -1);
        if (at >= 0 && SameBytes(edited.aliases.items[at].first, before.first))
            continue;
        if (!DeleteAlias(profile, before.first.Text()))
            return false;
        RemoveAlias(loaded.aliases, i);
        wrote = true;
    }
    for (int i = 0; i < edited.aliases.count; i++) {
        const CStringPair& alias = edited.aliases.items[i];
        int match = -1;
        if (!AliasNeedsWriting(loaded.aliases, alias, match))
            continue;
        CString encoded = EncodeProfileValue(alias.second.Text());
        if (!WritePrivateProfileStringA(kAliasSection, alias.first.Text(), encoded.Text(),
                                        profile))
            return false;
        AddOrReplaceAlias(loaded.aliases, alias);
        wrote = true;
    }
    return true;
}

bool IsControlOrBroken(const unsigned char* p, const int& width)
{
    if (width == 2)
        return false;
    return p[0] < 0x20 || p[0] == 0x7F || IsDBCSLeadByte(p[0]);
}

}  // namespace

bool LoadEditorSettings(const char* profile, EditorSettings& settings)
{
    const char* file = profile ? profile : "";
    for (const NumberKey& item : kNumberKeys)
        settings.*item.field = ReadNumber(file, kProfileKeys[item.id]);
    settings.win = ReadNumber(file, kProfileKeys[kKeyWin]);
    settings.aliases.SetSize(0);
    int length = 0;
    char* names = ReadKeyNames(file, kAliasSection, length);
    if (!names)
        return false;
    CString value;
    bool ok = value.Reserve(kValueBuffer);
    for (int at = 0; ok && at < length && names[at]; at += lstrlenA(names + at) + 1) {
        // A repeated key reads as its first line: one entry for it.
        if (FindAlias(settings.aliases, names + at, -1) >= 0)
            continue;
        value.data[0] = 0;
        GetPrivateProfileStringA(kAliasSection, names + at, "", value.data, kValueBuffer, file);
        CStringPair alias;
        alias.first = names + at;
        alias.second = value.data;
        ok = settings.aliases.Add(alias);
    }
    free(names);
    return ok;
}

SaveResult SaveEditorSettings(const char* profile, EditorSettings& loaded,
                              const EditorSettings& edited)
{
    if (!SettingsDiffer(loaded, edited))
        return kSavedNothing;
    // Without a file name the profile functions would write win.ini.
    if (!profile || !profile[0])
        return kSaveFailed;
    bool wrote = false;
    bool ok = SaveNumbers(profile, loaded, edited, wrote) &&
              SaveAliases(profile, loaded, edited, wrote);
    // Flushes a cached profile to disk.
    WritePrivateProfileStringA(0, 0, 0, profile);
    if (!ok)
        return kSaveFailed;
    return wrote ? kSaved : kSavedNothing;
}

bool SettingsDiffer(const EditorSettings& loaded, const EditorSettings& edited)
{
    for (const NumberKey& item : kNumberKeys) {
        if (NumberDiffers(item, loaded, edited))
            return true;
    }
    if (WinNeedsWriting(loaded, edited))
        return true;
    for (int i = 0; i < loaded.aliases.count; i++) {
        const int at = FindAlias(edited.aliases, loaded.aliases.items[i].first.Text(), -1);
        if (at < 0)
            return true;
    }
    for (int i = 0; i < edited.aliases.count; i++) {
        int match = -1;
        if (AliasNeedsWriting(loaded.aliases, edited.aliases.items[i], match))
            return true;
    }
    return false;
}

void CopyEditorSettings(EditorSettings& to, const EditorSettings& from)
{
    if (&to == &from)
        return;
    to.alt = from.alt;
    to.ctrl = from.ctrl;
    to.shift = from.shift;
    to.win = from.win;
    to.key = from.key;
    to.history = from.history;
    to.toolTip = from.toolTip;
    to.taskTray = from.taskTray;
    to.imeCtrl = from.imeCtrl;
    to.width = from.width;
    to.height = from.height;
    to.savePosition = from.savePosition;
    to.match = from.match;
    to.rank = from.rank;
    to.calc = from.calc;
    to.catalog = from.catalog;
    to.open = from.open;
    to.romaji = from.romaji;
    to.aliases.SetSize(0);
    for (int i = 0; i < from.aliases.count; i++)
        to.aliases.Add(from.aliases.items[i]);
}

UINT HotKeyModifiers(const EditorSettings& settings)
{
    UINT modifiers = 0;
    if (settings.alt)
        modifiers |= MOD_ALT;
    if (settings.ctrl)
        modifiers |= MOD_CONTROL;
    if (settings.shift)
        modifiers |= MOD_SHIFT;
    if (!modifiers && settings.win)
        modifiers = MOD_WIN;
    return modifiers;
}

int FindAlias(const CArray<CStringPair>& aliases, const char* name, const int& skip)
{
    for (int i = 0; i < aliases.count; i++) {
        if (i != skip && lstrcmpiA(aliases.items[i].first.Text(), name ? name : "") == 0)
            return i;
    }
    return -1;
}

void RemoveAlias(CArray<CStringPair>& aliases, const int& index)
{
    if (index < 0 || index >= aliases.count)
        return;
    for (int i = index; i + 1 < aliases.count; i++) {
        aliases.items[i].first = aliases.items[i + 1].first;
        aliases.items[i].second = aliases.items[i + 1].second;
    }
    aliases.SetSize(aliases.count - 1);
}

AliasNameProblem CheckAliasName(const char* name)
{
    if (!name || !name[0])
        return kAliasNameEmpty;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
    AliasNameProblem found = kAliasNameFine;
    for (int i = 0; p[i];) {
        int width = 1;
        if (IsBlankAt(name, i, width) || IsControlOrBroken(p + i, width))
            return kAliasNameHasBlank;
        if (p[i] == '=')
            found = kAliasNameHasEquals;
        i += width;
    }
    if (found != kAliasNameFine)
        return found;
    if (p[0] == ';' || p[0] == '[')
        return kAliasNameBreaksProfile;
    return kAliasNameFine;
}

AliasValueProblem CheckAliasValue(const char* value)
{
    if (!value || !value[0])
        return kAliasValueEmpty;
    if (HasLineBreak(value))
        return kAliasValueHasLineBreak;
    // A value stored in quotes has one byte less.
    if (lstrlenA(value) > ReadableLength(value, kMaxAliasValueBytes))
        return kAliasValueTooLong;
    return kAliasValueFine;
}
