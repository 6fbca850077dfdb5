// A file rewritten whole in one step. The new bytes go to a temporary file
// that then takes the old file's place through ReplaceFile, which, unlike a
// move, hands the old file's attributes and security on to the new one. A
// link is followed first and the file it points at is replaced, from a
// temporary file in that file's own folder: the replace never crosses a
// volume, and the link itself stays as it is.
#include "support/files.h"

#include <string.h>

namespace Zint_Std {

namespace {

// A program that holds the file (an editor, a virus scanner, the indexer)
// usually lets it go within moments.
const int kPlaceTries = 10;
const DWORD kRetryPauseMs = 50;


bool IsMissing(const DWORD& error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Another program has the file open or locked: worth another try.
bool IsHeld(const DWORD& error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// ReplaceFile failed and a move is what is left: the old file went away
// (meanwhile, or taken away by ReplaceFile itself before it failed), or the
// file system cannot replace.
bool CallsForMove(const DWORD& error)
{
    return IsMissing(error) || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED ||
           error == ERROR_INVALID_PARAMETER;
}

// Whether the file can be taken away now: a program that holds it without
// letting others delete it keeps ReplaceFile from working, and a failed
// ReplaceFile can leave a stray file of its own behind (Wine's does).
bool IsFreeToReplace(const char* path)
{
    HANDLE probe = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               0, OPEN_EXISTING, 0, 0);
    if (probe == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(probe);
    return true;
}

bool CopyPath(const char* path, char* target)
{
    if (lstrlenA(path) >= MAX_PATH)
        return false;
    lstrcpyA(target, path);
    return true;
}

// The file that a replace of path must write: path itself, or for a link
// the file it points at. exists tells whether there is one yet.
bool ResolveTarget(const CString& path, char* target, bool& exists)
{
    target[0] = 0;
    exists = false;
    const DWORD attributes = GetFileAttributesA(path.data);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsMissing(GetLastError()) && CopyPath(path.data, target);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    exists = true;
    wchar_t real[MAX_PATH * 2];
    if (FinalPathOf(path.data, real, MAX_PATH * 2))
        return WideToAnsiExactly(real, target, MAX_PATH) && lstrlenA(target) < MAX_PATH - 1;
    // Before Vista there is no lookup, and no link to a file either; a link
    // that cannot be followed is left alone.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    return CopyPath(path.data, target);
}

}  // namespace

CFileReplacement::CFileReplacement(const CString& path)
    : path(path), handle(INVALID_HANDLE_VALUE), placed(false), targetExisted(false)
{
    target[0] = 0;
    temporary[0] = 0;
}

CFileReplacement::~CFileReplacement()
{
    CloseTemporary();
    // When the old file has gone under a failed replace, the temporary file
    // holds the only copy of the text: it stays.
    const bool onlyCopy =
        targetExisted && GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES;
    if (temporary[0] && !placed && !onlyCopy)
        DeleteFileA(temporary);
}

bool CFileReplacement::Create()
{
    if (path.IsEmpty() || temporary[0] || path.GetLength() >= MAX_PATH)
        return false;
    if (!ResolveTarget(path, target, targetExisted))
        return false;
    // A file the user made read-only is not to be written.
    if (targetExisted) {
        const DWORD attributes = GetFileAttributesA(target);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
            SetLastError(ERROR_FILE_READ_ONLY);
            return false;
        }
    }
    char folder[MAX_PATH];
    lstrcpyA(folder, target);
    CutAfterLastBackslash(folder);
    if (!EndsWithBackslash(folder) || !GetTempFileNameA(folder, "qlt", 0, temporary)) {
        temporary[0] = 0;
        return false;
    }
    handle = CreateFileA(temporary, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    return handle != INVALID_HANDLE_VALUE;
}

bool CFileReplacement::Write(const char* bytes, const int& length)
{
    if (handle == INVALID_HANDLE_VALUE || length < 0)
        return false;
    DWORD written = 0;
    return (!length || WriteFile(handle, bytes, length, &written, 0)) &&
           written == static_cast<DWORD>(length);
}

bool CFileReplacement::Flush()
{
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool CFileReplacement::PutInPlace()
{
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseTemporary();
    for (int tries = 1;; tries++) {
        if (PlaceOnce()) {
            placed = true;
            return true;
        }
        const DWORD error = GetLastError();
        if (!IsHeld(error) || tries >= kPlaceTries) {
            SetLastError(error);
            return false;
        }
        PauseBeforeRetry();
    }
}

void CFileReplacement::PauseBeforeRetry()
{
    Sleep(kRetryPauseMs);
}

bool CFileReplacement::PlaceOnce()
{
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsMissing(GetLastError()) && MoveIntoPlace();
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetLastError(ERROR_FILE_READ_ONLY);
        return false;
    }
    if (!IsFreeToReplace(target))
        return IsMissing(GetLastError()) && MoveIntoPlace();
    // The new file takes the attributes over itself: a move carries none, and
    // some ReplaceFile implementations (Wine's) only rename.
    SetFileAttributesA(temporary, AttributesToCarry(attributes));
    if (ReplaceFileA(target, temporary, 0, REPLACEFILE_IGNORE_MERGE_ERRORS, 0, 0))
        return true;
    const DWORD error = GetLastError();
    if (CallsForMove(error))
        return MoveIntoPlace();
    SetLastError(error);
    return false;
}

bool CFileReplacement::MoveIntoPlace()
{
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void CFileReplacement::CloseTemporary()
{
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

bool ReplaceFileContents(const CString& path, const char* bytes, const int& length)
{
    CFileReplacement replacement(path);
    return replacement.Create() && replacement.Write(bytes, length) && replacement.Flush() &&
           replacement.PutInPlace();
}

}  // namespace Zint_Std
