// The command line: the parser's table, the run's port values kept out of the
// settings file, and a whole start on a port with its own settings file.
#include "app/command_line.h"

#include "settings/start_folder.h"
#include "tests/app/main_window_fixture.h"

namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

struct ParseCase {
    const char* what;
    Args args;
    std::int32_t port, baud, bits, parity, stop;  // bits 0: no frame
    const char* config;
    bool connect;
    std::size_t errors;
};

const ParseCase parse_cases[] = {
    {"nothing", {}, 0, 0, 0, 0, 0, "", false, 0},
    {"port alone", {"COM7"}, 7, 0, 0, 0, 0, "", false, 0},
    {"lower-case port", {"com12"}, 12, 0, 0, 0, 0, "", false, 0},
    {"highest port", {"COM255"}, 255, 0, 0, 0, 0, "", false, 0},
    {"rate alone", {"9600"}, 0, 9600, 0, 0, 0, "", false, 0},
    {"8N1", {"COM7", "115200,8N1"}, 7, 115200, 8, 0, 10, "", false, 0},
    {"7E2", {"COM3", "9600,7E2"}, 3, 9600, 7, 2, 20, "", false, 0},
    {"odd", {"300,6O1"}, 0, 300, 6, 1, 10, "", false, 0},
    {"mark is code 4", {"300,8M1"}, 0, 300, 8, 4, 10, "", false, 0},
    {"space is code 3", {"300,8S1"}, 0, 300, 8, 3, 10, "", false, 0},
    {"one and a half", {"1200,5N1.5"}, 0, 1200, 5, 0, 15, "", false, 0},
    {"lower-case parity", {"1200,8e1"}, 0, 1200, 8, 2, 10, "", false, 0},
    {"highest rate", {"3000000"}, 0, 3000000, 0, 0, 0, "", false, 0},
    {"switches", {"/config", "bench.ini", "/connect"}, 0, 0, 0, 0, 0, "bench.ini", true, 0},
    {"switch case", {"/CONFIG", "a.ini", "/Connect"}, 0, 0, 0, 0, 0, "a.ini", true, 0},
    {"any order", {"/connect", "9600,7E2", "/config", "b.ini", "COM3"}, 3, 9600, 7, 2, 20, "b.ini", true, 0},
    {"a path with blanks", {"/config", "my settings\\x.ini"}, 0, 0, 0, 0, 0, "my settings\\x.ini", false, 0},
    // Refused arguments: each is named, the others still count.
    {"port 0", {"COM0", "9600"}, 0, 9600, 0, 0, 0, "", false, 1},
    {"port 256", {"COM256"}, 0, 0, 0, 0, 0, "", false, 1},
    {"port not a number", {"COM7a", "COMx"}, 0, 0, 0, 0, 0, "", false, 2},
    {"port huge", {"COM99999999999"}, 0, 0, 0, 0, 0, "", false, 1},
    {"second port", {"COM3", "COM4"}, 3, 0, 0, 0, 0, "", false, 1},
    {"rate 0", {"0"}, 0, 0, 0, 0, 0, "", false, 1},
    {"rate too high", {"3000001,8N1"}, 0, 0, 0, 0, 0, "", false, 1},
    {"rate signed", {"COM1", "+9600"}, 1, 0, 0, 0, 0, "", false, 1},
    {"rate with letters", {"96k"}, 0, 0, 0, 0, 0, "", false, 1},
    {"second rate", {"9600", "4800"}, 0, 9600, 0, 0, 0, "", false, 1},
    {"empty frame", {"9600,"}, 0, 0, 0, 0, 0, "", false, 1},
    {"4 data bits", {"9600,4N1"}, 0, 0, 0, 0, 0, "", false, 1},
    {"9 data bits", {"9600,9N1"}, 0, 0, 0, 0, 0, "", false, 1},
    {"parity X", {"9600,8X1"}, 0, 0, 0, 0, 0, "", false, 1},
    {"stop 3", {"9600,8N3"}, 0, 0, 0, 0, 0, "", false, 1},
    {"stop 2.5", {"9600,8N2.5"}, 0, 0, 0, 0, 0, "", false, 1},
    {"frame too long", {"9600,8N1x"}, 0, 0, 0, 0, 0, "", false, 1},
    {"config without file", {"COM2", "/config"}, 2, 0, 0, 0, 0, "", false, 1},
    {"second config", {"/config", "a.ini", "/config", "b.ini", "COM2"}, 2, 0, 0, 0, 0, "a.ini", false, 1},
    {"unknown switch", {"/fast", "COM2"}, 2, 0, 0, 0, 0, "", false, 1},
    {"word", {"hello"}, 0, 0, 0, 0, 0, "", false, 1},
    {"COM alone", {"COM"}, 0, 0, 0, 0, 0, "", false, 1},
};

TEST(CommandLineParse, EveryFormAndEveryRefusal)
{
    for (const ParseCase& c : parse_cases) {
        SCOPED_TRACE(c.what);
        const CommandLine l = parse_command_line(c.args);
        EXPECT_EQ(l.port_num, c.port);
        EXPECT_EQ(l.baud, c.baud);
        EXPECT_EQ(l.has_frame, c.bits != 0);
        if (c.bits != 0) {
            EXPECT_EQ(l.bits, c.bits);
            EXPECT_EQ(l.parity, c.parity);
            EXPECT_EQ(l.stop, c.stop);
        }
        EXPECT_EQ(l.config_file, c.config);
        EXPECT_EQ(l.connect, c.connect);
        EXPECT_EQ(l.errors.size(), c.errors);
        EXPECT_EQ(command_line_error_text(l).empty(), c.errors == 0);
    }
}

TEST(CommandLineParse, TheMessageNamesTheArgumentAndTheUsage)
{
    const std::string text = command_line_error_text(parse_command_line({"COM300", "9600,8X1"}));
    EXPECT_NE(text.find("\"COM300\": the port number must be 1 to 255"), std::string::npos) << text;
    EXPECT_NE(text.find("\"9600,8X1\""), std::string::npos) << text;
    EXPECT_NE(text.find(command_line_usage), std::string::npos) << text;
}

TEST(RunPortValues, TheFileKeepsItsValuesUnlessTheUserChangedThem)
{
    PortSettings record;
    record.port_num = 2;
    record.port_baud = 57600;
    record.port_open = 1;
    RunPortValues run(parse_command_line({"COM9", "9600,7E2"}));
    EXPECT_TRUE(run.connect_at_start());
    run.apply(record);
    EXPECT_EQ(record.port_num, 9);
    EXPECT_EQ(record.port_baud, 9600);
    EXPECT_EQ(record.port_bit, 7);
    EXPECT_EQ(record.port_parity, 2);
    EXPECT_EQ(record.port_stop, 20);

    PortSettings saved = run.to_save(record);
    EXPECT_EQ(saved.port_num, 2);
    EXPECT_EQ(saved.port_baud, 57600);
    EXPECT_EQ(saved.port_bit, 8);
    EXPECT_EQ(saved.port_parity, 0);
    EXPECT_EQ(saved.port_stop, 10);
    EXPECT_EQ(saved.port_open, 1);

    // What the user chose in the dialog during the run is theirs to keep.
    record.port_baud = 19200;
    record.port_stop = 10;
    record.port_rx_handshake = 1;
    saved = run.to_save(record);
    EXPECT_EQ(saved.port_baud, 19200);
    EXPECT_EQ(saved.port_stop, 10);
    EXPECT_EQ(saved.port_rx_handshake, 1);
    EXPECT_EQ(saved.port_num, 2);

    // Without a command line the record is saved as it stands.
    RunPortValues none;
    EXPECT_FALSE(none.connect_at_start());
    none.apply(record);
    EXPECT_EQ(none.to_save(record).port_num, 9);
    EXPECT_TRUE(RunPortValues(parse_command_line({"/connect"})).connect_at_start());
}

TEST(SettingsFilePath, RelativeToTheStartFolderUnlessFull)
{
    EXPECT_EQ(settings_file_path("C:\\run", ""), "C:\\run\\config.ini");
    EXPECT_EQ(settings_file_path("C:\\run", "bench.ini"), "C:\\run\\bench.ini");
    EXPECT_EQ(settings_file_path("C:\\run", "sub\\b.ini"), "C:\\run\\sub\\b.ini");
    EXPECT_EQ(settings_file_path("C:\\run", "D:\\other\\b.ini"), "D:\\other\\b.ini");
    EXPECT_EQ(settings_file_path("C:\\run", "\\\\host\\share\\b.ini"), "\\\\host\\share\\b.ini");
    EXPECT_EQ(settings_file_path("/tmp/run", "/etc/b.ini"), "/etc/b.ini");
}

class CommandLineStart : public ProgramStartTest {
 protected:
    // Program start as olvex_run makes it, with these arguments.
    void start_with(const Args& args)
    {
        const CommandLine line = parse_command_line(args);
        settings_file_open(line.config_file);
        windows = std::make_unique<WindowSet>(sim, resources);
        m = MForm;
        m->run_port = RunPortValues(line);
        m->show();
    }
    Lines file_lines(const char* name) const
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        Lines out;
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            out.push_back(l);
        }
        return out;
    }
};

TEST_F(CommandLineStart, APortGivenConnectsWithTheRunsValuesAndTheOwnFileKeepsItsOwn)
{
    sim.add_port(3);
    std::ofstream(dir_ / "bench.ini", std::ios::binary) << "[PORT]\r\nport_num=1\r\nport_baud=57600\r\n";
    start_with({"COM3", "9600,7E2", "/config", "bench.ini"});
    ASSERT_TRUE(link().connected());
    EXPECT_TRUE(sim.is_open(3));
    EXPECT_EQ(sim.dcb(3).BaudRate, 9600u);
    EXPECT_EQ(sim.dcb(3).ByteSize, 7);
    EXPECT_EQ(sim.dcb(3).Parity, PORT_EVENPARITY);
    EXPECT_EQ(sim.dcb(3).StopBits, PORT_TWOSTOPBITS);
    stop();
    EXPECT_FALSE(fs::exists(dir_ / "config.ini"));
    const Lines saved = file_lines("bench.ini");
    ASSERT_GE(saved.size(), 3u);
    EXPECT_EQ(saved[1], "port_num=1");
    EXPECT_EQ(saved[2], "port_baud=57600");
    EXPECT_NE(std::find(saved.begin(), saved.end(), "port_bit=8"), saved.end());
    EXPECT_NE(std::find(saved.begin(), saved.end(), "[TXTVIEW]"), saved.end()) << "the other groups save as usual";
}

TEST_F(CommandLineStart, ConnectSwitchUsesTheStoredPort)
{
    put("[PORT]\r\nport_num=1\r\nport_baud=4800\r\n");
    start_with({"/connect"});
    ASSERT_TRUE(link().connected());
    EXPECT_EQ(sim.dcb(1).BaudRate, 4800u);
}

}  // namespace
