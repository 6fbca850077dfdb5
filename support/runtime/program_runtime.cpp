// The C++ runtime functions that the delivered programs use, in place of
// libstdc++'s: its operator new throws std::bad_alloc, and that one throw
// brings exception handling, the name demangler and the thread library (with
// imports that Windows XP lacks) into every program.
//
// A plain new that finds no memory ends the program, as an uncaught
// bad_alloc would; the nothrow forms return null to the callers that check.
#include <new>
#include <stdlib.h>

static void* AllocateBlock(size_t size)
{
    return malloc(size != 0 ? size : 1);  // a new of zero bytes still gives a distinct block
}

void* operator new(size_t size)
{
    void* block = AllocateBlock(size);
    if (block == 0) {
        abort();
    }
    return block;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return AllocateBlock(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return AllocateBlock(size);
}

void operator delete(void* block) noexcept
{
    free(block);
}

void operator delete[](void* block) noexcept
{
    free(block);
}

void operator delete(void* block, size_t) noexcept
{
    free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    free(block);
}

// Called through a vtable slot of an abstract class during its construction
// or destruction: a bug with no way on.
extern "C" void __cxa_pure_virtual()
{
    abort();
}
