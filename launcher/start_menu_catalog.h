// The programs of the Start menu: the shortcuts (.lnk) under the user's and
// all users' Programs folders, at any depth, as a second list of names for
// the launcher. The list is held in one text block and one table, like the
// command names, and read again only when the folders have changed.
#ifndef QUELT_LAUNCHER_START_MENU_CATALOG_H
#define QUELT_LAUNCHER_START_MENU_CATALOG_H

#include <windows.h>

#include "launcher/folded_texts.h"
#include "launcher/name_matcher.h"
#include "support/string.h"

class CStartMenuCatalog {
public:
    CStartMenuCatalog();  // reads nothing
    ~CStartMenuCatalog();

    // The two folders to read (trailing backslash). Without this call the
    // user's and all users' Programs folders are asked of the shell at the
    // first Refresh.
    void SetFolders(const Zint_Std::CString& user, const Zint_Std::CString& common);
    // Reads the folders when they were never read or have changed since the
    // last read; otherwise it only looks at the change notifications.
    void Refresh();

    int Count() const { return count; }
    // The shortcut's file name without ".lnk".
    const char* Name(const int& index) const { return text + entries[index].name; }
    // The full path of the shortcut.
    const char* LinkPath(const int& index) const { return text + entries[index].link; }
    // The folder below Programs ("アクセサリ\\ツール"), "" at the top.
    const char* Folder(const int& index) const { return text + entries[index].folder; }

    // The program named name exactly, A to Z case aside in single-byte
    // characters; -1 when there is none.
    int Find(const char* name) const;
    // Offers every program whose name begins with low (A to Z lower-cased,
    // lowLength bytes) and, with beyondPrefix, also those that contain it or
    // hold its characters in order; the index of a match is the catalog's.
    void Offer(const char* low, const int& lowLength, const bool& beyondPrefix,
               CBestMatches& best) const;
    // Offers every program whose folded name holds pattern (folded, as
    // FoldTyped gives it) by a part or in order. The names are folded at the
    // first call after a read.
    void OfferFolded(const char* pattern, const int& patternLength, CBestMatches& best);

private:
    // Where an entry's three texts begin in the block.
    struct Entry {
        int name;
        int folder;
        int link;
    };
    enum { kFolders = 2 };

    Zint_Std::CString folders[kFolders];  // user's, then all users'
    HANDLE watches[kFolders];             // change notifications; null when none
    bool missing[kFolders];               // the folder was not there at the last read
    bool foldersKnown;
    bool read;
    bool readAlways;  // a notification could not be set up
    char* text;
    Entry* entries;
    int count;
    CFoldedTexts folded;  // the names folded; made for no source: not yet

    bool HasChanged() const;
    void Watch();
    void CloseWatches();
    void Read();
    void Clear();
    CStartMenuCatalog(const CStartMenuCatalog&);
    CStartMenuCatalog& operator=(const CStartMenuCatalog&);
};

#endif
