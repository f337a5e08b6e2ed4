// The Windows entry point of olvex.exe: the real serial driver and port
// catalogue, then the program. (A .cc file, so the layer's *.cpp glob keeps it out of the library
// that the tests link.) The start-up code calls main() for a GUI-subsystem
// program too, with the command line split as the C runtime splits it, so no
// Windows header is needed here.
#include <string>
#include <vector>

#include "app/program.h"
#include "link/win32_port_catalogue.h"
#include "link/win32_port_driver.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    Win32PortDriver driver;
    Win32PortCatalogue catalogue;
    return olvex_run(driver, catalogue, args);
}
