// The XMODEM/YMODEM engines: a sender against a receiver over an in-memory
// line that can spoil bytes, and recorded exchanges fed to one side by hand.
#include <gtest/gtest.h>

#include <functional>
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

struct MemSource : XferSource {
    std::string file = "a.bin";
    Bytes data;
    std::size_t pos = 0;
    std::size_t fail_at = SIZE_MAX;  // a read starting here fails
    std::string name() const override { return file; }
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
    std::string log;  // "begin a.bin 5; end 1" and so on
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

Bytes block(std::uint8_t seq, Bytes data, bool crc = true, int len = short_block)
{
    data.resize(static_cast<std::size_t>(len), pad);
    Bytes f;
    append_block(f, seq, data.data(), len, crc);
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

// A sender and a receiver joined by a line; `fault` sees every delivery (to the
// receiver or back, counted per direction) and may change or drop it.
struct Line {
    MemSource source;
    MemSink sink;
    std::unique_ptr<XferEngine> tx, rx;
    std::function<void(bool to_rx, int n, Bytes&)> fault;
    std::int64_t now = 0;

    Line(XferProtocol p, Bytes data)
    {
        source.data = std::move(data);
        tx = make_xfer_sender(p, source);
        rx = make_xfer_receiver(p, sink);
    }
    void run()
    {
        int count[2] = {};
        tx->start(now);
        rx->start(now);
        while ((tx->status().state == XferState::Running || rx->status().state == XferState::Running) && now < 400000) {
            bool moved = false;
            for (const bool to_rx : {true, false}) {
                Bytes b = take(to_rx ? *tx : *rx);
                if (b.empty()) continue;
                moved = true;
                if (fault) fault(to_rx, count[to_rx]++, b);
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

TEST(XferBlock, ChecksAndBlockCountsMatchThePublishedValues)
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
}

TEST(XferBlock, YmodemHeaderReadsNameAndSize)
{
    const struct {
        std::string data;
        bool end;
        const char* name;
        std::int64_t size;
    } cases[] = {
        {std::string("a.bin\0"
                     "1234\0",
                     11),
         false, "a.bin", 1234},
        {std::string("a.bin\0"
                     "1234 14521734230 100644 0\0",
                     32),
         false, "a.bin", 1234},
        {std::string("a.bin\0\0", 7), false, "a.bin", -1},
        {std::string("a.bin\0"
                     "1234567890123456789\0",
                     26),
         false, "a.bin", -1},
        {std::string("\0"
                     "12\0",
                     4),
         true, "", -1},
    };
    for (const auto& c : cases) {
        Bytes d(c.data.begin(), c.data.end());
        d.resize(128, 0);
        const YmodemHeader h = parse_ymodem_header(d.data(), d.size());
        EXPECT_EQ(h.batch_end, c.end);
        EXPECT_EQ(h.name, c.name);
        EXPECT_EQ(h.size, c.size) << c.name;
    }
    EXPECT_EQ(build_ymodem_header(std::string(200, 'n'), 1, true).size(), 1024u);
    EXPECT_TRUE(build_ymodem_header(std::string(200, 'n'), 1, false).empty());
}

TEST(XferEngine, EveryProtocolAndSizeArrivesWhole)
{
    const XferProtocol protocols[] = {XferProtocol::Xmodem, XferProtocol::XmodemCrc, XferProtocol::Xmodem1k,
                                      XferProtocol::Ymodem};
    for (const XferProtocol p : protocols) {
        for (const std::size_t size : {0u, 1u, 127u, 128u, 1023u, 1025u, 4000u}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(p)) + " " + std::to_string(size));
            Line line(p, random_bytes(size));
            line.run();
            const Bytes& got = line.sink.data;
            ASSERT_EQ(line.tx->status().state, XferState::Done) << line.tx->status().message;
            ASSERT_EQ(line.rx->status().state, XferState::Done) << line.rx->status().message;
            EXPECT_EQ(line.tx->status().message, "Sent a.bin, " + std::to_string(size) + " bytes");
            EXPECT_EQ(line.tx->status().block, line.tx->status().blocks_total);
            if (p == XferProtocol::Ymodem) {
                EXPECT_EQ(got, line.source.data);
                EXPECT_EQ(line.sink.log, "begin a.bin " + std::to_string(size) + "; end 1; ");
                EXPECT_EQ(line.rx->status().message, "Received 1 file");
                EXPECT_EQ(line.rx->status().blocks_total, line.tx->status().blocks_total);
                EXPECT_EQ(line.rx->status().bytes, static_cast<std::int64_t>(size));
                continue;
            }
            // The short end keeps padding under one short block.
            ASSERT_GE(got.size(), size);
            EXPECT_LT(got.size() - size, 128u);
            EXPECT_EQ(got.size() % 128, 0u);
            EXPECT_TRUE(std::equal(line.source.data.begin(), line.source.data.end(), got.begin()));
            EXPECT_TRUE(std::all_of(got.begin() + static_cast<std::ptrdiff_t>(size), got.end(),
                                    [](std::uint8_t b) { return b == pad; }));
            EXPECT_EQ(line.rx->status().message, "Received " + std::to_string(got.size()) + " bytes");
            EXPECT_EQ(line.sink.log, "begin  -1; end 1; ");
        }
    }
}

TEST(XferEngine, LineFaultsAreRepairedAndCounted)
{
    const struct {
        const char* what;
        XferProtocol protocol;
        bool to_rx;
        int delivery;
        int spoil;  // a byte to flip, or -1 to drop the delivery
        int tx_retries, rx_retries;
    } cases[] = {
        {"block 2 corrupted", XferProtocol::XmodemCrc, true, 1, 40, 1, 1},
        {"block 2 checksum corrupted", XferProtocol::Xmodem, true, 1, 131, 1, 1},
        // Where both sides time out together, the receiver's NAK crosses the
        // resend and the block goes a third time (taken as a duplicate).
        {"block 2 lost", XferProtocol::Xmodem1k, true, 1, -1, 2, 1},
        {"ACK of block 2 lost: duplicate dropped", XferProtocol::XmodemCrc, false, 2, -1, 2, 1},
        {"header garbled: discarded till quiet", XferProtocol::Ymodem, true, 0, 0, 1, 0},
        {"ACK of block 0 lost", XferProtocol::Ymodem, false, 1, -1, 1, 1},
        {"ACK of the file's EOT lost", XferProtocol::Ymodem, false, 7, -1, 1, 1},
        {"late second 'C' answered nothing", XferProtocol::XmodemCrc, false, 1, 'C' ^ ack, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Line line(c.protocol, random_bytes(4000));
        line.fault = [&](bool to_rx, int n, Bytes& b) {
            if (to_rx != c.to_rx || n != c.delivery) return;
            if (c.spoil < 0)
                b.clear();
            else if (c.spoil == ('C' ^ ack))
                b.insert(b.begin(), 'C');
            else
                b[static_cast<std::size_t>(c.spoil)] ^= 0x55;
        };
        line.run();
        EXPECT_EQ(line.rx->status().state, XferState::Done) << line.rx->status().message;
        EXPECT_EQ(line.tx->status().state, XferState::Done) << line.tx->status().message;
        EXPECT_TRUE(std::equal(line.source.data.begin(), line.source.data.end(), line.sink.data.begin()));
        EXPECT_EQ(line.tx->status().retries, c.tx_retries);
        EXPECT_EQ(line.rx->status().retries, c.rx_retries);
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
    } starts[] = {{XferProtocol::Xmodem, 'C', 133},
                  {XferProtocol::Xmodem, nak, 132},
                  {XferProtocol::Xmodem1k, 'C', 1029},
                  {XferProtocol::Xmodem1k, nak, 132},
                  {XferProtocol::Ymodem, 'C', 133}};
    for (const auto& s : starts) {
        src.pos = 0;
        auto tx = make_xfer_sender(s.protocol, src);
        tx->start(0);
        EXPECT_EQ(feed(*tx, {'x', s.start}).size(), s.frame);
    }
    src.pos = 0;
    auto tx = make_xfer_sender(XferProtocol::XmodemCrc, src);
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

TEST(XferEngine, ReceiverAsksCrcThenFallsBackToChecksum)
{
    const struct {
        XferProtocol protocol;
        const char* asks;  // at 0, 3, 6, 9 and 12 s
    } cases[] = {{XferProtocol::XmodemCrc, "CCCNN"},
                 {XferProtocol::Xmodem1k, "CCCNN"},
                 {XferProtocol::Xmodem, "NNNNN"},
                 {XferProtocol::Ymodem, "CCCCC"}};
    for (const auto& c : cases) {
        MemSink sink;
        auto rx = make_xfer_receiver(c.protocol, sink);
        rx->start(0);
        std::string asks;
        for (int t = 0; t <= 120; ++t) {
            if (t > 0) rx->tick(t * 100);
            for (const std::uint8_t b : take(*rx)) asks += b == 'C' ? 'C' : b == nak ? 'N' : '?';
        }
        EXPECT_EQ(asks, c.asks);
        if (c.protocol == XferProtocol::Ymodem) continue;
        EXPECT_EQ(feed(*rx, block(1, {'A'}, false), 12001), Bytes{ack});
        EXPECT_EQ(sink.data.size(), 128u);
    }
}

TEST(XferEngine, ReceiverRecordedExchanges)
{
    const Bytes C = {'C'}, A = {ack}, N = {nak}, AC = {ack, 'C'}, none = {};
    const struct {
        const char* what;
        XferProtocol protocol;
        std::vector<std::pair<std::int64_t, Bytes>> in;  // at ms; empty bytes: a tick
        std::vector<Bytes> out;
        const char* log;
        std::size_t kept;
        const char* message;  // empty while running
    } cases[] = {
        {"duplicate acknowledged and dropped",
         XferProtocol::XmodemCrc,
         {{0, block(1, {1})}, {1, block(1, {1})}, {2, {eot}}},
         {C, A, A, A},
         "begin  -1; end 1; ",
         128,
         "Received 128 bytes"},
        {"size trims the padding; NAK then ACK of EOT; empty block 0 ends",
         XferProtocol::Ymodem,
         {{0, header("f", 5)}, {1, block(1, {1, 2, 3, 4, 5, 6})}, {2, {eot}}, {3, {eot}}, {4, header("", -1)}},
         {C, AC, A, N, AC, A},
         "begin f 5; end 1; ",
         5,
         "Received 1 file"},
        {"no size keeps all; two files",
         XferProtocol::Ymodem,
         {{0, header("f", -1)},
          {1, block(1, {1})},
          {2, {eot}},
          {3, {eot}},
          {4, header("g", 1)},
          {5, block(1, {2})},
          {6, {eot}},
          {7, {eot}},
          {8, header("", -1)}},
         {C, AC, A, N, AC, AC, A, N, AC, A},
         "begin f -1; end 1; begin g 1; end 1; ",
         129,
         "Received 2 files"},
        {"repeated block 0 asks for data again",
         XferProtocol::Ymodem,
         {{0, header("f", 1)}, {1, header("f", 1)}},
         {C, AC, AC},
         "begin f 1; ",
         0,
         ""},
        {"bad check NAKed",
         XferProtocol::XmodemCrc,
         {{0,
           [] {
               Bytes b = block(1, {1});
               b[9] ^= 1;
               return b;
           }()}},
         {C, N},
         "",
         0,
         ""},
        {"header cut short: NAK after a quiet second",
         XferProtocol::XmodemCrc,
         {{0, {soh, 1, 0xFE, 7}}, {999, {}}, {1000, {}}},
         {C, none, none, N},
         "",
         0,
         ""},
        {"a stalled block is dropped when it resumes",
         XferProtocol::XmodemCrc,
         {{0, {soh, 1}}, {1500, {0xFE, 1, 2}}, {2400, {}}, {2500, {}}},
         {C, none, none, none, N},
         "",
         0,
         ""},
        {"garbage between blocks: NAK once the line is quiet",
         XferProtocol::XmodemCrc,
         {{0, block(1, {1})}, {10, {'x'}}, {900, {'y'}}, {1800, {}}, {1900, {}}},
         {C, A, none, none, none, N},
         "begin  -1; ",
         128,
         ""},
        {"out of sequence",
         XferProtocol::XmodemCrc,
         {{0, block(1, {1})}, {1, block(3, {1})}},
         {C, A, cancel_bytes},
         "begin  -1; end 0; ",
         128,
         "Block out of sequence at block 2 (got 3)"},
        {"CAN CAN between blocks",
         XferProtocol::XmodemCrc,
         {{0, block(1, {1})}, {1, {can}}, {2, {can}}},
         {C, A, none, none},
         "begin  -1; end 0; ",
         128,
         "Cancelled by the other side at block 2"},
        {"CANs inside a block are data",
         XferProtocol::XmodemCrc,
         {{0, block(1, {can, can, can})}},
         {C, A},
         "begin  -1; ",
         128,
         ""},
        {"empty XMODEM file", XferProtocol::Xmodem, {{0, {eot}}}, {N, A}, "begin  -1; end 1; ", 0, "Received 0 bytes"},
        {"start time-out",
         XferProtocol::Ymodem,
         {{59999, {}}, {60000, {}}},
         {C, C, cancel_bytes},
         "",
         0,
         "No answer at the start after 60 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemSink sink;
        auto rx = make_xfer_receiver(c.protocol, sink);
        rx->start(0);
        std::vector<Bytes> out = {take(*rx)};
        for (const auto& [at, bytes] : c.in) {
            if (bytes.empty())
                rx->tick(at);
            else
                rx->received(bytes.data(), bytes.size(), at);
            out.push_back(take(*rx));
        }
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(sink.log, c.log);
        EXPECT_EQ(sink.data.size(), c.kept);
        EXPECT_EQ(rx->status().message, c.message);
        const std::string m = c.message;
        EXPECT_EQ(rx->status().state, m.empty()                     ? XferState::Running
                                      : m.rfind("Received", 0) == 0 ? XferState::Done
                                                                    : XferState::Failed);
    }
    MemSink sink;
    auto rx = make_xfer_receiver(XferProtocol::Ymodem, sink);
    rx->start(0);
    feed(*rx, header("f", 300));
    EXPECT_EQ(feed(*rx, block(1, {1})), Bytes{ack});
    EXPECT_EQ(rx->status().blocks_total, 3);
    rx->received(block(2, {2}).data(), 100, 1);  // half a block is not sent with the CANs
    rx->cancel(2);
    EXPECT_EQ(take(*rx), cancel_bytes);
    EXPECT_EQ(rx->status().message, "Cancelled at block 2");
    EXPECT_EQ(sink.log, "begin f 300; end 0; ");
}

TEST(XferEngine, FailuresNameTheBlockAndReason)
{
    // Each case: the line, a fault on it, and how each side ends.
    const struct {
        XferProtocol protocol;
        std::function<void(Line&)> setup;
        const char* tx_message;
        const char* rx_message;
        const char* log;
    } cases[] = {
        {XferProtocol::XmodemCrc,
         [](Line& l) {
             l.fault = [](bool to_rx, int n, Bytes& b) {
                 if (!to_rx && n > 0) b.assign(1, nak);
             };
         },
         "Block 1 refused 10 times", "Cancelled by the other side at block 2", "begin  -1; end 0; "},
        {XferProtocol::XmodemCrc,
         [](Line& l) {
             l.fault = [](bool to_rx, int n, Bytes& b) {
                 if (to_rx && n > 0) b[5] ^= 1;
             };
         },
         "Cancelled by the other side at block 2", "Too many errors at block 2", "begin  -1; end 0; "},
        {XferProtocol::Xmodem1k,
         [](Line& l) {
             l.fault = [](bool, int n, Bytes& b) {
                 if (n > 0) b.clear();
             };
         },
         "No answer after 10 tries at block 1", "No answer after 10 tries at block 2", "begin  -1; end 0; "},
        {XferProtocol::Ymodem, [](Line& l) { l.sink.refuse_begin = true; }, "Cancelled by the other side at block 0",
         "File exists at block 0", "begin a.bin 4000; "},
        {XferProtocol::Ymodem, [](Line& l) { l.sink.refuse_write = true; }, "Cancelled by the other side at block 1",
         "Disk full at block 1", "begin a.bin 4000; end 0; "},
        {XferProtocol::Xmodem, [](Line& l) { l.source.fail_at = 1024; }, "Read error at block 2",
         "Cancelled by the other side at block 2", "begin  -1; end 0; "},
        {XferProtocol::Xmodem,
         [](Line& l) {
             l.fault = [](bool to_rx, int, Bytes& b) {
                 if (!to_rx) b.clear();
             };
         },
         "No answer at the start after 60 s", "No answer at the start after 60 s", ""},
    };
    for (const auto& c : cases) {
        Line line(c.protocol, random_bytes(4000));
        c.setup(line);
        line.run();
        SCOPED_TRACE(c.tx_message);
        EXPECT_EQ(line.tx->status().state, XferState::Failed);
        EXPECT_EQ(line.rx->status().state, XferState::Failed);
        EXPECT_EQ(line.tx->status().message, c.tx_message);
        EXPECT_EQ(line.rx->status().message, c.rx_message);
        EXPECT_EQ(line.sink.log, c.log);
    }
}

TEST(XferSafeName, KeepsTheLastSafeComponentOrRefuses)
{
    const struct {
        const char* given;
        const char* name;
        const char* note;
    } cases[] = {
        {"x.bin", "x.bin", ""},
        {"../x.bin", "x.bin", "The sender's name \"../x.bin\" was reduced to \"x.bin\"."},
        {"C:\\dir\\x.bin", "x.bin", "The sender's name \"C:\\dir\\x.bin\" was reduced to \"x.bin\"."},
        {"c:x.bin", "x.bin", "The sender's name \"c:x.bin\" was reduced to \"x.bin\"."},
        {"/etc/passwd/.", "passwd", "The sender's name \"/etc/passwd/.\" was reduced to \"passwd\"."},
        {"x.bin. . ", "x.bin", "The sender's name \"x.bin. . \" was reduced to \"x.bin\"."},
        {"COM10.txt", "COM10.txt", ""},
        {"", "", "The sender's name \"\" was refused: it holds no file name."},
        {"..", "", "The sender's name \"..\" was refused: it holds no file name."},
        {"./", "", "The sender's name \"./\" was refused: it holds no file name."},
        {"a/...", "", "The sender's name \"a/...\" was refused: it holds no file name."},
        {"C:", "", "The sender's name \"C:\" was refused: it holds no file name."},
        {"a\tb", "", "The sender's name \"a\\x09b\" was refused: it holds a control character."},
        {"ab:c", "", "The sender's name \"ab:c\" was refused: it holds a character Windows forbids."},
    };
    for (const auto& c : cases) {
        std::string note = "stale";
        EXPECT_EQ(xfer_safe_name(c.given, &note), c.name) << c.given;
        EXPECT_EQ(note, c.note);
    }
    for (const char* bad : {"a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a\x7F"})
        EXPECT_EQ(xfer_safe_name(bad, nullptr), "") << bad;
    for (const char* device : {"CON", "prn", "Aux", "nul.txt", "COM1", "com9.log", "LPT1", "lpt9", "CON .txt", "COM0",
                               "LPT\xC2\xB9", "conin$", "dir/NUL"}) {
        std::string note;
        EXPECT_EQ(xfer_safe_name(device, &note), "") << device;
        EXPECT_NE(note.find("was refused: it names a device."), std::string::npos) << note;
    }
}
