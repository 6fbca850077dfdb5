// The growable array of the suite. CArray<CString> is the string list (command
// names, history, file lists); CArray<CStringPair> holds the name and comment
// pairs of the candidate window and uses only the storage operations.
//
// Every slot of the block holds a constructed element, in use or not; slots
// at and past count are always empty. There is no bounds checking: callers
// stay below count.
#ifndef QUELT_SUPPORT_ARRAY_H
#define QUELT_SUPPORT_ARRAY_H

#include <new>
#include <stdlib.h>
#include <string.h>

#include "support/string.h"

namespace Zint_Std {

struct CStringPair {
    CString first;
    CString second;
    // Members are destroyed in reverse order: second, then first.
};

static_assert(sizeof(CStringPair) == 2 * sizeof(CString), "CStringPair must stay two CStrings");

typedef bool (*StringCompare)(const CString& left, const CString& right);

template <class T>
class CArray {
public:
    int count;              // elements in use
    int slotCount;          // constructed slots in the block
    unsigned int byteSize;  // slotCount times the element size
    T* items;               // owning; null when nothing is allocated

    CArray() : count(0), slotCount(0), byteSize(0), items(0) {}
    virtual ~CArray() { FreeAll(); }

    // Lists are handed around by reference; a copy would share the block.
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    // Trades contents with other: a list built apart changes hands whole.
    void SwapWith(CArray& other)
    {
        const int heldCount = count;
        const int heldSlots = slotCount;
        const unsigned int heldSize = byteSize;
        T* heldItems = items;
        count = other.count;
        slotCount = other.slotCount;
        byteSize = other.byteSize;
        items = other.items;
        other.count = heldCount;
        other.slotCount = heldSlots;
        other.byteSize = heldSize;
        other.items = heldItems;
    }

    // Makes the array hold n empty elements, discarding the content.
    bool Allocate(const int& requested)
    {
        // A copy: the argument may be one of this array's own fields.
        const int n = requested;
        if (n < slotCount) {
            EmptyAll();
            count = n;
            return true;
        }
        FreeAll();
        if (n < 0 || static_cast<unsigned int>(n) > kMaxElements)
            return false;
        unsigned int size = 16;
        while (size <= static_cast<unsigned int>(n) * sizeof(T))
            size *= 2;
        items = static_cast<T*>(malloc(size));
        if (!items)
            return false;
        memset(static_cast<void*>(items), 0, size);
        byteSize = size;
        slotCount = static_cast<int>(size / sizeof(T));
        count = n;
        for (int i = 0; i < slotCount; i++)
            new (&items[i]) T();
        return true;
    }

    // Empties every slot; count stays as it is.
    void EmptyAll()
    {
        if (!items)
            return;
        for (int i = 0; i < slotCount; i++)
            items[i].~T();
        memset(static_cast<void*>(items), 0, byteSize);
        for (int i = 0; i < slotCount; i++)
            new (&items[i]) T();
    }

    void FreeAll()
    {
        if (items) {
            for (int i = 0; i < slotCount; i++)
                items[i].~T();
            memset(static_cast<void*>(items), 0, byteSize);
            free(items);
            items = 0;
        }
        count = 0;
        slotCount = 0;
        byteSize = 0;
    }

    // Changes the number of elements, keeping the first ones.
    bool SetSize(const int& requested)
    {
        const int n = requested;
        if (n < 0)
            return false;
        if (n < slotCount) {
            int low = n < count ? n : count;
            int high = n < count ? count : n;
            for (int i = low; i < high; i++)
                EmptySlot(i);
            count = n;
            return true;
        }
        int oldCount = count;
        int oldSlots = slotCount;
        unsigned int oldBytes = byteSize;
        T* oldItems = items;
        count = 0;
        slotCount = 0;
        byteSize = 0;
        items = 0;
        bool grown = Allocate(n);
        if (grown) {
            for (int i = 0; i < oldCount; i++)
                items[i] = oldItems[i];
        } else {
            FreeAll();
        }
        if (oldItems) {
            for (int i = 0; i < oldSlots; i++)
                oldItems[i].~T();
            memset(static_cast<void*>(oldItems), 0, oldBytes);
            free(oldItems);
        }
        return grown;
    }

    bool Add(const T& element)
    {
        if (count + 1 < slotCount) {
            items[count] = element;
            count++;
            return true;
        }
        // element may live in the block that is about to be replaced.
        T copy(element);
        if (!SetSize(count + 1))
            return false;
        Move(items[count - 1], copy);  // copy is already the deep copy
        return true;
    }

    bool InsertAt(const int& position, const T& element)
    {
        const int index = position;  // may be this array's own count
        if (index < 0 || index > count)
            return false;
        T copy(element);
        if (!SetSize(count + 1))
            return false;
        for (int i = count - 2; i >= index; i--)
            items[i + 1] = items[i];
        Move(items[index], copy);
        return true;
    }

    // A copy of the last element, which is removed. The array must not be
    // empty.
    T RemoveLast()
    {
        T last;
        if (count <= 0)
            return last;
        last = items[count - 1];
        EmptySlot(count - 1);
        count--;
        return last;
    }

    // Top-down merge sort with a caller's comparison. The left candidate is
    // taken when compare(left, right) is false (ascending) or true
    // (descending), so equal elements come from the right half first.
    void Sort(StringCompare compare, const bool& ascending)
    {
        SortWith(compare, ascending);
    }

    // The same merge sort with StringLess (ascending) or StringGreater.
    void Sort(const bool& ascending)
    {
        SortWith(0, ascending);
    }

    // In-place quicksort of the slots low to high with the fixed orderings.
    void QuickSort(const int& low, const int& high, const bool& ascending)
    {
        if (low >= high)
            return;
        int m = Partition(low, high, ascending);
        QuickSort(low, m - 1, ascending);
        QuickSort(m + 1, high, ascending);
    }

private:
    // Zeroes a slot's bytes and constructs it empty again.
    void EmptySlot(int i)
    {
        items[i].~T();
        memset(static_cast<void*>(&items[i]), 0, sizeof(T));
        new (&items[i]) T();
    }

    static const unsigned int kMaxElements = 0x20000000u / sizeof(T);

    // Hands an element over without copying its buffers; the string types
    // below take the buffers over, any other record is copied.
    static void Move(T& to, T& from) { to = from; }

    bool TakesLeft(StringCompare compare, const bool& ascending,
                   const CString& left, const CString& right)
    {
        if (compare)
            return ascending ? !compare(left, right) : compare(left, right);
        return ascending ? StringLess(left, right) : StringGreater(left, right);
    }

    void SortWith(StringCompare compare, const bool& ascending)
    {
        if (count <= 1)
            return;
        CArray<CString> scratch;
        if (!scratch.Allocate(count))
            return;
        MergeSort(scratch, 0, count, compare, ascending);
    }

    void MergeSort(CArray<CString>& scratch, int base, int n,
                   StringCompare compare, const bool& ascending)
    {
        if (n < 2)
            return;
        int half = n / 2;
        MergeSort(scratch, base, half, compare, ascending);
        MergeSort(scratch, base + half, n - half, compare, ascending);
        for (int i = 0; i < half; i++)
            Move(scratch.items[i], items[base + i]);
        int left = 0;
        int right = base + half;
        int end = base + n;
        int out = base;
        while (right < end && left < half) {
            if (TakesLeft(compare, ascending, scratch.items[left], items[right]))
                Move(items[out++], scratch.items[left++]);
            else
                Move(items[out++], items[right++]);
        }
        while (left < half)
            Move(items[out++], scratch.items[left++]);
    }

    // Whether value belongs after (or, with before, ahead of) the pivot.
    static bool After(const CString& value, const CString& pivot, const bool& ascending)
    {
        return ascending ? StringGreater(value, pivot) : StringLess(value, pivot);
    }

    static bool Before(const CString& value, const CString& pivot, const bool& ascending)
    {
        return ascending ? StringLess(value, pivot) : StringGreater(value, pivot);
    }

    // Three-slot rotation: to takes from's element, from takes the pivot at
    // pivotSlot, pivotSlot takes the element that was at to.
    void Rotate(int to, int from, int pivotSlot)
    {
        T moved;
        Move(moved, items[to]);
        if (to != from)
            Move(items[to], items[from]);
        Move(items[from], items[pivotSlot]);
        Move(items[pivotSlot], moved);
    }

    int Partition(int low, int high, const bool& ascending)
    {
        int m = (low + high) / 2;
        CString pivot(items[m]);
        for (int k = low; k < m;) {
            if (After(items[k], pivot, ascending)) {
                Rotate(k, m - 1, m);
                m--;
            } else {
                k++;
            }
        }
        for (int j = high; j > m;) {
            if (Before(items[j], pivot, ascending)) {
                Rotate(j, m + 1, m);
                m++;
            } else {
                j--;
            }
        }
        return m;
    }
};

template <>
inline void CArray<CString>::Move(CString& to, CString& from)
{
    to.TakeOver(from);
}

template <>
inline void CArray<CStringPair>::Move(CStringPair& to, CStringPair& from)
{
    to.first.TakeOver(from.first);
    to.second.TakeOver(from.second);
}

#ifndef _WIN64
static_assert(sizeof(CArray<CString>) == 20,
              "CArray must stay the table pointer and four 32-bit fields");
#endif

}  // namespace Zint_Std

#endif
