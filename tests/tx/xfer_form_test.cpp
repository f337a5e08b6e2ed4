// The File transfer window over the simulated line, with our own engines on
// the far end: whole transfers both ways, the received stream kept from the
// views, cancel, refused names, and the saved section.
#include <gmock/gmock.h>

#include <map>

#include "tests/tx/tx_fixture.h"
#include "tx/transfer/xfer_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t real_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

struct FarSource : XferSource {
    std::string file_name;
    Bytes bytes;
    std::size_t at = 0;
    std::string name() const override { return file_name; }
    std::int64_t size() const override { return std::int64_t(bytes.size()); }
    bool read(std::uint8_t* dst, std::size_t n, std::size_t* got, std::string&) override
    {
        *got = std::min(n, bytes.size() - at);
        std::copy_n(bytes.begin() + std::ptrdiff_t(at), *got, dst);
        at += *got;
        return true;
    }
};

struct FarSink : XferSink {
    std::map<std::string, Bytes> files;
    std::string current;
    bool begin(const std::string& name, std::int64_t, std::string&) override
    {
        current = name;
        files[name].clear();
        return true;
    }
    bool write(const std::uint8_t* data, std::size_t n, std::string&) override
    {
        files[current].insert(files[current].end(), data, data + n);
        return true;
    }
    void end(bool) override {}
};

}  // namespace

class XferFormTest : public TxTest {
 protected:
    // Runs the far end's engine against the window until both have ended (or
    // `seconds` pass), letting the window's timer run; `each` sees every step.
    void converse(XferEngine& far, const std::function<void(int)>& each = {}, double seconds = 20)
    {
        far.start(real_ms());
        const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        for (int step = 0; Clock::now() < deadline; ++step) {
            const Bytes got = sim.peer_read(1);
            if (!got.empty())
                far.received(got.data(), got.size(), real_ms());
            else
                far.tick(real_ms());
            auto& out = far.output();
            if (!out.empty()) sim.peer_write(1, out.data(), out.size());
            out.clear();
            user.wait(50);
            if (each) each(step);
            if (far.status().state != XferState::Running && !XferForm->running()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        FAIL() << "the transfer never ended";
    }
    void open_window(XferProtocol p)
    {
        user.press("Ctrl+Shift+T");
        ASSERT_TRUE(XferForm->visible());
        XferForm->CBproto.select(static_cast<int>(p));
    }
    static Bytes read_file(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(XferFormTest, OnlyWhileConnected)
{
    user.press("Ctrl+Shift+T");
    EXPECT_FALSE(XferForm->visible());
    EXPECT_FALSE(m->menu.MMxfer.enabled());
    connect();
    EXPECT_TRUE(m->menu.MMxfer.enabled());
    user.choose(*m, {"Tx", "File transfer..."});
    EXPECT_TRUE(XferForm->visible());
    EXPECT_TRUE(XferForm->BtnSend.enabled());
    user.click(m->tools.BtnCon);  // disconnect: nothing can start
    user.wait(50);
    EXPECT_FALSE(XferForm->BtnSend.enabled());
    EXPECT_FALSE(XferForm->BtnReceive.enabled());
}

TEST_F(XferFormTest, SendsEveryProtocolExactlyAndKeepsTheStreamFromTheViews)
{
    connect_at(0);
    const Bytes content = random_bytes(3000);
    const std::string path = file_with(content, "fw.bin");
    for (XferProtocol p :
         {XferProtocol::Xmodem, XferProtocol::XmodemCrc, XferProtocol::Xmodem1k, XferProtocol::Ymodem}) {
        SCOPED_TRACE(static_cast<int>(p));
        open_window(p);
        user.pick_file(path);
        user.click(XferForm->BtnSend);
        ASSERT_TRUE(XferForm->running());
        EXPECT_FALSE(XferForm->BtnReceive.enabled());
        FarSink sink;
        const auto far = make_xfer_receiver(p, sink);
        bool said_transfer = false;
        converse(*far, [&](int) { said_transfer |= m->SB.panel(0).text == "file transfer"; });
        EXPECT_EQ(XferForm->protocol(), p);
        ASSERT_EQ(far->status().state, XferState::Done) << far->status().message;
        ASSERT_EQ(sink.files.size(), 1u);
        Bytes got = sink.files.begin()->second;
        if (p == XferProtocol::Ymodem) {
            EXPECT_EQ(sink.files.begin()->first, "fw.bin");
            EXPECT_EQ(got, content);
        } else {
            ASSERT_GE(got.size(), content.size());
            EXPECT_TRUE(std::equal(content.begin(), content.end(), got.begin()));
            EXPECT_TRUE(std::all_of(got.begin() + 3000, got.end(), [](unsigned char c) { return c == 0x1A; }));
        }
        EXPECT_TRUE(said_transfer);
        tick();
        EXPECT_EQ(m->SB.panel(0).text, "connected");
        EXPECT_EQ(store_length(), 0) << "the protocol's bytes reached the store";
        EXPECT_TRUE(boxes().empty());
        user.close(*XferForm);
    }
    // After the transfer the views have the stream again.
    sim.peer_write(1, "after", 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    tick();
    EXPECT_EQ(store_length(), 5);
}

TEST_F(XferFormTest, ReceivesAYmodemFileUnderItsSafeNameAndAsksBeforeOverwriting)
{
    connect_at(0);
    FarSource src;
    src.file_name = "../up/log.txt";
    src.bytes = random_bytes(2000, 3);
    std::ofstream(dir_ / "log.txt") << "old";
    open_window(XferProtocol::Ymodem);
    user.pick_file((dir_ / "anything").string());
    user.answer_message_box(ui::mr::Yes);  // overwrite log.txt
    user.answer_message_box(ui::mr::Ok);   // the end, with the reduced name
    user.click(XferForm->BtnReceive);
    auto far = make_xfer_sender(XferProtocol::Ymodem, src);
    converse(*far);
    EXPECT_EQ(far->status().state, XferState::Done) << far->status().message;
    EXPECT_EQ(read_file(dir_ / "log.txt"), src.bytes);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "log.txt.part"));
    ASSERT_FALSE(boxes().empty());
    EXPECT_THAT(boxes()[0].text, ::testing::HasSubstr("log.txt exists"));
    EXPECT_THAT(boxes().back().text, ::testing::HasSubstr("reduced to \"log.txt\""));
    EXPECT_THAT(XferForm->last_result(), ::testing::HasSubstr("reduced to \"log.txt\""));
    EXPECT_EQ(XferForm->receive_folder, dir_.string() + "/");
}

TEST_F(XferFormTest, CancelSendsCansAndKeepsThePartOfAFailedReceive)
{
    connect_at(0);
    FarSource src;
    src.file_name = "big.bin";
    src.bytes = random_bytes(200000, 5);
    open_window(XferProtocol::Xmodem1k);
    const std::string target = (dir_ / "got.bin").string();
    user.pick_file(target);
    user.click(XferForm->BtnReceive);
    auto far = make_xfer_sender(XferProtocol::Xmodem1k, src);
    converse(*far, [&](int) {
        if (XferForm->running() && far->status().block == 20) user.click(XferForm->BtnCancel);
    });
    EXPECT_EQ(far->status().state, XferState::Failed);
    EXPECT_THAT(far->status().message, ::testing::HasSubstr("Cancelled by the other side"));
    EXPECT_THAT(XferForm->last_result(), ::testing::HasSubstr("Cancelled at block"));
    EXPECT_THAT(XferForm->last_result(), ::testing::HasSubstr("got.bin.part"));
    EXPECT_TRUE(std::filesystem::exists(target + ".part"));
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(boxes().empty()) << "the user's own cancel needs no box";
}

TEST_F(XferFormTest, ProtocolAndFoldersAreSavedAfterEveryOtherSection)
{
    XferForm->set_protocol(XferProtocol::Ymodem);
    XferForm->receive_folder = "C:\\in\\";
    XferForm->ODsend.initial_dir = "C:\\fw\\";
    restart();
    EXPECT_THAT(headers(), ::testing::ElementsAre("[PORT]", "[PATH]", "[TXCFG]", "[TXTVIEW]", "[FIND]", "[PLOT]",
                                                  "[TXSTR]", "[QUICKSEND]", "[TRAFFIC]", "[FILETRANSFER]", "[WINDOW]"));
    EXPECT_THAT(section("FILETRANSFER"),
                ::testing::ElementsAre("protocol=3", "path_send=C:\\fw\\", "path_receive=", "path_batch=C:\\in\\"));
    EXPECT_EQ(XferForm->protocol(), XferProtocol::Ymodem);
    EXPECT_EQ(XferForm->receive_folder, "C:\\in\\");
}

TEST_F(XferFormTest, ALostPortEndsTheTransferWithOneMessage)
{
    connect_at(0);
    open_window(XferProtocol::Xmodem1k);
    user.pick_file(file_with(random_bytes(100000)));
    user.click(XferForm->BtnSend);
    ASSERT_TRUE(XferForm->running());
    user.answer_message_box(ui::mr::Ok);
    user.click(m->tools.BtnCon);  // disconnect under the transfer
    user.wait(50);
    EXPECT_FALSE(XferForm->running());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_THAT(boxes()[0].text, ::testing::HasSubstr("Port connection lost during file transfer at block"));
}
