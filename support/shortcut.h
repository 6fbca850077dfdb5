// Shortcut (.lnk) files written through the shell's link object. Order of
// use: EnsureLinkFolder, Open, one or more WriteShortcut, Close.
#ifndef QUELT_SUPPORT_SHORTCUT_H
#define QUELT_SUPPORT_SHORTCUT_H

#include <windows.h>
#include <shlobj.h>

#include "support/string.h"

namespace Zint_Std {

struct ShortcutRequest {
    CString linkPath;       // full path of the .lnk file, at most 511 characters
    CString targetPath;     // what the shortcut starts or opens
    CString arguments;      // usually empty
    CString workingFolder;  // the folder the target starts in
};

// True when the folder exists or its last level could be created.
bool EnsureLinkFolder(const CString& folder);

class CShortcutWriter {
public:
    IShellLinkA* link;
    IPersistFile* file;
    WCHAR widePath[512];

    CShortcutWriter();
    ~CShortcutWriter();

    bool Open();
    bool IsOpen() const;
    // False when the link path does not fit or the save failed.
    bool WriteShortcut(const ShortcutRequest& request);
    void Close();
};

// What a shortcut file holds: the target is the local path stored in the
// file when that exists, otherwise what the shell's link object reads.
struct ShortcutContents {
    CString target;  // empty when the link names nothing in the file system
    CString arguments;
    CString workingFolder;
    CString description;
};

// Reads a .lnk file through the shell's link object and its own bytes;
// false when the link object cannot load it. The caller has initialised COM
// on this thread.
bool ReadShortcutFile(const char* linkPath, ShortcutContents& contents);
// Whether the shell's link object can be created on this thread.
bool ShellLinksAvailable();

}  // namespace Zint_Std

#endif
