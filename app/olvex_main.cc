// The Windows entry point of olvex.exe: the real serial driver, then the
// program. (A .cc file, so the layer's *.cpp glob keeps it out of the library
// that the tests link.) The start-up code calls main() for a GUI-subsystem
// program too, so no Windows header is needed here.
#include "app/program.h"
#include "link/win32_port_driver.h"

int main()
{
    Win32PortDriver driver;
    return olvex_run(driver);
}
