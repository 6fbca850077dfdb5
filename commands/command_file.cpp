#include "commands/command_file.h"

#include <stdlib.h>
#include <string.h>

#include "support/mbcs.h"

using Zint_Std::CString;

namespace {

// Beyond this a command file is not read: no user keeps one that large.
const DWORD kLargestFile = 1u << 28;
// A file written this recently may change again within the same time
// stamp (FAT keeps two seconds), so it is read again on the next use.
const ULONGLONG kSettleTime = 21000000;  // 2.1 s in 100 ns

// Which bytes begin a double-byte character in the ANSI code page. The
// reader converts the file whole, so a lead byte takes the byte after it,
// whatever that is, unless it is a NUL.
const unsigned char* leadBytes = 0;

void LearnLeadBytes()
{
    leadBytes = Zint_Std::LeadByteTable();
}

inline int UnitWidth(const unsigned char* text, const int& at, const int& length)
{
    return (leadBytes[text[at]] && at + 1 < length && text[at + 1]) ? 2 : 1;
}

// The reader's blanks: tab to carriage return, the end-of-file mark, space.
inline bool IsBlank(const unsigned char c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool IsAscii(const char* text, const int& length)
{
    for (int i = 0; i < length; i++) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// The text in UTF-16, as the reader converts the file; null when memory ran
// out. The caller frees it.
WCHAR* AnsiToWide(const char* text, const int& length, int& wideLength)
{
    wideLength = length ? MultiByteToWideChar(CP_ACP, 0, text, length, 0, 0) : 0;
    WCHAR* wide = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * (wideLength + 1)));
    if (!wide)
        return 0;
    if (wideLength)
        MultiByteToWideChar(CP_ACP, 0, text, length, wide, wideLength);
    wide[wideLength] = 0;
    return wide;
}

// UTF-16 text back in the ANSI code page, as the reader hands it out.
CString WideToAnsi(const WCHAR* wide, const int& wideLength)
{
    CString out;
    const int length = wideLength ? WideCharToMultiByte(CP_ACP, 0, wide, wideLength, 0, 0, 0, 0) : 0;
    if (length > 0 && out.Reserve(length))
        WideCharToMultiByte(CP_ACP, 0, wide, wideLength, out.data, length, 0, 0);
    return out;
}

// The name as the reader compares it: in UTF-16, A to Z lower-cased. Null when
// memory ran out; the caller frees it.
WCHAR* FoldedWide(const char* text, const int& length, int& wideLength)
{
    WCHAR* wide = AnsiToWide(text, length, wideLength);
    // The reader folds A to Z only, also among double-byte text.
    for (int i = 0; wide && i < wideLength; i++) {
        if (wide[i] >= 'A' && wide[i] <= 'Z')
            wide[i] = static_cast<WCHAR>(wide[i] + ('a' - 'A'));
    }
    return wide;
}

unsigned int HashUnits(const unsigned int hash, const unsigned int unit)
{
    return (hash ^ unit) * 16777619u;
}

unsigned int HashName(const char* text, const int& length)
{
    unsigned int hash = 2166136261u;
    if (IsAscii(text, length)) {
        for (int i = 0; i < length; i++)
            hash = HashUnits(hash, Zint_Std::FoldAsciiCase(static_cast<unsigned char>(text[i])));
        return hash;
    }
    int wideLength = 0;
    WCHAR* wide = FoldedWide(text, length, wideLength);
    if (!wide)
        return hash;
    for (int i = 0; i < wideLength; i++)
        hash = HashUnits(hash, wide[i]);
    free(wide);
    return hash;
}

bool SameFolded(const char* a, const int& aLength, const char* b, const int& bLength)
{
    const bool asciiA = IsAscii(a, aLength), asciiB = IsAscii(b, bLength);
    if (asciiA && asciiB) {
        if (aLength != bLength)
            return false;
        for (int i = 0; i < aLength; i++) {
            if (Zint_Std::FoldAsciiCase(static_cast<unsigned char>(a[i])) !=
                Zint_Std::FoldAsciiCase(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }
    int wideA = 0, wideB = 0;
    WCHAR* foldedA = FoldedWide(a, aLength, wideA);
    WCHAR* foldedB = FoldedWide(b, bLength, wideB);
    const bool same = foldedA && foldedB && wideA == wideB &&
                      memcmp(foldedA, foldedB, sizeof(WCHAR) * wideA) == 0;
    free(foldedA);
    free(foldedB);
    return same;
}

// Where a NUL character ends the text, or its length.
int CutAtNul(const unsigned char* text, const int& start, const int& end, const int& length)
{
    for (int at = start; at < end; at += UnitWidth(text, at, length)) {
        if (!text[at])
            return at;
    }
    return end;
}

// The span of text without the reader's blanks at either end.
void TrimBlanks(const unsigned char* text, const int& length, int& start, int& end)
{
    int first = -1, last = start;
    for (int at = start; at < end;) {
        const int width = UnitWidth(text, at, length);
        if (width == 2 || !IsBlank(text[at])) {
            if (first < 0)
                first = at;
            last = at + width;
        }
        at += width;
    }
    if (first < 0)
        first = last = start;
    start = first;
    end = last;
}

// The reader trims the names it is asked for; false when nothing is left.
bool TrimQuery(const char* name, int& start, int& end)
{
    start = 0;
    end = name ? lstrlenA(name) : 0;
    if (end)
        TrimBlanks(reinterpret_cast<const unsigned char*>(name), end, start, end);
    return start < end;
}

ULONGLONG TimeValue(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ULONGLONG Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return TimeValue(now);
}

// The value logic of the reader on one character type: quotes enclosing
// the whole value go, and it is cut to size - 1 characters.
template <typename Unit>
int QuotedCopy(const Unit* value, int length, const int& size, int& start)
{
    start = 0;
    bool quoted = false;
    if (length >= 2 && (value[0] == '\'' || value[0] == '"') && value[length - 1] == value[0]) {
        quoted = true;
        start = 1;
        length--;
    }
    int copied = length < size - 1 ? length : size - 1;
    if (quoted && size >= length && copied > 0)
        copied--;
    return copied < 0 ? 0 : copied;
}

// Text as it comes back from a round trip through UTF-16.
CString ThroughWide(const char* bytes, const int& length)
{
    int wideLength = 0;
    WCHAR* wide = AnsiToWide(bytes, length, wideLength);
    const CString out = wide ? WideToAnsi(wide, wideLength) : CString();
    free(wide);
    return out;
}

// A file with a byte order mark is read the way the reader reads it: as
// UTF-8 or UTF-16 text, here turned into the ANSI code page. Null when the
// file has no mark (or memory ran out: then failed is set).
char* ConvertedText(const char* bytes, const int& byteCount, int& converted, bool& failed)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    failed = false;
    WCHAR* wide = 0;
    int wideLength = 0;
    if (byteCount >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        wideLength = MultiByteToWideChar(CP_UTF8, 0, bytes + 3, byteCount - 3, 0, 0);
        wide = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * (wideLength + 1)));
        if (wide)
            MultiByteToWideChar(CP_UTF8, 0, bytes + 3, byteCount - 3, wide, wideLength);
    } else if (byteCount >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        wideLength = (byteCount - 2) / 2;
        wide = static_cast<WCHAR*>(malloc(sizeof(WCHAR) * (wideLength + 1)));
        for (int i = 0; wide && i < wideLength; i++) {
            const unsigned char first = b[2 + 2 * i], second = b[3 + 2 * i];
            wide[i] = static_cast<WCHAR>(b[0] == 0xFF ? first | (second << 8) : (first << 8) | second);
        }
    } else {
        return 0;
    }
    if (!wide) {
        failed = true;
        return 0;
    }
    converted = wideLength ? WideCharToMultiByte(CP_ACP, 0, wide, wideLength, 0, 0, 0, 0) : 0;
    char* text = static_cast<char*>(malloc(converted + 1));
    if (text) {
        if (converted)
            WideCharToMultiByte(CP_ACP, 0, wide, wideLength, text, converted, 0, 0);
        text[converted] = 0;
    }
    failed = !text;
    free(wide);
    return text;
}

// The reader's view of a stored value: cut at a NUL character, one pair of
// enclosing quotes taken off, cut to size - 1 bytes never inside a
// double-byte character, each character as the code page gives it back.
CString ProfileValueOf(const char* bytes, const int& length, const int& size)
{
    CString value;
    if (size <= 1 || length <= 0)
        return value;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes);
    const int whole = CutAtNul(text, 0, length, length);
    if (IsAscii(bytes, whole)) {
        int start = 0;
        const int copied = QuotedCopy(bytes, whole, size, start);
        if (copied && value.Reserve(copied))
            memcpy(value.data, bytes + start, copied);
        return value;
    }
    int wideLength = 0;
    WCHAR* wide = AnsiToWide(bytes, whole, wideLength);
    if (!wide)
        return value;
    int start = 0;
    const int copied = QuotedCopy(wide, wideLength, size, start);
    value = WideToAnsi(wide + start, copied);
    free(wide);
    // The reader's buffer holds size - 1 bytes: whole characters only.
    const int ansiLength = value.GetLength();
    const unsigned char* out = reinterpret_cast<const unsigned char*>(value.data);
    int kept = 0;
    while (kept < ansiLength) {
        const int width = UnitWidth(out, kept, ansiLength);
        if (kept + width > size - 1)
            break;
        kept += width;
    }
    if (kept < ansiLength)
        memset(value.data + kept, 0, ansiLength - kept);
    return value;
}

// A block of at least needed bytes for a new read: the one of the last read
// when it fits without holding much more, otherwise a new one and the old
// one freed. A reload of a file of about the same size then touches no
// memory it did not already have. room is the block's size; null, with
// room 0, when memory ran out.
void* BlockFor(void* block, int& room, const int& needed)
{
    if (block && room >= needed && room - needed <= needed / 8 + 4096)
        return block;
    free(block);
    // A large block ends on a page boundary: the rest of its last page
    // costs nothing, and a file that grew by a few bytes still fits.
    room = needed >= 65536 ? (needed + 4095) & ~4095 : (needed ? needed : 1);
    block = malloc(room);
    if (!block)
        room = 0;
    return block;
}

}  // namespace

CCommandFile::CCommandFile()
    : text(0), textRoom(0), length(0), converted(false), missing(true), writeTime(0),
      readTime(0), size(0), sections(0), sectionsRoom(0), sectionCount(0), slots(0),
      slotsRoom(0), slotCount(0), generation(0)
{
    LearnLeadBytes();
}

CCommandFile::~CCommandFile()
{
    Clear();
}

void CCommandFile::Clear()
{
    free(text);
    free(sections);
    free(slots);
    text = 0;
    sections = 0;
    slots = 0;
    textRoom = sectionsRoom = slotsRoom = 0;
    length = sectionCount = slotCount = 0;
    converted = false;
}

bool CCommandFile::Read(const char* file)
{
    path = file ? file : "";
    // The blocks stay for the new text and tables.
    length = sectionCount = slotCount = 0;
    converted = false;
    missing = false;
    writeTime = 0;
    size = 0;
    readTime = Now();
    HANDLE handle = CreateFileA(path.Text(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        Clear();
        return missing && Parse();
    }
    FILETIME written;
    DWORD high = 0;
    size = GetFileSize(handle, &high);
    bool ok = size != INVALID_FILE_SIZE && !high && size < kLargestFile &&
              GetFileTime(handle, 0, 0, &written);
    if (ok)
        text = static_cast<char*>(BlockFor(text, textRoom, static_cast<int>(size) + 1));
    DWORD got = 0;
    ok = ok && text && (!size || ReadFile(handle, text, size, &got, 0)) && got == size;
    CloseHandle(handle);
    if (!ok) {
        Clear();
        size = 0;
        return false;
    }
    writeTime = TimeValue(written);
    text[size] = 0;
    int convertedLength = 0;
    bool failed = false;
    char* other = ConvertedText(text, static_cast<int>(size), convertedLength, failed);
    if (failed) {
        Clear();
        return false;
    }
    if (other) {
        free(text);
        text = other;
        textRoom = convertedLength + 1;
    }
    length = other ? convertedLength : static_cast<int>(size);
    converted = other != 0;
    if (!Parse()) {
        Clear();
        return false;
    }
    return true;
}

bool CCommandFile::Refresh(const char* file)
{
    if (!file || lstrcmpiA(file, path.Text()) != 0 || path.IsEmpty())
        return Read(file);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.data, GetFileExInfoStandard, &data)) {
        const bool same = !missing && !data.nFileSizeHigh && data.nFileSizeLow == size &&
                          TimeValue(data.ftLastWriteTime) == writeTime &&
                          writeTime + kSettleTime < readTime;
        if (same)
            return true;
    } else if (missing) {
        return true;
    }
    return Read(path.data);
}

// Splits the physical line at at: its text, the key and the value.
void CCommandFile::SplitLine(const int& at, ProfileLine& line) const
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    line.start = at;
    line.bracket = -1;
    line.valueStart = -1;
    int equals = -1, keyEnd = -1;
    int first = -1, last = at;
    int p = at;
    while (p < length) {
        const unsigned char c = bytes[p];
        // Most bytes are plain characters of one byte.
        if (c > 0x20 && c < 0x80 && c != '=' && c != ']') {
            if (first < 0)
                first = p;
            else if (equals >= 0 && line.valueStart < 0)
                line.valueStart = p;
            last = ++p;
            continue;
        }
        const int width = UnitWidth(bytes, p, length);
        if (width == 1 && (c == '\r' || c == '\n'))
            break;
        if (width == 2 || !IsBlank(c)) {
            if (first < 0)
                first = p;
            if (width == 1 && c == '=' && equals < 0) {
                equals = p;
                keyEnd = first == p ? p : last;
            } else if (equals >= 0 && line.valueStart < 0) {
                line.valueStart = p;
            }
            if (width == 1 && c == ']')
                line.bracket = p;
            last = p + width;
        }
        p += width;
    }
    line.end = p;
    if (p < length && bytes[p] == '\r')
        p++;
    if (p < length && bytes[p] == '\n' && (p == line.end || bytes[p - 1] == '\r'))
        p++;
    line.next = p;
    if (first < 0)
        first = last = at;
    line.textStart = first;
    line.textEnd = last;
    line.keyStart = first;
    const int keyStop = equals >= 0 ? keyEnd : last;
    line.keyLength = CutAtNul(bytes, first, keyStop, length) - first;
    // The value runs to the end of the line's text; nothing after the
    // equals sign is an empty value there.
    if (equals >= 0 && line.valueStart < 0)
        line.valueStart = equals + 1;
    line.valueEnd = equals >= 0 ? last : -1;
}

bool CCommandFile::AddSection(const ProfileSection& section, const int& room)
{
    if (sectionCount == room)
        return false;
    sections[sectionCount++] = section;
    return true;
}

// Where the line after the one that ends at or after at begins, found as
// SplitLine finds it.
int CCommandFile::NextLineStart(int at) const
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    while (at < length) {
        const unsigned char c = bytes[at];
        if (c == '\r' || c == '\n')
            break;
        at += (leadBytes[c] && at + 1 < length && bytes[at + 1]) ? 2 : 1;
    }
    const int end = at;
    if (at < length && bytes[at] == '\r')
        at++;
    if (at < length && bytes[at] == '\n' && (at == end || bytes[at - 1] == '\r'))
        at++;
    return at;
}

bool CCommandFile::Parse()
{
    generation++;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    // A header's text begins with '[': the '[' bytes that only blanks part
    // from the start of a line are room enough for the table.
    int room = 0;
    for (const char* at = text; at && (at = static_cast<const char*>(
                                           memchr(at, '[', length - (at - text)))) != 0;
         at++) {
        int before = static_cast<int>(at - text) - 1;
        while (before >= 0 && IsBlank(bytes[before]) && bytes[before] != '\r' &&
               bytes[before] != '\n')
            before--;
        if (before < 0 || bytes[before] == '\r' || bytes[before] == '\n')
            room++;
    }
    const int entrySize = static_cast<int>(sizeof(ProfileSection));
    if (room > 0x7FFFFFFF / entrySize)
        return false;
    sections = static_cast<ProfileSection*>(BlockFor(sections, sectionsRoom, entrySize * room));
    if (!sections)
        return false;
    ProfileLine line;
    for (int at = 0; at < length;) {
        // Only a line whose text begins with '[' can be a header; the
        // others, most of the file, are passed over without being split.
        int first = at;
        while (first < length && IsBlank(bytes[first]) && bytes[first] != '\r' &&
               bytes[first] != '\n')
            first++;
        if (first >= length || bytes[first] != '[') {
            at = NextLineStart(first);
            continue;
        }
        SplitLine(at, line);
        at = line.next;
        if (line.bracket < 0)
            continue;
        ProfileSection section;
        section.headerStart = line.start;
        section.nameStart = line.textStart + 1;
        section.nameEnd = line.bracket;
        TrimBlanks(bytes, length, section.nameStart, section.nameEnd);
        section.nameLength =
            CutAtNul(bytes, section.nameStart, section.nameEnd, length) - section.nameStart;
        section.bodyStart = line.next;
        section.hash = 0;
        section.nextSameHash = -1;
        section.firstOfName = 0;
        if (!AddSection(section, room))
            return false;
    }
    // The table lives as long as the text: much room over (many lines that
    // begin with '[' but hold no header) is given back.
    if (room - sectionCount > room / 8) {
        const int exactRoom = entrySize * (sectionCount ? sectionCount : 1);
        ProfileSection* exact = static_cast<ProfileSection*>(realloc(sections, exactRoom));
        if (exact) {
            sections = exact;
            sectionsRoom = exactRoom;
        }
    }
    return IndexSections();
}

bool CCommandFile::SameName(const int& index, const char* name, const int& nameLength) const
{
    const ProfileSection& section = sections[index];
    return SameFolded(text + section.nameStart, section.nameLength, name, nameLength);
}

bool CCommandFile::IndexSections()
{
    // About one slot per section: the chains stay short, and the table
    // lives as long as the text.
    slotCount = 16;
    while (slotCount < sectionCount)
        slotCount *= 2;
    slots = static_cast<int*>(BlockFor(slots, slotsRoom, static_cast<int>(sizeof(int)) * slotCount));
    if (!slots)
        return false;
    memset(slots, 0xFF, sizeof(int) * slotCount);
    for (int i = 0; i < sectionCount; i++) {
        ProfileSection& section = sections[i];
        if (!section.nameLength)
            continue;
        section.hash = HashName(text + section.nameStart, section.nameLength);
        int* link = &slots[section.hash & (slotCount - 1)];
        bool twin = false;
        while (*link >= 0 && !twin) {
            const ProfileSection& other = sections[*link];
            twin = other.hash == section.hash &&
                   SameName(*link, text + section.nameStart, section.nameLength);
            link = &sections[*link].nextSameHash;
        }
        if (twin)
            continue;
        section.firstOfName = 1;
        *link = i;
    }
    return true;
}

CString CCommandFile::SectionName(const int& index) const
{
    const ProfileSection& section = sections[index];
    const char* name = text + section.nameStart;
    if (IsAscii(name, section.nameLength)) {
        CString plain;
        if (section.nameLength && plain.Reserve(section.nameLength))
            memcpy(plain.data, name, section.nameLength);
        return plain;
    }
    // The reader hands names back through UTF-16: a character with two
    // codes comes back under one of them.
    return ThroughWide(name, section.nameLength);
}

int CCommandFile::CopySectionName(const int& index, char* out) const
{
    const ProfileSection& section = sections[index];
    if (IsAscii(text + section.nameStart, section.nameLength)) {
        memcpy(out, text + section.nameStart, section.nameLength);
        return section.nameLength;
    }
    const CString name = SectionName(index);
    int nameLength = name.GetLength();
    if (nameLength > section.nameLength * 2)
        nameLength = 0;
    if (nameLength)
        memcpy(out, name.data, nameLength);
    return nameLength;
}

int CCommandFile::FindSection(const char* name) const
{
    int start = 0, end = 0;
    if (!slots || !TrimQuery(name, start, end))
        return -1;
    const unsigned int hash = HashName(name + start, end - start);
    for (int i = slots[hash & (slotCount - 1)]; i >= 0; i = sections[i].nextSameHash) {
        if (sections[i].hash == hash && SameName(i, name + start, end - start))
            return i;
    }
    return -1;
}

bool CCommandFile::NextLine(const int& index, int& at, ProfileLine& line) const
{
    if (index < 0 || index >= sectionCount)
        return false;
    if (at < sections[index].bodyStart)
        at = sections[index].bodyStart;
    if (at >= BodyEnd(index))
        return false;
    SplitLine(at, line);
    at = line.next;
    return true;
}

bool CCommandFile::FindKey(const int& index, const char* key, ProfileLine& line) const
{
    int start = 0, end = 0;
    if (!TrimQuery(key, start, end))
        return false;
    for (int at = 0; NextLine(index, at, line);) {
        if (line.textStart >= line.textEnd)
            continue;
        if (SameFolded(text + line.keyStart, line.keyLength, key + start, end - start))
            return true;
    }
    return false;
}

CString CCommandFile::Value(const int& index, const char* key, const int& bufferSize) const
{
    ProfileLine line;
    if (!FindKey(index, key, line) || line.valueStart < 0)
        return CString();
    return ProfileValueOf(text + line.valueStart, line.valueEnd - line.valueStart, bufferSize);
}
