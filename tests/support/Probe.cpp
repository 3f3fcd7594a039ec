// QnProbe.dll: an empty DLL that stands for one planted beside a program.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
