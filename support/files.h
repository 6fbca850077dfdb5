// File and folder helpers: existence tests, path trimming, the folder walker,
// folder trees, special folders, the folder picker and a small file object.
// Folder paths carry a trailing backslash. Nothing here shows a message.
#ifndef QUELT_SUPPORT_FILES_H
#define QUELT_SUPPORT_FILES_H

#include <windows.h>

#include "support/array.h"
#include "support/string.h"

namespace Zint_Std {

// A file or folder given without trailing backslash exists.
bool PathExists(const char* path);
// Like PathExists, and the entry found is a folder.
bool IsFolder(const char* path);
// The path names an existing entry that is no folder. Its attributes are
// asked, not a search made, so a wildcard in it matches nothing.
bool FileExists(const char* path);
// The folder (with or without trailing backslash) exists and can be listed.
bool FolderExists(const CString& folder);
// This process can create (and remove) a file in the folder: tried with a
// scratch file, since rights, read-only media and policies all decide it.
bool CanCreateFilesIn(const CString& folder);

// True when the last character of text is a single-byte backslash (a trail
// byte 0x5C does not count).
bool EndsWithBackslash(const char* text);
// Cuts text after its last backslash, leaving the folder part.
void CutAfterLastBackslash(char* text);
// The folder of a loaded module (null: the program), with trailing
// backslash.
CString ModuleFolder(HMODULE module);
// Adds a backslash unless the text already ends in one. An empty text stays
// empty: it names no folder.
void AppendBackslash(CString& path);

// Appends the full path of every file matching pattern under folder to
// output; with recurse the sub-folders are walked too, and with
// includeFolders also listed. The output is not cleared. Folder links
// (junctions, symbolic links, mount points) are listed like folders but never
// entered. Entries whose names cannot be used as they are (see IsUsableName
// and NameFromWide) and paths of MAX_PATH characters or more (counted in
// their wide form, as the ANSI file functions count them) are left out and
// counted in refused. A folder that could not be read (access denied, a
// share gone), or not to its end, is counted in unlisted; the named folder
// counts only when it exists.
void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders, int& refused, int& unlisted);
void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders, int& refused);
void ListFolder(const CString& folder, CArray<CString>& output, const char* pattern,
                const bool& recurse, const bool& includeFolders);

// The ANSI form of a wide text; false (and an empty text) unless the code
// page gives every character exactly, without an approximation.
bool WideToAnsiExactly(const wchar_t* wide, char* text, const int& room);
// The ANSI form of a name the file system gave in wide characters; false
// (and an empty name) when the code page cannot represent it exactly or the
// result is no usable name.
bool NameFromWide(const wchar_t* wide, char* name, const int& room);
// A name that joined to a folder names an entry of that folder and nothing
// else: not "." or "..", no separator, drive colon, wildcard or control
// character, no trailing dot or blank, which the path rules would drop, and
// no device name (nul, con.txt, COM1.log, with any extension, in any case).
bool IsUsableName(const char* name);
enum LinkKind {
    kNoLink,
    // A junction, symbolic link or other reparse point: removing it removes
    // the link and leaves what it points at.
    kMarkedLink,
    // Shown as a plain file, but its real path is that of something else:
    // some file systems show links so, and then even a deletion reaches the
    // target. Nothing may be done with it.
    kHiddenLink,
};
LinkKind LinkKindOf(const char* path);
bool IsLink(const char* path);
// Removes a path that LinkKindOf found to be a marked link, as a link. Where
// the system would remove what it points at instead, and when that cannot
// be reached, the link stays and the result is false.
bool RemoveLinkItself(const char* path);
// The path as the file system really reaches it, links resolved, without
// the "\\?\" prefix; false when it cannot be opened or the system cannot
// tell (then nothing is written but an empty text).
bool FinalPathOf(const char* path, wchar_t* finalPath, const int& room);

// Creates the folder and every missing parent.
bool MakeFolderPath(const CString& folder);
// Deletes the folder with everything in it; read-only files stay, and then
// the result is false. Links inside are removed as links; a folder that is
// itself a link loses only the link. A link that cannot go as a link
// (RemoveLinkItself) stays, and the result is false.
bool DeleteFolderTree(const CString& folder);
// Copies everything under source into target (both with trailing backslash).
// Links and entries the walk refuses are not copied, and the result is then
// false.
bool CopyFolderTree(const CString& source, const CString& target);

// The attributes a file that takes another's place carries over: hidden,
// system, archive and not-indexed, never read-only; FILE_ATTRIBUTE_NORMAL
// for none of them.
DWORD AttributesToCarry(const DWORD& attributes);

// Clears read-only, hidden and system on a plain file that is no link,
// keeping its other attributes, so that it can be replaced or deleted.
// Gives the attributes it had when it changed them, else 0.
DWORD ClearProtectiveAttributes(const char* path);

// Copies source over target and clears the read-only attribute that the
// copy took over from its source: the copy is a file of the program's own,
// to be written.
bool CopyToOwnFile(const CString& source, const CString& target);

// Replaces the file's contents in one step: the bytes go to a temporary file
// beside it, to the disk, and then take the file's place; on any failure the
// file stays as it was. The file keeps its attributes and its security; a
// link stays a link, and the file it points at gets the bytes. A read-only
// file is refused. A file that does not exist yet is created.
bool ReplaceFileContents(const CString& path, const char* bytes, const int& length);

// The steps of ReplaceFileContents, for a caller that does more between them
// (a backup before the old file goes). A temporary file that did not take
// the file's place is deleted with the object.
class CFileReplacement {
public:
    explicit CFileReplacement(const CString& path);
    virtual ~CFileReplacement();

    // Makes the temporary file "qlt*.tmp" in the folder of the file that is
    // replaced (for a link, of the file it points at); false for a
    // read-only file.
    bool Create();
    bool Write(const char* bytes, const int& length);
    // The written bytes reach the disk.
    bool Flush();
    // The temporary file takes the file's place. While another program
    // holds the file, it is tried again a few times before giving up.
    bool PutInPlace();

protected:
    // The wait between two tries while the file is held.
    virtual void PauseBeforeRetry();

private:
    CString path;
    char target[MAX_PATH];  // the file that is really replaced: path, or what its link points at
    char temporary[MAX_PATH];
    HANDLE handle;
    bool placed;
    bool targetExisted;  // there was a file to replace when Create ran

    bool PlaceOnce();
    bool MoveIntoPlace();
    void CloseTemporary();
    CFileReplacement(const CFileReplacement&);
    CFileReplacement& operator=(const CFileReplacement&);
};

// The shell's special folder csidl, with trailing backslash.
bool GetSpecialFolderPath(CString& path, const int& csidl);
// The program-files folder as the registry records it, when it exists.
bool GetProgramFilesFromRegistry(CString& path);
// The user's own settings folder of the suite (the application-data folder
// and "quelt_\"), whether it exists or not; false without an
// application-data folder.
bool GetUserSettingsPath(CString& folder);
// The same folder, created when missing; false when it neither exists nor
// can be made.
bool GetUserSettingsFolder(CString& folder);

class CFolderPicker {
public:
    CString result;         // the chosen folder, with trailing backslash
    CString title;          // shown above the folder tree
    CString initialFolder;  // selected when the dialog opens; empty for none
    HWND owner;

    CFolderPicker(HWND owner, const CString& title, const CString& initialFolder);
    ~CFolderPicker();

    // Shows the dialog; false (result unchanged) when it was cancelled.
    bool Browse();

    // The dialog's callback: selects the initial folder (data) once the
    // dialog is initialised.
    static int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM parameter,
                                            LPARAM data);
};

class CDiskFile {
public:
    HANDLE hFile;  // null when closed
    CString path;  // the path of the last successful Open

    CDiskFile();
    virtual ~CDiskFile();

    // Opens without sharing; create replaces any existing file.
    virtual bool Open(const CString& path, const bool& write, const bool& create);
    virtual void Close();
    virtual bool IsOpen() const;
    virtual const CString& GetPath() const;
    // Bytes read; 0 when closed, on failure or at the end.
    virtual DWORD Read(void* buffer, const DWORD& count);
    virtual bool Write(const void* buffer, const DWORD& count);
    virtual bool Seek(const LONG& distance, const DWORD& method);
    virtual DWORD GetSize() const;
};

// The size of a file that can be opened exclusively; 0 otherwise.
DWORD GetFileSizeOf(const CString& path);

}  // namespace Zint_Std

#endif
