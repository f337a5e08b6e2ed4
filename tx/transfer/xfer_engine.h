// XMODEM and YMODEM as pure state machines over bytes and a clock: what came
// from the line goes in, what must go out collects in output(), files are
// reached through a source or a sink. No thread, no port, no window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class XferProtocol { Xmodem, XmodemCrc, Xmodem1k, Ymodem };

// The file a sender reads, from its start, in order.
class XferSource {
 public:
    virtual ~XferSource() = default;
    // The file's name as the far end is told it (YMODEM), without a folder.
    virtual std::string name() const = 0;
    virtual std::int64_t size() const = 0;
    // Up to n bytes from where the last read ended; 0 at the end. False when
    // the file cannot be read on (`why` then says why).
    virtual bool read(std::uint8_t* dst, std::size_t n, std::size_t* got, std::string& why) = 0;
};

// Where a receiver puts what arrives; one file at a time.
class XferSink {
 public:
    virtual ~XferSink() = default;
    // A file starts. XMODEM: name empty, size -1 (unknown). YMODEM: the name
    // the sender gave (unchecked: the sink makes it safe) and its size, -1 when
    // the sender gave none. False refuses the file (`why` says why); the
    // transfer then ends with that reason.
    virtual bool begin(const std::string& name, std::int64_t size, std::string& why) = 0;
    // The file's next bytes, as they arrive. False: they could not be written.
    virtual bool write(const std::uint8_t* data, std::size_t n, std::string& why) = 0;
    // The file is whole (complete) or the transfer ended without it.
    virtual void end(bool complete) = 0;
};

enum class XferState { Running, Done, Failed };

// What a window shows; blocks count from 1 and the figures are of the file
// under way (YMODEM: the batch's current file).
struct XferStatus {
    XferState state = XferState::Running;
    std::int64_t block = 0;         // the block in hand (0 before the first)
    std::int64_t blocks_total = 0;  // 0 when the size is unknown (XMODEM receive)
    int retries = 0;                // over the whole transfer
    std::int64_t bytes = 0;         // of the file, sent and acknowledged or received
    std::int64_t size = -1;         // of the file, -1 unknown
    std::string file;               // YMODEM: the current file's name as given
    int files_done = 0;             // files completed
    std::string message;            // Done/Failed: how it ended, one line
};

class XferEngine {
 public:
    virtual ~XferEngine() = default;
    // The transfer begins at now_ms: a receiver asks for the first block.
    virtual void start(std::int64_t now_ms) = 0;
    // Bytes that came from the line.
    virtual void received(const std::uint8_t* data, std::size_t n, std::int64_t now_ms) = 0;
    // Time passed with nothing received; time-outs are counted here.
    virtual void tick(std::int64_t now_ms) = 0;
    // The user cancels: CANs go out and the transfer fails as "Cancelled".
    virtual void cancel(std::int64_t now_ms) = 0;
    // The bytes to send since the last call; the caller empties it.
    std::vector<std::uint8_t>& output() { return out_; }
    const XferStatus& status() const { return status_; }

 protected:
    std::vector<std::uint8_t> out_;
    XferStatus status_;
};

// protocol picks the block size and check the sender offers and the start a
// receiver asks with; the source and sink outlive the engine.
std::unique_ptr<XferEngine> make_xfer_sender(XferProtocol protocol, XferSource& source);
std::unique_ptr<XferEngine> make_xfer_receiver(XferProtocol protocol, XferSink& sink);
