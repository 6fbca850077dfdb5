// Owners of system handles: each releases what it holds when it goes, so
// that no early return forgets it.
#ifndef QUELT_SUPPORT_HANDLES_H
#define QUELT_SUPPORT_HANDLES_H

#include <windows.h>

namespace Zint_Std {

// A kernel handle: a file, process, thread, token or mutex. Null and
// INVALID_HANDLE_VALUE both mean none.
class CHandle {
public:
    HANDLE handle;

    CHandle() : handle(0) {}
    explicit CHandle(HANDLE owned) : handle(owned) {}
    ~CHandle() { Close(); }

    bool IsOpen() const { return handle && handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (IsOpen())
            CloseHandle(handle);
        handle = 0;
    }

private:
    CHandle(const CHandle&);
    CHandle& operator=(const CHandle&);
};

// A started process's two handles. The program is started with the usual
// start-up record; hidden starts it without a window of its own.
class CStartedProcess {
public:
    CHandle process;
    CHandle thread;

    bool Start(const char* program, char* commandLine, const bool& inheritHandles,
               const char* folder, const bool& hidden);
};

// A library loaded for a few calls.
class CLibrary {
public:
    HMODULE module;

    explicit CLibrary(const char* name) : module(LoadLibraryA(name)) {}
    ~CLibrary()
    {
        if (module)
            FreeLibrary(module);
    }

private:
    CLibrary(const CLibrary&);
    CLibrary& operator=(const CLibrary&);
};

// Moveable global memory, the kind the clipboard takes. It is freed unless
// it was handed over.
class CGlobalMemory {
public:
    HGLOBAL memory;

    explicit CGlobalMemory(const SIZE_T& bytes) : memory(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~CGlobalMemory()
    {
        if (memory)
            GlobalFree(memory);
    }

    void* Lock() { return GlobalLock(memory); }
    void Unlock() { GlobalUnlock(memory); }
    // The new owner (the clipboard) frees it from now on.
    void HandOver() { memory = 0; }

private:
    CGlobalMemory(const CGlobalMemory&);
    CGlobalMemory& operator=(const CGlobalMemory&);
};

// A GDI object selected into a device context for one scope: the previous
// object goes back in, and the object itself is deleted, which the
// selection owns.
class CGdiSelection {
public:
    CGdiSelection(HDC dc, HGDIOBJ owned) : dc(dc), object(owned), previous(SelectObject(dc, owned))
    {
    }
    ~CGdiSelection()
    {
        SelectObject(dc, previous);
        DeleteObject(object);
    }

private:
    HDC dc;
    HGDIOBJ object;
    HGDIOBJ previous;
    CGdiSelection(const CGdiSelection&);
    CGdiSelection& operator=(const CGdiSelection&);
};

// Double-buffered painting: everything is drawn into dc, a memory context
// of the area's size, and copied onto the target in one step when the
// painter goes, so nothing flickers. Selections into dc must go first.
class CMemoryPaint {
public:
    HDC dc;

    CMemoryPaint(HDC targetDc, const RECT& paintArea)
        : dc(CreateCompatibleDC(targetDc)), target(targetDc), area(paintArea),
          bitmap(CreateCompatibleBitmap(targetDc, area.right - area.left, area.bottom - area.top)),
          previousBitmap(SelectObject(dc, bitmap))
    {
    }
    ~CMemoryPaint()
    {
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc,
               area.left, area.top, SRCCOPY);
        SelectObject(dc, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

private:
    HDC target;
    RECT area;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    CMemoryPaint(const CMemoryPaint&);
    CMemoryPaint& operator=(const CMemoryPaint&);
};

}  // namespace Zint_Std

#endif
