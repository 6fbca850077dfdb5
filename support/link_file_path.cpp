#include "support/link_file_path.h"

namespace Zint_Std {

namespace {

const DWORD kHeaderSize = 0x4C;
const DWORD kHasIdList = 0x1;
const DWORD kHasLinkInfo = 0x2;
const DWORD kVolumeAndLocalPath = 0x1;
const DWORD kLinkInfoHeader = 0x1C;
const DWORD kLinkInfoHeaderWithUnicode = 0x24;
const DWORD kMostBytesRead = 64 * 1024;

// Bounds-checked little-endian reads of one block of bytes.
class CByteBlock {
public:
    const unsigned char* bytes;
    DWORD size;

    CByteBlock(const unsigned char* start, const DWORD& length) : bytes(start), size(length) {}

    bool Word(const DWORD& at, DWORD& value) const
    {
        if (at > size || size - at < 2)
            return false;
        value = bytes[at] | (bytes[at + 1] << 8);
        return true;
    }
    bool Dword(const DWORD& at, DWORD& value) const
    {
        DWORD low = 0, high = 0;
        if (!Word(at, low) || !Word(at + 2, high))
            return false;
        value = low | (high << 16);
        return true;
    }
    // Appends the NUL-terminated byte string at offset; false when it runs
    // out of the block or past the room.
    bool AppendAnsi(const DWORD& at, char* out, int& used, const int& room) const
    {
        for (DWORD i = at; i < size; i++) {
            if (!bytes[i]) {
                out[used] = 0;
                return true;
            }
            if (used + 1 >= room)
                return false;
            out[used++] = static_cast<char>(bytes[i]);
        }
        return false;
    }
    // The same for a string of 16-bit characters.
    bool AppendWide(const DWORD& at, WCHAR* out, int& used, const int& room) const
    {
        DWORD c = 0;
        for (DWORD i = at; Word(i, c); i += 2) {
            if (!c) {
                out[used] = 0;
                return true;
            }
            if (used + 1 >= room)
                return false;
            out[used++] = static_cast<WCHAR>(c);
        }
        return false;
    }
};

bool WideToAnsi(const WCHAR* wide, char* out, const int& room)
{
    BOOL lost = FALSE;
    const int written =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, room, 0, &lost);
    return written > 0 && !lost;
}

}  // namespace

bool LinkFileLocalPath(const unsigned char* bytes, const DWORD& size, CString& path)
{
    const CByteBlock file(bytes, size);
    DWORD headerSize = 0, flags = 0, at = kHeaderSize;
    if (size < kHeaderSize || !file.Dword(0, headerSize) || headerSize != kHeaderSize ||
        !file.Dword(0x14, flags) || !(flags & kHasLinkInfo))
        return false;
    if (flags & kHasIdList) {
        DWORD idListSize = 0;
        if (!file.Word(at, idListSize))
            return false;
        at += 2 + idListSize;
    }
    DWORD infoSize = 0, infoHeaderSize = 0, infoFlags = 0, baseAt = 0, suffixAt = 0;
    if (at > size || !file.Dword(at, infoSize) || infoSize > size - at)
        return false;
    const CByteBlock info(bytes + at, infoSize);
    if (!info.Dword(4, infoHeaderSize) || infoHeaderSize < kLinkInfoHeader ||
        infoHeaderSize > infoSize || !info.Dword(8, infoFlags) ||
        !(infoFlags & kVolumeAndLocalPath) || !info.Dword(0x10, baseAt) ||
        !info.Dword(0x18, suffixAt))
        return false;
    char ansi[MAX_PATH];
    int used = 0;
    DWORD wideBaseAt = 0, wideSuffixAt = 0;
    if (infoHeaderSize >= kLinkInfoHeaderWithUnicode && info.Dword(0x1C, wideBaseAt) &&
        info.Dword(0x20, wideSuffixAt) && wideBaseAt && wideSuffixAt) {
        WCHAR wide[MAX_PATH];
        if (!info.AppendWide(wideBaseAt, wide, used, MAX_PATH) ||
            !info.AppendWide(wideSuffixAt, wide, used, MAX_PATH) ||
            !WideToAnsi(wide, ansi, MAX_PATH))
            return false;
    } else if (!info.AppendAnsi(baseAt, ansi, used, MAX_PATH) ||
               !info.AppendAnsi(suffixAt, ansi, used, MAX_PATH)) {
        return false;
    }
    return ansi[0] && path.Assign(ansi);
}

bool ReadLinkFileLocalPath(const char* linkPath, CString& path)
{
    HANDLE file = CreateFileA(linkPath ? linkPath : "", GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char* bytes =
        static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, kMostBytesRead));
    DWORD size = 0;
    const bool read = bytes && ReadFile(file, bytes, kMostBytesRead, &size, 0);
    CloseHandle(file);
    const bool found = read && LinkFileLocalPath(bytes, size, path);
    if (bytes)
        HeapFree(GetProcessHeap(), 0, bytes);
    return found;
}

}  // namespace Zint_Std
