// Entry point of every unit test program.
#include <windows.h>
#include <stdio.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Shift-JIS rules (lead bytes, trail byte 0x5C, full-width space) only
    // hold under code page 932; anything else would make tests lie.
    UINT codePage = GetACP();
    if (codePage != 932) {
        fprintf(stderr,
                "The ANSI code page is %u, not 932. Run the tests with LANG=ja_JP.UTF-8 "
                "and generate that locale (scripts/install-deps.sh does both).\n",
                codePage);
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
