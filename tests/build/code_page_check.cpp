// Fails at once, with the remedy, when Wine does not run with code page 932:
// then the locale ja_JP.UTF-8 was not generated or LANG was not passed on.
#include <windows.h>
#include <stdio.h>

int main()
{
    UINT codePage = GetACP();
    if (codePage != 932) {
        printf("FAIL: the ANSI code page is %u, not 932. Generate ja_JP.UTF-8 "
               "(scripts/install-deps.sh) and run Wine with LANG=ja_JP.UTF-8.\n",
               codePage);
        return 1;
    }
    printf("ANSI code page 932\n");
    return 0;
}
