// The sending side of XMODEM (checksum, CRC, 1K) and YMODEM (a batch of one):
// waits for the receiver's start, sends each block until it is acknowledged,
// ends with EOT and, for YMODEM, the empty block 0.
#include <algorithm>

#include "tx/transfer/xfer_engine.h"
#include "tx/transfer/xmodem_block.h"
#include "tx/transfer/ymodem_header.h"

namespace {

using namespace xmodem;

constexpr std::int64_t start_limit_ms = 60000;
constexpr std::int64_t answer_ms = 10000;
constexpr int max_tries = 10;
// Once every data block is acknowledged the receiver holds the whole file;
// lrzsz on a pty often exits before its last answer reaches the line, so the
// end waits 2.5 s per EOT, twice, then counts the file as sent. Not shorter:
// rb answers an EOT only after a second of quiet, and a repeat inside that
// second confuses it.
constexpr std::int64_t end_answer_ms = 2500;
constexpr int end_silences = 2;
// The empty block 0 only closes the batch, the file is already acknowledged;
// rb mostly exits without answering it, so it is waited for a second at most.
constexpr std::int64_t close_answer_ms = 1000;

class XferSender final : public XferEngine {
 public:
    XferSender(XferProtocol protocol, XferSource& source) : protocol_(protocol), source_(source)
    {
        status_.file = source.name();
        status_.size = source.size();
        long_ = protocol == XferProtocol::Xmodem1k || ymodem();
        if (status_.size >= 0) status_.blocks_total = blocks_for(status_.size, long_);
    }

    void start(std::int64_t now_ms) override
    {
        if (stage_ != Stage::Idle) return;
        stage_ = Stage::AwaitStart;
        started_ms_ = now_ms;
    }

    void received(const std::uint8_t* data, std::size_t n, std::int64_t now_ms) override
    {
        // Once this call has answered, what else it carries was sent before the
        // answer could arrive: a second ACK is stale, never the next block's.
        bool answered = false;
        for (std::size_t i = 0; i < n && running(); ++i) {
            const std::uint8_t b = data[i];
            if (b == can) {
                if (++cans_ >= 2) fail_cancelled_by_peer();
                continue;
            }
            cans_ = 0;
            if (answered) continue;
            const std::size_t before = out_.size();
            take(b, now_ms);
            answered = out_.size() != before;
        }
    }

    void tick(std::int64_t now_ms) override
    {
        if (!running()) return;
        if (stage_ == Stage::AwaitStart) {
            if (now_ms - started_ms_ >= start_limit_ms) fail("No answer at the start after 60 s");
            return;
        }
        const bool at_end = stage_ == Stage::Eot || stage_ == Stage::AwaitClose || stage_ == Stage::Close;
        const std::int64_t wait = stage_ == Stage::Close ? close_answer_ms : at_end ? end_answer_ms : answer_ms;
        if (now_ms - sent_ms_ < wait) return;
        if (at_end && (stage_ != Stage::Eot || ++end_silences_ >= end_silences))
            return succeed(" (the end was not confirmed)");
        fault(false, now_ms);
    }

    void cancel(std::int64_t) override
    {
        if (stage_ == Stage::Over) return;
        // A block not yet taken need not go: right behind it the CANs may be
        // swallowed with it by a receiver that flushes after each block.
        out_.clear();
        fail(at_block("Cancelled", status_.block));
    }

 private:
    enum class Stage {
        Idle,
        AwaitStart,  // for the receiver's 'C' or NAK
        Header,      // YMODEM block 0 sent, for its ACK
        AwaitData,   // YMODEM: block 0 acknowledged, for the 'C' that asks for data
        Block,       // a data block sent, for its ACK
        Eot,         // EOT sent, for its ACK
        AwaitClose,  // YMODEM: the file is done, for the 'C' that asks for the next block 0
        Close,       // the empty block 0 sent, for its ACK
        Over,
    };

    bool ymodem() const { return protocol_ == XferProtocol::Ymodem; }
    bool running() const { return stage_ != Stage::Idle && stage_ != Stage::Over; }

    void take(std::uint8_t b, std::int64_t now_ms)
    {
        switch (stage_) {
            case Stage::AwaitStart:
                if (b != ask_crc && b != nak) return;
                crc_ = b == ask_crc;
                long_ = crc_ && (protocol_ == XferProtocol::Xmodem1k || ymodem());
                if (status_.size >= 0) status_.blocks_total = blocks_for(status_.size, long_);
                if (ymodem())
                    send_header(now_ms);
                else
                    next_block(now_ms);
                return;
            case Stage::AwaitData:
            case Stage::AwaitClose:
                if (b != ask_crc && b != nak) return;
                tries_ = 0;
                if (stage_ == Stage::AwaitData)
                    next_block(now_ms);
                else
                    send_close(now_ms);
                return;
            case Stage::Header:
            case Stage::Block:
            case Stage::Eot:
            case Stage::Close:
                // A late start 'C' is no answer; only ACK and NAK are.
                if (b == nak) fault(true, now_ms);
                if (b == ack) acknowledged(now_ms);
                return;
            default:
                return;
        }
    }

    void acknowledged(std::int64_t now_ms)
    {
        tries_ = 0;
        eot_naks_ = 0;
        switch (stage_) {
            case Stage::Header:
                stage_ = Stage::AwaitData;
                sent_ms_ = now_ms;
                return;
            case Stage::Block:
                status_.bytes += frame_bytes_;
                next_block(now_ms);
                return;
            case Stage::Eot:
                if (!ymodem()) return succeed();
                status_.files_done = 1;
                stage_ = Stage::AwaitClose;
                sent_ms_ = now_ms;
                return;
            case Stage::Close:
                return succeed();
            default:
                return;
        }
    }

    // NAK (refused) or silence (no answer): send again, or give up after ten tries.
    void fault(bool refused, std::int64_t now_ms)
    {
        // YMODEM receivers refuse the first EOT by design; that is no retry.
        const bool expected = refused && stage_ == Stage::Eot && ymodem() && eot_naks_++ == 0;
        if (!expected && ++tries_ >= max_tries) {
            if (refused)
                fail("Block " + std::to_string(status_.block) + " refused " + std::to_string(max_tries) + " times");
            else
                fail(at_block("No answer after " + std::to_string(max_tries) + " tries", status_.block));
            return;
        }
        if (!expected) ++status_.retries;
        sent_ms_ = now_ms;
        // Waiting for a 'C' there is nothing to resend; the receiver asks again.
        if (stage_ != Stage::AwaitData && stage_ != Stage::AwaitClose)
            out_.insert(out_.end(), frame_.begin(), frame_.end());
    }

    void send_header(std::int64_t now_ms)
    {
        if (status_.file.empty()) return fail("The file has no name to send at block 0");
        const auto data = build_ymodem_header(status_.file, status_.size, crc_);
        if (data.empty()) return fail("The file's name is too long to send at block 0");
        frame_.clear();
        append_block(frame_, 0, data.data(), static_cast<int>(data.size()), crc_);
        send(Stage::Header, now_ms);
    }

    void send_close(std::int64_t now_ms)
    {
        const std::vector<std::uint8_t> zeros(short_block, 0);
        frame_.clear();
        append_block(frame_, 0, zeros.data(), short_block, crc_);
        send(Stage::Close, now_ms);
    }

    // The next block from the source, or EOT at its end.
    void next_block(std::int64_t now_ms)
    {
        if (!fill()) return;
        if (ahead_.empty()) {
            frame_.assign(1, eot);
            return send(Stage::Eot, now_ms);
        }
        const int len = long_ && ahead_.size() > 896 ? long_block : short_block;
        const std::size_t take = std::min(ahead_.size(), static_cast<std::size_t>(len));
        std::vector<std::uint8_t> data(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(take));
        ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(take));
        data.resize(static_cast<std::size_t>(len), pad);
        ++status_.block;
        frame_.clear();
        append_block(frame_, static_cast<std::uint8_t>(status_.block & 0xFF), data.data(), len, crc_);
        frame_bytes_ = static_cast<std::int64_t>(take);
        send(Stage::Block, now_ms);
    }

    // Reads ahead to a long block's worth, so the size of the next block is known.
    // YMODEM stops at the size block 0 announced: the receiver keeps no more.
    bool fill()
    {
        while (!source_done_ && ahead_.size() < static_cast<std::size_t>(long_block)) {
            std::size_t want = long_block - ahead_.size();
            if (ymodem() && status_.size >= 0) {
                const std::int64_t left = status_.size - read_;
                if (left <= 0) break;
                if (left < static_cast<std::int64_t>(want)) want = static_cast<std::size_t>(left);
            }
            std::uint8_t buf[long_block];
            std::size_t got = 0;
            std::string why;
            if (!source_.read(buf, want, &got, why)) {
                fail(at_block(why.empty() ? "The file could not be read" : why, status_.block + 1));
                return false;
            }
            got = std::min(got, want);
            if (got == 0) source_done_ = true;
            ahead_.insert(ahead_.end(), buf, buf + got);
            read_ += static_cast<std::int64_t>(got);
        }
        return true;
    }

    void send(Stage stage, std::int64_t now_ms)
    {
        stage_ = stage;
        sent_ms_ = now_ms;
        out_.insert(out_.end(), frame_.begin(), frame_.end());
    }

    void succeed(const char* note = "")
    {
        stage_ = Stage::Over;
        status_.state = XferState::Done;
        status_.files_done = 1;
        status_.message = (status_.file.empty() ? "Sent " : "Sent " + status_.file + ", ") +
                          std::to_string(status_.bytes) + " bytes" + note;
    }

    void fail(const std::string& message)
    {
        append_cancel(out_);
        stop(message);
    }

    void fail_cancelled_by_peer() { stop(at_block("Cancelled by the other side", status_.block)); }

    void stop(const std::string& message)
    {
        stage_ = Stage::Over;
        status_.state = XferState::Failed;
        status_.message = message;
    }

    const XferProtocol protocol_;
    XferSource& source_;
    Stage stage_ = Stage::Idle;
    bool crc_ = true;
    bool long_ = false;
    std::int64_t started_ms_ = 0;
    std::int64_t sent_ms_ = 0;
    int tries_ = 0;                    // faults on the frame in hand
    int eot_naks_ = 0;                 // NAKs of this EOT
    int end_silences_ = 0;             // EOTs that got no answer at all
    int cans_ = 0;                     // CANs in a row
    std::vector<std::uint8_t> frame_;  // the frame in hand, for resending
    std::int64_t frame_bytes_ = 0;     // file bytes in it
    std::vector<std::uint8_t> ahead_;  // read from the source, not yet framed
    std::int64_t read_ = 0;
    bool source_done_ = false;
};

}  // namespace

std::unique_ptr<XferEngine> make_xfer_sender(XferProtocol protocol, XferSource& source)
{
    return std::make_unique<XferSender>(protocol, source);
}
