// Reducing a sender's file name to one that cannot leave the chosen folder or
// open a device.
#include "tx/transfer/xfer_safe_name.h"

#include <cstdio>

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Windows opens these devices whatever the folder or extension ("NUL.txt"),
// blanks before the dot included; the superscript digits count too.
bool names_device(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = upper(c);
    for (const char* d : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (stem == d) return true;
    if (stem.size() < 4 || (stem.compare(0, 3, "COM") != 0 && stem.compare(0, 3, "LPT") != 0)) return false;
    const std::string digit = stem.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// The given name as a note quotes it, control characters shown as \xNN.
std::string quoted(const std::string& s)
{
    std::string q = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            q += hex;
        } else {
            q += c;
        }
    }
    return q + "\"";
}

}  // namespace

std::string xfer_safe_name(const std::string& given, std::string* note)
{
    const auto refuse = [&](const char* why) {
        if (note) *note = "The sender's name " + quoted(given) + " was refused: " + why + ".";
        return std::string();
    };
    std::string path = given;
    if (path.size() >= 2 && path[1] == ':' && upper(path[0]) >= 'A' && upper(path[0]) <= 'Z') path.erase(0, 2);
    // The last component that is a name, so "x.bin/" and "x.bin/." still give x.bin.
    std::string name;
    std::size_t end = path.size();
    while (name.empty() && end > 0) {
        const std::size_t slash = path.find_last_of("/\\", end - 1);
        const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
        std::string part = path.substr(begin, end - begin);
        if (part != "." && part != "..") name = part;
        end = slash == std::string::npos ? 0 : slash;
    }
    // Windows drops trailing dots and blanks itself; trimmed here, the check sees the real name.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) return refuse("it holds no file name");
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return refuse("it holds a control character");
        if (std::string("<>:\"|?*").find(c) != std::string::npos) return refuse("it holds a character Windows forbids");
    }
    if (names_device(name)) return refuse("it names a device");
    if (note) note->clear();
    if (name != given && note) *note = "The sender's name " + quoted(given) + " was reduced to " + quoted(name) + ".";
    return name;
}
