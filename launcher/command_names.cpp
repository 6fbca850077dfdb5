#include "launcher/command_names.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "commands/command_file.h"
#include "launcher/name_sort_key.h"

namespace {

// One name while the list is sorted: eight bytes of its sort key, from
// where the keys of the list begin to differ, as two numbers that compare
// as the bytes do, and where its key and its name lie.
struct NameRecord {
    unsigned int high;
    unsigned int low;
    int key;   // in the key block
    int name;  // in the name block
};

// The room kept free for the next key: a name of a few hundred characters
// fits, a longer one asks for its size.
const int kKeyRoom = 4096;

// Orders the records by their keys: the eight bytes first, and only when
// those are the same and the keys go on, the rest.
class CKeyOrder {
public:
    CKeyOrder(const char* keyBlock, const int& restAt) : keys(keyBlock), rest(restAt) {}
    bool Less(const NameRecord& a, const NameRecord& b) const
    {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        // A zero in the last of the eight bytes: both keys ended within them.
        if (!(a.low & 0xFF))
            return false;
        return strcmp(keys + a.key + rest, keys + b.key + rest) < 0;
    }
    // A key order is a consistent order: two runs already in order need
    // no merge.
    static const bool kConsistent = true;

private:
    const char* keys;
    int rest;
};

// The locale's comparison itself, for lists whose keys could not be made.
class CNameOrder {
public:
    explicit CNameOrder(const char* nameBlock) : names(nameBlock) {}
    bool Less(const NameRecord& a, const NameRecord& b) const
    {
        return lstrcmpiA(names + a.name, names + b.name) < 0;
    }
    // Every comparison is made as the array's merge sort makes it.
    static const bool kConsistent = false;

private:
    const char* names;
};

// The array's top-down merge sort on the records of base to base + n: the
// left candidate is taken only when it is less than the right one, so of
// two equal names the one from the later half comes first.
template <class Order>
void MergeSort(NameRecord* items, NameRecord* scratch, const int& base, const int& n,
               const Order& order)
{
    if (n < 2)
        return;
    const int half = n / 2;
    MergeSort(items, scratch, base, half, order);
    MergeSort(items, scratch, base + half, n - half, order);
    if (Order::kConsistent && order.Less(items[base + half - 1], items[base + half]))
        return;
    memcpy(scratch, items + base, sizeof(NameRecord) * half);
    int left = 0;
    int right = base + half;
    const int end = base + n;
    int out = base;
    while (right < end && left < half) {
        if (order.Less(scratch[left], items[right]))
            items[out++] = scratch[left++];
        else
            items[out++] = items[right++];
    }
    while (left < half)
        items[out++] = scratch[left++];
}

template <class Order>
bool Sort(NameRecord* records, const int& count, const Order& order)
{
    NameRecord* scratch = static_cast<NameRecord*>(malloc(sizeof(NameRecord) * (count / 2 + 1)));
    if (!scratch)
        return false;
    MergeSort(records, scratch, 0, count, order);
    free(scratch);
    return true;
}

bool IsAscii(const char* text, const int& length)
{
    for (int i = 0; i < length; i++) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// The block of keys, grown as the keys are made.
class CKeyBlock {
public:
    char* bytes;
    int used;

    CKeyBlock() : bytes(0), used(0), room(0) {}
    ~CKeyBlock() { free(bytes); }

    // At least needed bytes of room after the used ones.
    bool Ensure(const int& needed)
    {
        if (needed <= room - used)
            return true;
        if (needed > kLargest - used)
            return false;
        int larger = room ? room : 4096;
        while (larger - used < needed)
            larger = larger < kLargest / 2 ? larger * 2 : kLargest;
        char* grown = static_cast<char*>(realloc(bytes, larger));
        if (!grown)
            return false;
        bytes = grown;
        room = larger;
        return true;
    }
    int Free() const { return room - used; }

private:
    static const int kLargest = 1 << 30;
    int room;
};

// Each record's key into the block, then its eight bytes from where the
// keys begin to differ; false when a key could not be made.
bool MakeKeys(NameRecord* records, const int& count, const char* names, const int& namesEnd,
              CKeyBlock& keys, int& shared)
{
    const LCID locale = GetThreadLocale();
    // The keys of plain names take two or three bytes a character.
    const int estimate = namesEnd < (1 << 26) ? namesEnd * 3 + count * 8 : namesEnd;
    if (!keys.Ensure(estimate))
        return false;
    for (int r = 0; r < count; r++) {
        const char* name = names + records[r].name;
        const int nameLength = (r + 1 < count ? records[r + 1].name : namesEnd) - records[r].name - 1;
        if (!keys.Ensure(kKeyRoom))
            return false;
        int length = MakeNameSortKey(locale, name, nameLength, keys.bytes + keys.used, keys.Free());
        // A long name's key is made again once the block has its room.
        if (length < 0 && keys.Ensure(-length))
            length = MakeNameSortKey(locale, name, nameLength, keys.bytes + keys.used, keys.Free());
        if (length <= 0)
            return false;
        records[r].key = keys.used;
        keys.used += length;
    }
    // The bytes every key begins with decide nothing.
    const unsigned char* block = reinterpret_cast<const unsigned char*>(keys.bytes);
    const unsigned char* first = block + records[0].key;
    shared = static_cast<int>(strlen(reinterpret_cast<const char*>(first)));
    for (int r = 1; r < count && shared; r++) {
        const unsigned char* key = block + records[r].key;
        int same = 0;
        while (same < shared && key[same] == first[same])
            same++;
        shared = same;
    }
    for (int r = 0; r < count; r++) {
        const unsigned char* key = block + records[r].key + shared;
        unsigned char eight[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        for (int b = 0; b < 8 && key[b]; b++)
            eight[b] = key[b];
        records[r].high = (static_cast<unsigned int>(eight[0]) << 24) | (eight[1] << 16) |
                          (eight[2] << 8) | eight[3];
        records[r].low = (static_cast<unsigned int>(eight[4]) << 24) | (eight[5] << 16) |
                         (eight[6] << 8) | eight[7];
    }
    return true;
}

}  // namespace

CCommandNames::CCommandNames() : count(0), text(0), starts(0), textSize(0) {}

CCommandNames::~CCommandNames()
{
    Clear();
}

void CCommandNames::Clear()
{
    free(text);
    free(starts);
    text = 0;
    starts = 0;
    textSize = 0;
    count = 0;
}

unsigned int CCommandNames::ByteSize() const
{
    return static_cast<unsigned int>(textSize) + sizeof(int) * count;
}

bool CCommandNames::Build(const CCommandFile& commands)
{
    Clear();
    const char* fileText = commands.Text();
    // Room for the names as the reader gives them: a name with double-byte
    // characters may come back longer from its round trip through UTF-16.
    int listed = 0;
    int room = 0;
    for (int i = 0; i < commands.SectionCount(); i++) {
        if (!commands.IsListed(i))
            continue;
        const ProfileSection& section = commands.Section(i);
        const int length = section.nameLength;
        room += (IsAscii(fileText + section.nameStart, length) ? length : 2 * length) + 1;
        listed++;
    }
    if (!listed)
        return true;
    // The lasting blocks before the passing ones, so that these are given
    // back from the end of the heap.
    text = static_cast<char*>(malloc(room));
    starts = static_cast<int*>(malloc(sizeof(int) * listed));
    NameRecord* records = static_cast<NameRecord*>(malloc(sizeof(NameRecord) * listed));
    if (!text || !starts || !records) {
        free(records);
        Clear();
        return false;
    }
    int used = 0;
    int named = 0;
    for (int i = 0; i < commands.SectionCount(); i++) {
        if (!commands.IsListed(i))
            continue;
        const int length = commands.CopySectionName(i, text + used);
        if (!length)
            continue;
        text[used + length] = 0;
        records[named].name = used;
        named++;
        used += length + 1;
    }
    bool sorted = false;
    if (named) {
        CKeyBlock keys;
        int shared = 0;
        if (MakeKeys(records, named, text, used, keys, shared))
            sorted = Sort(records, named, CKeyOrder(keys.bytes, shared + 8));
        else
            sorted = Sort(records, named, CNameOrder(text));
    }
    for (int i = 0; sorted && i < named; i++)
        starts[i] = records[i].name;
    free(records);
    if (!sorted && named) {
        Clear();
        return false;
    }
    // Double-byte names that came back shorter, and empty ones, leave room
    // over.
    if (used < room) {
        char* exact = static_cast<char*>(realloc(text, used ? used : 1));
        if (exact)
            text = exact;
    }
    if (named < listed) {
        int* fewer = static_cast<int*>(realloc(starts, sizeof(int) * (named ? named : 1)));
        if (fewer)
            starts = fewer;
    }
    textSize = used;
    count = named;
    return true;
}
