// The Start menu's shortcuts turned into proposed commands: every .lnk under
// the given folders is resolved through the shell's link object, and each
// target that starts something gets a command name of its own.
#ifndef QUELT_EDITOR_START_MENU_H
#define QUELT_EDITOR_START_MENU_H

#include "editor/command_store.h"
#include "support/array.h"
#include "support/shortcut.h"
#include "support/string.h"

// The link's texts come without control characters: a line break in a
// description must not end up as a line of the command file.
struct ShortcutProposal {
    Zint_Std::CString name;      // unique against the store and the other proposals
    Zint_Std::CString path;      // PATH: the target, quoted when it holds a blank, and its arguments
    Zint_Std::CString folder;    // FOLDER: the working folder, or the target's folder
    Zint_Std::CString comment;   // COMMENT: the description (a resource string it names
                                 // read from there), or the sub-folder it sits in
    Zint_Std::CString linkFile;  // the .lnk file it came from
};

class CStartMenuScan {
public:
    Zint_Std::CArray<ShortcutProposal> proposals;

    // The programs folders of the user and of all users, those that exist,
    // with trailing backslash.
    static void ProgramFolders(Zint_Std::CArray<Zint_Std::CString>& folders);

    // Reads the shortcuts under every folder, sub-folders included, the
    // first folder's first. Links without a target and links to a target
    // with arguments already seen are left out. False when the shell's link
    // object is not available.
    bool Scan(const Zint_Std::CArray<Zint_Std::CString>& folders, const CCommandStore& store);

    // The proposal named name, letter case aside, other than skip; -1.
    int FindProposedName(const char* name, const int& skip) const;
    // base itself when neither the store nor another proposal than skip has
    // that name, else base2, base3...
    Zint_Std::CString UniqueName(const char* base, const CCommandStore& store,
                                 const int& skip) const;

private:
    void AddProposal(const Zint_Std::CString& linkFile, const Zint_Std::CString& root,
                     const Zint_Std::ShortcutContents& link, const CCommandStore& store);
};

#endif
