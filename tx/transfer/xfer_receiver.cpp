// The receiving side of XMODEM (checksum, CRC, 1K) and YMODEM batches: asks
// for blocks, checks each, hands the data to the sink and answers ACK or NAK.
#include <algorithm>

#include "tx/transfer/xfer_engine.h"
#include "tx/transfer/xmodem_block.h"
#include "tx/transfer/ymodem_header.h"

namespace {

using namespace xmodem;

constexpr std::int64_t start_limit_ms = 60000;
constexpr std::int64_t start_repeat_ms = 3000;
constexpr std::int64_t block_wait_ms = 10000;
constexpr std::int64_t char_gap_ms = 1000;  // inside a block; also the quiet that ends a discard
constexpr int crc_asks = 3;                 // unanswered 'C's before asking for checksums
constexpr int max_tries = 10;

class XferReceiver final : public XferEngine {
 public:
    XferReceiver(XferProtocol protocol, XferSink& sink) : protocol_(protocol), sink_(sink)
    {
        frame_.reserve(3 + long_block + 2);
    }

    void start(std::int64_t now_ms) override
    {
        if (stage_ != Stage::Idle) return;
        crc_ = protocol_ != XferProtocol::Xmodem;
        expected_ = ymodem() ? 0 : 1;
        started_ms_ = now_ms;
        ask_start(now_ms);
    }

    void received(const std::uint8_t* data, std::size_t n, std::int64_t now_ms) override
    {
        for (std::size_t i = 0; i < n && running(); ++i) {
            const std::uint8_t b = data[i];
            if (stage_ == Stage::Frame && now_ms - last_rx_ms_ >= char_gap_ms) {
                // The block stalled and this byte is no part of it: wait for quiet.
                if (!error(false)) return;
                stage_ = Stage::Discard;
                after_discard_ = Stage::Wait;
            }
            last_rx_ms_ = now_ms;
            switch (stage_) {
                case Stage::Frame:
                    frame_.push_back(b);
                    if (static_cast<int>(frame_.size()) == frame_length(frame_[0], crc_)) frame_done(now_ms);
                    break;
                case Stage::Ask:
                case Stage::Wait:
                    between_blocks(b, now_ms);
                    break;
                default:
                    break;
            }
        }
    }

    void tick(std::int64_t now_ms) override
    {
        if (!running()) return;
        const bool at_start = stage_ == Stage::Ask || (stage_ == Stage::Discard && after_discard_ == Stage::Ask);
        if (at_start && now_ms - started_ms_ >= start_limit_ms) return fail("No answer at the start after 60 s");
        switch (stage_) {
            case Stage::Ask:
                if (now_ms - asked_ms_ >= start_repeat_ms) ask_start(now_ms);
                return;
            case Stage::Frame:
                // Silent for a second already: the NAK may go at once.
                if (now_ms - last_rx_ms_ >= char_gap_ms && error(false)) answer(nak, now_ms);
                return;
            case Stage::Discard:
                if (now_ms - last_rx_ms_ < char_gap_ms) return;
                if (after_discard_ == Stage::Ask) return ask_start(now_ms);
                return answer(nak, now_ms);
            case Stage::Wait:
                if (now_ms - waited_ms_ >= block_wait_ms && error(true)) answer(ask_, now_ms);
                return;
            default:
                return;
        }
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
        Ask,      // the start byte goes out every 3 s until a block begins
        Wait,     // between blocks
        Frame,    // a block is arriving
        Discard,  // after garble, until the line is quiet
        Over,
    };

    bool ymodem() const { return protocol_ == XferProtocol::Ymodem; }
    bool running() const { return stage_ != Stage::Idle && stage_ != Stage::Over; }

    void ask_start(std::int64_t now_ms)
    {
        const bool may_fall_back = protocol_ == XferProtocol::XmodemCrc || protocol_ == XferProtocol::Xmodem1k;
        if (crc_ && may_fall_back && crc_asked_ >= crc_asks) crc_ = false;
        if (crc_) ++crc_asked_;
        out_.push_back(crc_ ? ask_crc : nak);
        stage_ = Stage::Ask;
        asked_ms_ = now_ms;
    }

    // ACK, NAK or 'C', then the next block is awaited.
    void answer(std::uint8_t b, std::int64_t now_ms)
    {
        out_.push_back(b);
        stage_ = Stage::Wait;
        waited_ms_ = now_ms;
    }

    void between_blocks(std::uint8_t b, std::int64_t now_ms)
    {
        if (b == can) {
            if (++cans_ >= 2) stop(XferState::Failed, at_block("Cancelled by the other side", status_.block));
            return;
        }
        cans_ = 0;
        if (b == soh || b == stx) {
            frame_.assign(1, b);
            stage_ = Stage::Frame;
            status_.block = expected_;
            return;
        }
        if (b == eot && (stage_ == Stage::Wait || !ymodem())) return end_of_file(now_ms);
        // A header lost in noise leaves the rest of its block to come: let it pass.
        if (stage_ == Stage::Wait && !error(false)) return;
        after_discard_ = stage_;
        stage_ = Stage::Discard;
    }

    void end_of_file(std::int64_t now_ms)
    {
        if (!ymodem()) {
            if (!open_file("", -1)) return;
            out_.push_back(ack);
            close_file();
            status_.block = expected_ - 1;
            return stop(XferState::Done, "Received " + std::to_string(status_.bytes) + " bytes");
        }
        if (!file_open_) {
            // Our ACK of the last EOT was lost and the sender asks again.
            if (status_.files_done > 0) {
                out_.push_back(ack);
                return answer(ask_crc, now_ms);
            }
            if (error(false)) answer(nak, now_ms);
            return;
        }
        // The first EOT is refused: a lone noise byte would otherwise end the file.
        if (!eot_once_) {
            eot_once_ = true;
            return answer(nak, now_ms);
        }
        out_.push_back(ack);
        close_file();
        status_.block = expected_ - 1;
        expected_ = 0;
        ask_ = ask_crc;
        answer(ask_crc, now_ms);
    }

    void frame_done(std::int64_t now_ms)
    {
        const int len = static_cast<int>(frame_.size());
        if (!frame_sound(frame_.data(), len, crc_)) {
            if (error(false)) answer(nak, now_ms);
            return;
        }
        const std::uint8_t seq = frame_[1];
        if (seq == (expected_ & 0xFF)) return accept(frame_.data() + 3, len - 3 - (crc_ ? 2 : 1), now_ms);
        if (expected_ > 0 && seq == ((expected_ - 1) & 0xFF)) {
            // Our ACK was lost: acknowledge again, keep nothing. A repeated block 0
            // wants the 'C' that followed its ACK too.
            if (ymodem() && expected_ == 1) {
                out_.push_back(ack);
                return answer(ask_crc, now_ms);
            }
            return answer(ack, now_ms);
        }
        fail(at_block("Block out of sequence", expected_) + " (got " + std::to_string(seq) + ")");
    }

    void accept(const std::uint8_t* data, int len, std::int64_t now_ms)
    {
        errors_ = 0;
        eot_once_ = false;
        if (ymodem() && expected_ == 0) return header(data, len, now_ms);
        if (!open_file("", -1)) return;
        std::size_t keep = static_cast<std::size_t>(len);
        if (status_.size >= 0)
            keep = static_cast<std::size_t>(std::clamp<std::int64_t>(status_.size - status_.bytes, 0, len));
        std::string why;
        if (keep > 0 && !sink_.write(data, keep, why)) return fail(at_block(why, expected_));
        status_.bytes += static_cast<std::int64_t>(keep);
        if (status_.size >= 0)
            status_.blocks_total = expected_ + blocks_for(status_.size - status_.bytes, len == long_block);
        status_.block = ++expected_;
        ask_ = nak;
        answer(ack, now_ms);
    }

    void header(const std::uint8_t* data, int len, std::int64_t now_ms)
    {
        const YmodemHeader h = parse_ymodem_header(data, static_cast<std::size_t>(len));
        if (h.batch_end) {
            out_.push_back(ack);
            const int n = status_.files_done;
            return stop(XferState::Done, "Received " + std::to_string(n) + (n == 1 ? " file" : " files"));
        }
        status_.file = h.name;
        status_.bytes = 0;
        status_.blocks_total = h.size >= 0 ? blocks_for(h.size, true) : 0;
        if (!open_file(h.name, h.size)) return;
        out_.push_back(ack);
        status_.block = expected_ = 1;
        ask_ = ask_crc;
        answer(ask_crc, now_ms);
    }

    bool open_file(const std::string& name, std::int64_t size)
    {
        if (file_open_) return true;
        status_.size = size;
        std::string why;
        if (!sink_.begin(name, size, why)) {
            fail(at_block(why.empty() ? "The file was refused" : why, status_.block));
            return false;
        }
        file_open_ = true;
        return true;
    }

    void close_file()
    {
        file_open_ = false;
        sink_.end(true);
        ++status_.files_done;
    }

    // One more fault on the block in hand; false when that was one too many.
    bool error(bool silence)
    {
        if (++errors_ < max_tries) {
            ++status_.retries;
            return true;
        }
        const std::string tries = std::to_string(max_tries);
        fail(silence ? at_block("No answer after " + tries + " tries", expected_)
                     : at_block("Too many errors", expected_));
        return false;
    }

    void fail(const std::string& message)
    {
        append_cancel(out_);
        stop(XferState::Failed, message);
    }

    void stop(XferState state, const std::string& message)
    {
        if (file_open_) {
            file_open_ = false;
            sink_.end(false);
        }
        stage_ = Stage::Over;
        status_.state = state;
        status_.message = message;
    }

    const XferProtocol protocol_;
    XferSink& sink_;
    Stage stage_ = Stage::Idle;
    Stage after_discard_ = Stage::Wait;  // Ask when the garble came before any block
    bool crc_ = true;
    int crc_asked_ = 0;
    std::uint8_t ask_ = nak;  // what silence between blocks is answered with
    std::int64_t expected_ = 1;
    std::int64_t started_ms_ = 0;
    std::int64_t asked_ms_ = 0;
    std::int64_t waited_ms_ = 0;
    std::int64_t last_rx_ms_ = 0;
    int errors_ = 0;  // on the block in hand
    int cans_ = 0;    // CANs in a row
    bool file_open_ = false;
    bool eot_once_ = false;
    std::vector<std::uint8_t> frame_;
};

}  // namespace

std::unique_ptr<XferEngine> make_xfer_receiver(XferProtocol protocol, XferSink& sink)
{
    return std::make_unique<XferReceiver>(protocol, sink);
}
