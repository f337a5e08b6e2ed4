// The Windows entry point of olvex.exe: the real serial driver, then the
// program. (A .cc file, so the layer's *.cpp glob keeps it out of the library
// that the tests link.)
#include <windows.h>

#include "app/program.h"
#include "link/win32_port_driver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Win32PortDriver driver;
    return olvex_run(driver);
}
