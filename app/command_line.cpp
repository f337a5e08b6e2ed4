// Parsing the command line, and the run's port values over the record.
#include "app/command_line.h"

#include <cctype>

namespace {

bool equals_nocase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

// Decimal digits only, no sign or blanks; false beyond `max` (no overflow).
bool parse_number(const std::string& text, std::int32_t min, std::int32_t max, std::int32_t& out)
{
    if (text.empty()) return false;
    std::int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > max) return false;
    }
    if (v < min) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

// "8N1", "7E2", "5O1.5": data bits, parity letter, stop bits.
bool parse_frame(const std::string& text, CommandLine& line)
{
    if (text.size() < 3) return false;
    if (text[0] < '5' || text[0] > '8') return false;
    const char p = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
    const char* letters = "NOESM";  // in the order of the record's codes
    int parity = -1;
    for (int i = 0; i < 5; ++i)
        if (letters[i] == p) parity = i;
    if (parity < 0) return false;
    const std::string stop = text.substr(2);
    std::int32_t tenths = 0;
    if (stop == "1")
        tenths = 10;
    else if (stop == "1.5")
        tenths = 15;
    else if (stop == "2")
        tenths = 20;
    else
        return false;
    line.has_frame = true;
    line.bits = text[0] - '0';
    line.parity = parity;
    line.stop = tenths;
    return true;
}

void refuse(CommandLine& line, const std::string& arg, const char* why)
{
    line.errors.push_back("\"" + arg + "\": " + why);
}

void parse_rate(const std::string& arg, CommandLine& line)
{
    if (line.baud != 0) return refuse(line, arg, "a baud rate was given before");
    const std::size_t comma = arg.find(',');
    std::int32_t baud = 0;
    if (!parse_number(arg.substr(0, comma), 1, 3000000, baud))
        return refuse(line, arg, "the baud rate must be a number from 1 to 3000000");
    if (comma != std::string::npos) {
        CommandLine frame;
        if (!parse_frame(arg.substr(comma + 1), frame))
            return refuse(line, arg,
                          "the frame must be data bits 5 to 8, parity N, O, E, M or S and stop bits 1, 1.5 or 2, "
                          "as in 8N1");
        line.has_frame = true;
        line.bits = frame.bits;
        line.parity = frame.parity;
        line.stop = frame.stop;
    }
    line.baud = baud;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& args)
{
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) continue;
        if (arg[0] == '/') {
            if (equals_nocase(arg, "/connect")) {
                line.connect = true;
            } else if (equals_nocase(arg, "/config")) {
                if (i + 1 >= args.size() || args[i + 1].empty()) {
                    refuse(line, arg, "the settings file's name is missing");
                } else if (!line.config_file.empty()) {
                    refuse(line, arg + " " + args[i + 1], "a settings file was given before");
                    ++i;
                } else {
                    line.config_file = args[++i];
                }
            } else {
                refuse(line, arg, "unknown switch");
            }
        } else if (arg.size() > 3 && equals_nocase(arg.substr(0, 3), "com")) {
            std::int32_t n = 0;
            if (!parse_number(arg.substr(3), 1, 255, n))
                refuse(line, arg, "the port number must be 1 to 255");
            else if (line.port_num != 0)
                refuse(line, arg, "a port was given before");
            else
                line.port_num = n;
        } else if (arg[0] >= '0' && arg[0] <= '9') {
            parse_rate(arg, line);
        } else {
            refuse(line, arg, "neither a port (COMn), a baud rate nor a switch");
        }
    }
    return line;
}

std::string command_line_error_text(const CommandLine& line)
{
    if (line.errors.empty()) return {};
    std::string text = "These command-line arguments are ignored:\n";
    for (const std::string& e : line.errors) text += e + "\n";
    text += "\nUsage: ";
    text += command_line_usage;
    return text;
}

void RunPortValues::apply(PortSettings& record)
{
    loaded_ = record;
    applied_ = true;
    if (line_.port_num != 0) record.port_num = line_.port_num;
    if (line_.baud != 0) record.port_baud = line_.baud;
    if (line_.has_frame) {
        record.port_bit = line_.bits;
        record.port_parity = line_.parity;
        record.port_stop = line_.stop;
    }
}

PortSettings RunPortValues::to_save(const PortSettings& now) const
{
    PortSettings out = now;
    if (!applied_) return out;
    auto restore = [](std::int32_t& field, std::int32_t run_value, std::int32_t file_value) {
        if (field == run_value) field = file_value;
    };
    if (line_.port_num != 0) restore(out.port_num, line_.port_num, loaded_.port_num);
    if (line_.baud != 0) restore(out.port_baud, line_.baud, loaded_.port_baud);
    if (line_.has_frame) {
        restore(out.port_bit, line_.bits, loaded_.port_bit);
        restore(out.port_parity, line_.parity, loaded_.port_parity);
        restore(out.port_stop, line_.stop, loaded_.port_stop);
    }
    return out;
}
