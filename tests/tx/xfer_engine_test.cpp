// The XMODEM/YMODEM engines: a sender against a receiver over an in-memory
// line that can spoil bytes, and recorded exchanges fed to one side by hand.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tx/transfer/xfer_engine.h"
#include "tx/transfer/xfer_safe_name.h"
#include "tx/transfer/xmodem_block.h"
#include "tx/transfer/ymodem_header.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace xmodem;
constexpr auto Xm = XferProtocol::Xmodem, Crc = XferProtocol::XmodemCrc, K1 = XferProtocol::Xmodem1k,
               Ym = XferProtocol::Ymodem;

struct MemSource : XferSource {
    Bytes data;
    std::size_t pos = 0, fail_at = SIZE_MAX;  // a read starting at fail_at fails
    std::string name() const override { return "a.bin"; }
    std::int64_t size() const override { return static_cast<std::int64_t>(data.size()); }
    bool read(std::uint8_t* dst, std::size_t n, std::size_t* got, std::string& why) override
    {
        if (pos >= fail_at) return why = "Read error.", false;
        *got = std::min(n, data.size() - pos);
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(pos), *got, dst);
        pos += *got;
        return true;
    }
};

struct MemSink : XferSink {
    std::string log;  // "begin a.bin 5; end 1; "
    Bytes data;
    bool refuse_begin = false, refuse_write = false;
    bool begin(const std::string& name, std::int64_t size, std::string& why) override
    {
        log += "begin " + name + " " + std::to_string(size) + "; ";
        return !refuse_begin || (why = "File exists", false);
    }
    bool write(const std::uint8_t* p, std::size_t n, std::string& why) override
    {
        data.insert(data.end(), p, p + n);
        return !refuse_write || (why = "Disk full.", false);
    }
    void end(bool complete) override { log += complete ? "end 1; " : "end 0; "; }
};

Bytes take(XferEngine& e)
{
    Bytes b;
    b.swap(e.output());
    return b;
}

Bytes feed(XferEngine& e, const Bytes& in, std::int64_t now = 0)
{
    e.received(in.data(), in.size(), now);
    return take(e);
}

Bytes block(std::uint8_t seq, Bytes data, bool crc = true)
{
    data.resize(short_block, pad);
    Bytes f;
    append_block(f, seq, data.data(), short_block, crc);
    return f;
}

Bytes header(const std::string& name, std::int64_t size)
{
    return block(0, build_ymodem_header(name, size, true));
}

Bytes random_bytes(std::size_t n)
{
    std::mt19937 gen(7);
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(gen());
    return b;
}

const Bytes cancel_bytes = {can, can, can, can, can, can, can, can, bs, bs, bs, bs, bs, bs, bs, bs};

// What the line does to deliveries from..to (counted from 0 each way), forth to
// the receiver, back to the sender or both.
enum : int { drop = -1, as_nak = -2, c_first = -3 };
enum : int { back, forth, both };
struct Spoil {
    int way = forth;
    int from = -1, to = -1;
    int what = drop;  // a byte to flip, or one of the above
};

// A sender and a receiver of 4000 random bytes joined by a line that spoils as told.
struct Line {
    MemSource source;
    MemSink sink;
    std::unique_ptr<XferEngine> tx, rx;
    std::int64_t now = 0;

    Line(XferProtocol p, std::size_t size = 4000)
    {
        source.data = random_bytes(size);
        tx = make_xfer_sender(p, source);
        rx = make_xfer_receiver(p, sink);
    }
    void run(Spoil spoil = {})
    {
        int count[2] = {};
        tx->start(now);
        rx->start(now);
        while ((tx->status().state == XferState::Running || rx->status().state == XferState::Running) && now < 4e5) {
            bool moved = false;
            for (const bool to_rx : {true, false}) {
                Bytes b = take(to_rx ? *tx : *rx);
                if (b.empty()) continue;
                moved = true;
                const int n = count[to_rx]++;
                if ((spoil.way == both || (spoil.way == forth) == to_rx) && n >= spoil.from && n <= spoil.to) {
                    if (spoil.what == drop) b.clear();
                    if (spoil.what == as_nak) b.assign(1, nak);
                    if (spoil.what == c_first) b.insert(b.begin(), 'C');
                    if (spoil.what >= 0) b[static_cast<std::size_t>(spoil.what)] ^= 0x55;
                }
                (to_rx ? *rx : *tx).received(b.data(), b.size(), now);
            }
            if (moved) continue;
            now += 100;
            tx->tick(now);
            rx->tick(now);
        }
    }
};

}  // namespace

TEST(XferBlock, ChecksBlockCountsAndBlockZero)
{
    const Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc16(check.data(), check.size()), 0x31C3);
    EXPECT_EQ(checksum(check.data(), check.size()), 0xDD);
    // As sx (lrzsz) sent "A" after 'C' and after NAK: CRC F2 DD, sum 27.
    const Bytes crc = block(1, {'A'}), sum = block(1, {'A'}, false);
    EXPECT_EQ(Bytes(crc.end() - 3, crc.end()), (Bytes{pad, 0xF2, 0xDD}));
    EXPECT_EQ(sum.back(), 0x27);
    const std::int64_t counts[][3] = {{0, 1, 0},    {1, 1, 1},    {896, 1, 7},  {897, 1, 1},
                                      {1025, 1, 2}, {1921, 1, 2}, {4000, 1, 4}, {4000, 0, 32}};
    for (const auto& c : counts) EXPECT_EQ(blocks_for(c[0], c[1] != 0), c[2]) << c[0];

    const struct {
        const char* data;  // '|' stands for NUL
        const char* name;
        std::int64_t size;
    } headers[] = {{"a.bin|1234|", "a.bin", 1234},
                   {"a.bin|1234 14521734230 100644 0|", "a.bin", 1234},
                   {"a.bin||", "a.bin", -1},
                   {"a.bin|1234567890123456789|", "a.bin", -1},
                   {"|12|", "", -1}};
    for (const auto& c : headers) {
        Bytes d(128, 0);
        for (std::size_t i = 0; c.data[i]; ++i) d[i] = c.data[i] == '|' ? 0 : static_cast<std::uint8_t>(c.data[i]);
        const YmodemHeader h = parse_ymodem_header(d.data(), d.size());
        EXPECT_EQ(h.batch_end, !*c.name);
        EXPECT_EQ(h.name, c.name);
        EXPECT_EQ(h.size, c.size) << c.data;
    }
    EXPECT_EQ(build_ymodem_header(std::string(200, 'n'), 1, true).size(), 1024u);
    EXPECT_TRUE(build_ymodem_header(std::string(200, 'n'), 1, false).empty());
}

TEST(XferEngine, EveryProtocolAndSizeArrivesWhole)
{
    for (const XferProtocol p : {Xm, Crc, K1, Ym}) {
        for (const std::size_t size : {0u, 1u, 127u, 128u, 1023u, 1025u, 4000u, 40000u}) {  // 40000: numbers wrap
            SCOPED_TRACE(std::to_string(static_cast<int>(p)) + " " + std::to_string(size));
            Line line(p, size);
            line.run();
            ASSERT_EQ(line.rx->status().state, XferState::Done) << line.rx->status().message;
            EXPECT_EQ(line.tx->status().message, "Sent a.bin, " + std::to_string(size) + " bytes");
            EXPECT_EQ(line.tx->status().block, line.tx->status().blocks_total);
            // XMODEM keeps the padding, which the short end keeps under one short block.
            Bytes want = line.source.data;
            if (p != Ym) want.resize((size + 127) / 128 * 128, pad);
            const std::string n = std::to_string(want.size());
            EXPECT_EQ(line.sink.data, want);
            EXPECT_EQ(line.sink.log, p == Ym ? "begin a.bin " + n + "; end 1; " : "begin  -1; end 1; ");
            EXPECT_EQ(line.rx->status().message, p == Ym ? "Received 1 file" : "Received " + n + " bytes");
            EXPECT_EQ(line.rx->status().bytes, static_cast<std::int64_t>(want.size()));
            if (p == Ym) {
                EXPECT_EQ(line.rx->status().blocks_total, line.tx->status().blocks_total);
            }
        }
    }
}

TEST(XferEngine, LineFaultsAreRepairedOrEndTheTransferByName)
{
    const char *sent = "Sent a.bin, 4000 bytes", *got = "Received 4096 bytes", *got1 = "Received 1 file";
    const char *open = "begin  -1; end 0; ", *whole = "begin  -1; end 1; ", *yfile = "begin a.bin 4000; end 1; ";
    const struct {
        XferProtocol protocol;
        Spoil spoil;
        char refuse;  // 'b'egin, 'w'rite or 'r'ead at byte 1024
        int tx_retries, rx_retries;
        const char *tx_message, *rx_message, *log;
    } cases[] = {
        // clang-format off
        {Crc, {forth, 1, 1, 40}, 0, 1, 1, sent, got, whole},          // block 2 corrupted
        {Xm, {forth, 1, 1, 131}, 0, 1, 1, sent, got, whole},          // its checksum corrupted
        // Where both sides time out together the receiver's NAK crosses the
        // resend, and the block goes a third time to be taken as a duplicate.
        {K1, {forth, 1, 1}, 0, 2, 1, sent, got, whole},               // block 2 lost
        {Crc, {back, 2, 2}, 0, 2, 1, sent, got, whole},               // its ACK lost
        {Ym, {forth, 0, 0, 0}, 0, 1, 0, sent, got1, yfile},           // block 0 garbled, C again
        {Ym, {back, 1, 1}, 0, 1, 1, sent, got1, yfile},               // ACK of block 0 lost
        {Ym, {back, 7, 7}, 0, 1, 0, sent, got1, yfile},               // ACK of the file's EOT lost: EOT again after 2.5 s
        {Ym, {back, 8, 99}, 0, 0, 0, "Sent a.bin, 4000 bytes (the end was not confirmed)", got1, yfile},  // closing block 0 unanswered
        {Crc, {back, 1, 1, c_first}, 0, 0, 0, sent, got, whole},      // a late 'C' answers nothing
        // The receiver quit before its ACK of EOT reached the line: all was acknowledged.
        {Crc, {back, 33, 99}, 0, 1, 0, "Sent a.bin, 4000 bytes (the end was not confirmed)", got, whole},
        {Crc, {back, 1, 99, as_nak}, 0, 9, 0, "Block 1 refused 10 times",
         "Cancelled by the other side at block 2", open},
        {Crc, {forth, 1, 99, 5}, 0, 9, 9, "Cancelled by the other side at block 2", "Too many errors at block 2", open},
        {K1, {both, 1, 99}, 0, 9, 9, "No answer after 10 tries at block 1", "No answer after 10 tries at block 2", open},
        {Xm, {back, 0, 99}, 0, 0, 0, "No answer at the start after 60 s", "No answer at the start after 60 s", ""},
        {Ym, {}, 'b', 0, 0, "Cancelled by the other side at block 0", "File exists at block 0", "begin a.bin 4000; "},
        {Ym, {}, 'w', 0, 0, "Cancelled by the other side at block 1", "Disk full at block 1", "begin a.bin 4000; end 0; "},
        // The sender reads a long block ahead, so the failed read comes with block 2.
        {Xm, {}, 'r', 0, 0, "Read error at block 2", "Cancelled by the other side at block 2", open},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tx_message) + " / " + c.rx_message + " " + std::to_string(&c - cases));
        Line line(c.protocol);
        line.sink.refuse_begin = c.refuse == 'b';
        line.sink.refuse_write = c.refuse == 'w';
        if (c.refuse == 'r') line.source.fail_at = 1024;
        line.run(c.spoil);
        EXPECT_EQ(line.tx->status().message, c.tx_message);
        EXPECT_EQ(line.rx->status().message, c.rx_message);
        EXPECT_EQ(line.sink.log, c.log);
        EXPECT_EQ(line.tx->status().retries, c.tx_retries);
        EXPECT_EQ(line.rx->status().retries, c.rx_retries);
        const bool done = c.rx_message == got || c.rx_message == got1;
        EXPECT_EQ(line.rx->status().state, done ? XferState::Done : XferState::Failed);
        EXPECT_EQ(line.tx->status().state, done ? XferState::Done : XferState::Failed);
        if (done) {
            EXPECT_TRUE(std::equal(line.source.data.begin(), line.source.data.end(), line.sink.data.begin()));
        }
    }
}

TEST(XferEngine, SenderFollowsTheStartAndAnswers)
{
    MemSource src;
    src.data = random_bytes(2000);
    const struct {
        XferProtocol protocol;
        std::uint8_t start;
        std::size_t frame;  // bytes of the first frame
    } starts[] = {{Xm, 'C', 133}, {Xm, nak, 132}, {K1, 'C', 1029}, {K1, nak, 132}, {Ym, 'C', 133}};
    for (const auto& s : starts) {
        src.pos = 0;
        auto tx = make_xfer_sender(s.protocol, src);
        tx->start(0);
        EXPECT_EQ(feed(*tx, {'x', s.start}).size(), s.frame);
    }
    src.pos = 0;
    auto tx = make_xfer_sender(Crc, src);
    tx->start(0);
    const Bytes first = feed(*tx, {'C'});
    EXPECT_EQ(feed(*tx, {'C'}, 1), Bytes{});  // a late start 'C' is no NAK
    EXPECT_EQ(feed(*tx, {nak}, 2), first);
    EXPECT_EQ(tx->status().retries, 1);
    const Bytes second = feed(*tx, {ack, ack, nak}, 3);  // what followed the ACK predates block 2
    EXPECT_EQ(second[1], 2);
    tx->tick(10003);
    EXPECT_EQ(take(*tx), second);
    EXPECT_EQ(tx->status().bytes, 128);
    tx->cancel(10003);
    EXPECT_EQ(take(*tx), cancel_bytes);
    EXPECT_EQ(tx->status().message, "Cancelled at block 2");
}

TEST(XferEngine, ReceiverRecordedExchanges)
{
    const Bytes C = {'C'}, A = {ack}, N = {nak}, AC = {ack, 'C'}, E = {eot}, X = {can}, _ = {};
    const Bytes b1 = block(1, {1}), b3 = block(3, {1}), hf5 = header("f", 5), end = header("", -1);
    Bytes bad = b1;
    bad[9] ^= 1;
    struct Step {
        std::int64_t at;
        Bytes in;  // none: a tick
        Bytes out;
    };
    const struct {
        XferProtocol protocol;
        std::vector<Step> steps;  // after the start's ask
        const char* log;
        std::size_t kept;
        const char* message;  // empty while running
    } cases[] = {
        // clang-format off
        {Crc, {{0, b1, A}, {1, b1, A}, {2, E, A}}, "begin  -1; end 1; ", 128, "Received 128 bytes"},  // duplicate
        // The size trims the padding; the first EOT is refused; the empty block 0 ends.
        {Ym, {{0, hf5, AC}, {1, block(1, {1, 2, 3, 4, 5, 6}), A}, {2, E, N}, {3, E, AC}, {4, end, A}},
         "begin f 5; end 1; ", 5, "Received 1 file"},
        // No size keeps all; two files.
        {Ym, {{0, header("f", -1), AC}, {1, b1, A}, {2, E, N}, {3, E, AC}, {4, header("g", 1), AC},
              {5, block(1, {2}), A}, {6, E, N}, {7, E, AC}, {8, end, A}},
         "begin f -1; end 1; begin g 1; end 1; ", 129, "Received 2 files"},
        {Ym, {{0, hf5, AC}, {1, hf5, AC}}, "begin f 5; ", 0, ""},  // block 0 again asks for data again
        {Crc, {{0, bad, N}}, "", 0, ""},
        {Crc, {{0, {soh, 1, 0xFE, 7}, _}, {999, _, _}, {1000, _, N}}, "", 0, ""},  // cut short: NAK when quiet
        {Crc, {{0, {soh, 1}, _}, {1500, {0xFE, 1}, _}, {2400, _, _}, {2500, _, N}}, "", 0, ""},  // stalled
        {Crc, {{0, b1, A}, {10, {'x'}, _}, {900, {'y'}, _}, {1800, _, _}, {1900, _, N}}, "begin  -1; ", 128, ""},
        {Crc, {{0, b1, A}, {1, b3, cancel_bytes}}, "begin  -1; end 0; ", 128, "Block out of sequence at block 2 (got 3)"},
        {Crc, {{0, b1, A}, {1, X, _}, {2, X, _}}, "begin  -1; end 0; ", 128, "Cancelled by the other side at block 2"},
        {Crc, {{0, block(1, {can, can, can}), A}}, "begin  -1; ", 128, ""},  // CANs inside a block are data
        {Xm, {{2999, _, _}, {3000, _, N}, {3001, E, A}}, "begin  -1; end 1; ", 0, "Received 0 bytes"},  // empty
        // Three unanswered 'C's, then checksums are asked for; YMODEM asks for CRC only.
        {Crc, {{3000, _, C}, {6000, _, C}, {9000, _, N}, {12000, _, N}, {12001, block(1, {1}, false), A}},
         "begin  -1; ", 128, ""},
        {K1, {{3000, _, C}, {6000, _, C}, {9000, _, N}}, "", 0, ""},
        {Ym, {{3000, _, C}, {6000, _, C}, {9000, _, C}, {12000, _, C}}, "", 0, ""},
        {Ym, {{59999, _, C}, {60000, _, cancel_bytes}}, "", 0, "No answer at the start after 60 s"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        MemSink sink;
        auto rx = make_xfer_receiver(c.protocol, sink);
        rx->start(0);
        EXPECT_EQ(take(*rx), c.protocol == Xm ? N : C);
        for (const Step& s : c.steps) {
            if (s.in.empty())
                rx->tick(s.at);
            else
                rx->received(s.in.data(), s.in.size(), s.at);
            EXPECT_EQ(take(*rx), s.out) << "at " << s.at;
        }
        EXPECT_EQ(sink.log, c.log);
        EXPECT_EQ(sink.data.size(), c.kept);
        EXPECT_EQ(rx->status().message, c.message);
        const std::string m = c.message;
        EXPECT_EQ(rx->status().state, m.empty()                     ? XferState::Running
                                      : m.rfind("Received", 0) == 0 ? XferState::Done
                                                                    : XferState::Failed);
    }
    MemSink sink;
    auto rx = make_xfer_receiver(Ym, sink);
    rx->start(0);
    feed(*rx, header("f", 300));
    EXPECT_EQ(feed(*rx, b1), A);
    EXPECT_EQ(rx->status().blocks_total, 3);
    rx->received(b1.data(), 100, 1);  // half a block is not sent with the CANs
    rx->cancel(2);
    EXPECT_EQ(take(*rx), cancel_bytes);
    EXPECT_EQ(rx->status().message, "Cancelled at block 2");
    EXPECT_EQ(sink.log, "begin f 300; end 0; ");
}

TEST(XferSafeName, KeepsTheLastSafeComponentOrRefuses)
{
    const struct {
        const char *given, *name, *note;
    } cases[] = {
        {"x.bin", "x.bin", ""},
        {"COM10.txt", "COM10.txt", ""},
        {"../x.bin", "x.bin", "The sender's name \"../x.bin\" was reduced to \"x.bin\"."},
        {"C:\\dir\\x.bin", "x.bin", "The sender's name \"C:\\dir\\x.bin\" was reduced to \"x.bin\"."},
        {"c:x.bin", "x.bin", "The sender's name \"c:x.bin\" was reduced to \"x.bin\"."},
        {"/etc/passwd/.", "passwd", "The sender's name \"/etc/passwd/.\" was reduced to \"passwd\"."},
        {"x.bin. . ", "x.bin", "The sender's name \"x.bin. . \" was reduced to \"x.bin\"."},
        {"", "", "The sender's name \"\" was refused: it holds no file name."},
        {"a\tb", "", "The sender's name \"a\\x09b\" was refused: it holds a control character."},
        {"ab:c", "", "The sender's name \"ab:c\" was refused: it holds a character Windows forbids."},
        {"CON", "", "The sender's name \"CON\" was refused: it names a device."},
    };
    for (const auto& c : cases) {
        std::string note = "stale";
        EXPECT_EQ(xfer_safe_name(c.given, &note), c.name) << c.given;
        EXPECT_EQ(note, c.note);
    }
    const char* refused[] = {"..",       ".",    "./",          "a/...",  "C:",       "/",    " ",
                             "a<b",      "a>b",  "a\"b",        "a|b",    "a?b",      "a*b",  "a\x7F",
                             "prn",      "Aux",  "nul.txt",     "COM1",   "com9.log", "LPT1", "lpt9",
                             "CON .txt", "COM0", "LPT\xC2\xB9", "conin$", "dir/NUL"};
    for (const char* given : refused) {
        std::string note;
        EXPECT_EQ(xfer_safe_name(given, &note), "") << given;
        EXPECT_NE(note.find("was refused: it "), std::string::npos) << given;
    }
}
