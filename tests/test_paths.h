// Scratch folders for tests that touch the file system.
#ifndef QUELT_TESTS_TEST_PATHS_H
#define QUELT_TESTS_TEST_PATHS_H

#include <windows.h>

#include <string>

#include "support/string.h"

// A new, empty folder under the temporary folder, with trailing backslash.
Zint_Std::CString MakeScratchFolder(const char* name);
// Creates a file holding text; false when it could not be written.
bool WriteTextFile(const Zint_Std::CString& path, const char* text);
// Writes bytes exactly as given.
bool WriteBytes(const Zint_Std::CString& path, const void* bytes, const int& length);
// The whole content of a file; empty when it cannot be read.
Zint_Std::CString ReadWholeFile(const Zint_Std::CString& path, int* length = 0);
// Waits until the file exists, at most timeoutMs.
bool WaitForFile(const Zint_Std::CString& path, const DWORD& timeoutMs);
// Removes a scratch tree, read-only files included; links inside go as
// links, never what they point at.
void RemoveScratchFolder(const Zint_Std::CString& folder);

// The next number, 0 to 0xFFFFFF, of a repeatable sequence kept in state.
unsigned int NextTestRandom(unsigned int& state);

// The wide form of an ANSI text.
std::wstring Wide(const char* text);
// The Unix path of a Windows path under Wine, in the ANSI code page;
// empty elsewhere.
Zint_Std::CString WineUnixPath(const Zint_Std::CString& path);
// Runs a line of the Unix shell (no double quotes in it) and waits until it
// has ended; true when its status was 0.
bool RunUnixShell(const char* command);
// Opens or closes a folder to writing by its Unix permissions, which Wine
// obeys for a user without root's override.
bool SetFolderWritable(const Zint_Std::CString& folder, const bool& writable);
// A Unix symbolic link at link to target: Wine shows one to a folder as a
// folder with the reparse-point attribute, one to a file as a plain file.
bool MakeUnixLink(const Zint_Std::CString& link, const Zint_Std::CString& target);

// A tree that tries to lead a walk out of its folder. root\outside\ holds
// keep.txt and sub\deep.txt, root\ holds precious.txt; root\tree\ holds the
// ordinary entries a.txt, sub\b.txt and 表\c.txt beside folder links to
// outside (link), back to the tree (loop) and back to sub (sub\loop), a
// file link to outside\keep.txt (filelink), names the code page can give
// only by approximation (U+00A5 "..", "..¥precious.txt", "a¥b", "x€y" with
// U+20AC), device names (nul, con.txt, Com1.log, aux, PRN, lpt1), and a
// chain of folders under deep\ that goes past the path limit. Every name a
// test may expect is a member.
class CHostileTree {
public:
    Zint_Std::CString root;     // trailing backslash
    Zint_Std::CString tree;     // root + "tree\\"
    Zint_Std::CString outside;  // root + "outside\\"
    int unusableNames;          // entries of tree a walk must refuse by name
    int tooDeep;                // entries of the chain it must refuse by length
    std::string failure;        // what Build could not make
    DWORD keepAttributes;       // of outside\\keep.txt, read-only

    bool Build(const char* name);
    // The files outside the tree are all there with their contents and
    // attributes, and the links still point where they did; why says what
    // is missing.
    bool OutsideIsIntact(std::string& why) const;
    // The names the code page cannot give are all still in the tree.
    bool UnusableNamesStay(std::string& why) const;
    void Remove() const;

private:
    bool Fail(const char* what);
};

#endif
