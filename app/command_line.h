// The program's command line, `olvex.exe [COMn] [BAUD[,FRAME]] [/config FILE]
// [/connect]`: parsed by a pure function, and the port values it gives for one
// run laid over the record without ever reaching the settings file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/port_settings.h"

struct CommandLine {
    std::int32_t port_num = 0;  // 0: no port given
    std::int32_t baud = 0;      // 0: no rate given
    bool has_frame = false;     // bits, parity and stop are set together
    std::int32_t bits = 8;
    std::int32_t parity = 0;  // the record's codes: 0 none, 1 odd, 2 even, 3 space, 4 mark
    std::int32_t stop = 10;   // tenths of a bit
    std::string config_file;  // empty: config.ini
    bool connect = false;     // "/connect"
    // One line per argument that was refused; every other argument still counts.
    std::vector<std::string> errors;
};

inline constexpr const char* command_line_error_caption = "Olvex terminal: command line";
inline constexpr const char* command_line_usage = "olvex.exe [COMn] [BAUD[,FRAME]] [/config FILE] [/connect]";

// Arguments without the program's name. Switches and the port's "COM" are
// matched in any letter case; the arguments may come in any order.
CommandLine parse_command_line(const std::vector<std::string>& args);
// The message box text for the refused arguments; empty when there are none.
std::string command_line_error_text(const CommandLine& line);

// The port values of one run: laid over the record once the settings file has
// been read, and taken out again when the record is written back.
class RunPortValues {
 public:
    RunPortValues() = default;
    explicit RunPortValues(const CommandLine& line) : line_(line) {}

    // A port given, or "/connect": connect when the main window first shows.
    bool connect_at_start() const { return line_.port_num != 0 || line_.connect; }
    // After the PORT keys were read into `record`: keeps the file's values and
    // puts the run's in their place.
    void apply(PortSettings& record);
    // The record as the PORT keys are to be written: the file's value for
    // every field the run set that still holds the run's value. A field the
    // user has changed since (the port dialog) is saved as the user left it.
    PortSettings to_save(const PortSettings& now) const;

 private:
    CommandLine line_;
    PortSettings loaded_;
    bool applied_ = false;
};
