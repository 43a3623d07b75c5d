// Prints the ANSI and OEM code pages that Windows (or Wine) chose, for the
// locale comparison: "1250 852".
#include <cstdio>
#include <windows.h>

int main()
{
    std::printf("%u %u\n", GetACP(), GetOEMCP());
    return 0;
}
