// A DLL that a test plants beside a program: loading it must fail once loading is restricted.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
