// The serial link: one port behind its driver, the connect and disconnect
// sequences, the two FIFO sides and worker threads between the port and the
// window thread, the received data store and its text conversion, and the
// line error counts. The window set creates one and hands it to the windows.
#pragma once

#include <cstdint>
#include <string>

#include "link/data_flow.h"
#include "link/line_errors.h"
#include "link/line_sink.h"
#include "link/link_resources.h"
#include "link/port_driver.h"
#include "link/port_settings.h"
#include "link/port_threads.h"
#include "link/rx_store.h"
#include "link/rx_text.h"
#include "link/traffic_record.h"
#include "link/usart.h"

// The output lines as the program last set them: DTR and RTS on from every
// connect (the settings enable them), a break only while one is held.
struct ComLines {
    bool dtr = true;
    bool rts = true;
    bool in_break = false;
};
// Whether the receive flow control drives that line (then only the driver sets it).
bool com_dtr_driven(const PortSettings& s);
bool com_rts_driven(const PortSettings& s);

// Sets s.tx_queue_size and s.tx_block_limit from the baud rate and frame of
// s.port (about 1.5 seconds of sending when port_tx_size_lim is on).
void com_size_tx_queue(LinkSettings& s);

// Every routine runs on the window thread. The worker threads see only the
// two sides, the port layer and the settings snapshot. Two locks, the sides'
// own, never held together: connect and disconnect take the receive lock and
// then the transmit lock, one after the other.
class SerialLink {
 public:
    // The driver (and the resources, when given) outlive the link.
    explicit SerialLink(PortDriver& driver);
    SerialLink(PortDriver& driver, LinkResources& resources);
    ~SerialLink();  // disconnects
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // --- Connection ---------------------------------------------------------
    // Connects with a snapshot of `record`, which the worker threads read from
    // then on; only while disconnected, since the snapshot is theirs once they
    // run. 0 connected; 1 opening or configuring the port failed; 2 creating
    // the receive FIFO failed; 3 creating the receive thread failed; 4 creating
    // the transmit FIFO failed; 5 creating the transmit thread failed. Every
    // failure leaves the link closed: no thread, no FIFO, no port.
    int com_connect(const PortSettings& record);
    // After a connect that returned 1: the step that failed and the system's
    // reason, one line ("SetCommState refused 9600 baud, ...: The parameter is
    // incorrect."); empty after a success or another failure.
    const std::string& connect_failure() const { return connect_failure_; }
    // Stops both threads, releases both FIFOs, closes the port; always 0.
    int com_disconnect();
    bool connected() const { return connected_; }
    // What the connection runs with: the last connect's snapshot.
    const LinkSettings& settings() const { return settings_; }
    // The open port, null while none is open.
    PortHandle com_port() const { return port_; }
    // 0; 1 no port open or an out argument missing; 2 ClearCommError failed;
    // 3 GetCommModemStatus failed (the queue counts and the comm state were read
    // all the same); 4 GetCommState failed. Holds the receive
    // lock over its three driver calls.
    int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem);

    const ComLines& com_lines() const { return lines_; }
    // 0; 1 no port open; 2 the receive flow control drives that line (nothing
    // done); 3 the driver refused (the line's recorded state is unchanged).
    int com_set_dtr(bool on);
    int com_set_rts(bool on);
    int com_break(bool on);

    // 0 port n can be opened now (closed again at once); 1 n outside 1..256 or the open failed.
    int usart_probe(std::int32_t n) { return usart_.usart_probe(n); }

    // --- Transmit FIFO (while disconnected: empty, and full to any put) -------
    // 0 stored all n bytes; 1 source missing or n not positive; 2 not enough
    // free space (nothing stored).
    int tx_put(const void* src, std::int32_t n) { return tx_.put(src, n); }
    std::int32_t tx_fill() { return tx_.fill(); }
    std::int32_t tx_free() { return tx_.free_space(); }
    void tx_hold(int flag) { tx_.set_hold(flag); }
    // Empties the transmit FIFO and asks the transmit thread to drop its block.
    void tx_clear() { tx_.clear(); }
    int tx_timeout_flag() { return tx_.timeout_flag(); }
    // Bytes taken from the FIFO that the transmit thread still holds; a transfer
    // is only complete when this and the fill level are both 0.
    std::int32_t tx_block_pending() { return tx_.pending_block(); }
    void tx_timeout_reset() { tx_.timeout_reset(); }
    // Send file: a file about to be put, and its end (see TrafficRecord::tx_file).
    bool tx_file_begins(std::string name, std::int64_t size)
    {
        return traffic_.tx_file(std::move(name), size, tx_.queued());
    }
    void tx_file_ends()
    {
        if (connected_) take_sent();  // its last bytes, written by now, still count as the file's
        traffic_.tx_file_end();
    }

    // --- Receive FIFO -------------------------------------------------------
    std::int32_t rx_fill() { return rx_.fill(); }
    // fifo_get of n bytes under the receive lock, with its result code.
    int rx_get(void* dst, std::int32_t n) { return rx_.get(dst, n); }
    // The receive thread found the port gone and has put every byte it read
    // into the receive FIFO; cleared by the next connect.
    bool rx_port_lost() const { return threads_.rx_port_lost(); }

    // While a file transfer owns the received stream its bytes stay in the
    // receive FIFO for the transfer, and the receive tick leaves them there.
    // Cleared by a disconnect.
    void rx_divert(bool on) { rx_diverted_ = on; }
    bool rx_diverted() const { return rx_diverted_; }

    // --- Received data store (see rx_store.h) ---------------------------------
    // 0; 1 when block_size is outside 1024..8388608. Empties the store.
    // The traffic record is emptied with it.
    int rx_store_init(std::int32_t block_size);
    // 0; the store holds nothing and no memory.
    int rx_store_free() { return store_.release(); }
    // The receive FIFO's bytes onto the store's end: -1 the FIFO is empty; 0
    // appended; 2 the store could not grow (the bytes stay in the FIFO). The
    // reads' times and what was sent since the last call go to the traffic record.
    int rx_store_append();
    // 0; 1 when there is no buffer (the record is still given).
    int rx_store_info(const RxStore** out) const { return store_.info(out); }
    // 0; 1 no buffer or an argument missing; 2 pos outside the data.
    int rx_store_read(std::int32_t pos, std::uint8_t* dest, std::int32_t count, std::int32_t* copied) const
    {
        return store_.read(pos, dest, count, copied);
    }
    // 0; 1 no buffer, no destination or pos outside the data.
    int rx_store_byte(std::int32_t pos, std::uint8_t* out) const { return store_.byte(pos, out); }
    // The one store read allowed from another thread (see RxStoreBuffer::copy_shared).
    int rx_store_copy_shared(std::int32_t pos, std::uint8_t* dest, std::int32_t count) const
    {
        return store_.copy_shared(pos, dest, count);
    }

    // --- Text conversion of the store (see rx_text.h) --------------------------
    // 1 when no view is given; else empties it and converts into it from the
    // store's start, 0. Every update after it must be handed the same view.
    int rx_text_attach(LineSink* view) { return text_.attach(view); }
    // 0; 1 when mode is outside 0..4 (RxLineBreak).
    int rx_text_line_break(int mode) { return text_.line_break(mode); }
    // 0. A character outside 32..255 keeps the replacement there was.
    int rx_text_invisible(int character, bool show) { return text_.invisible(character, show); }
    // Converts what arrived since the last update into `view`; 1 without a
    // buffer or before any attach, else 0.
    int rx_text_update(LineSink& view);
    // 0. New lines start with the time their first byte was drained.
    int rx_text_timestamps(bool on) { return text_.timestamps(on); }
    // 0. Colour escape sequences colour the text converted afterwards and are not shown.
    int rx_text_ansi(bool on) { return text_.ansi(on); }
    bool rx_text_ansi_on() const { return text_.ansi(); }
    // 0. Bytes converted afterwards are read as UTF-8 (RxText::utf8).
    int rx_text_utf8(bool on) { return text_.utf8(on); }
    // The conversion, for reading lines back from the store.
    const RxText& rx_text() const { return text_; }
    // The bytes from store position `position` on were drained at `time_of_day_ms`
    // (milliseconds after local midnight). Position 0 starts a new store's record.
    void rx_text_drained(std::int32_t position, std::uint32_t time_of_day_ms)
    {
        text_.drained(position, time_of_day_ms);
    }

    // --- Traffic record (see traffic_record.h) ----------------------------------
    const TrafficRecord& traffic() const { return traffic_; }
    TrafficRecord& traffic() { return traffic_; }
    // The clock the worker threads time reads and writes by, in microseconds.
    std::int64_t clock_us() { return resources_.clock_us(); }

    // --- Line errors the driver reported (any ClearCommError) ------------------
    LineErrorCounts line_errors_read() const { return line_errors_.read(); }
    void line_errors_reset() { line_errors_.reset(); }

    // --- The parts, for what works on one alone (tests, benchmarks) -----------
    Usart& usart() { return usart_; }
    RxSide& rx_side() { return rx_; }
    TxSide& tx_side() { return tx_; }
    PortThreads& threads() { return threads_; }

 private:
    LinkResources all_granted_;
    LinkResources& resources_;
    LineErrors line_errors_;
    Usart usart_;
    LinkSettings settings_;
    PortHandle port_ = nullptr;
    ComLines lines_;
    bool connected_ = false;
    bool rx_diverted_ = false;
    std::string connect_failure_;
    RxSide rx_;
    TxSide tx_;
    PortThreads threads_;  // after what its threads work on
    RxStoreBuffer store_;
    RxText text_;
    TrafficRecord traffic_;
    // Scratch for the notes and bytes of one drain, kept to spare allocations.
    std::vector<TimeNote> notes_;
    std::vector<std::uint8_t> sent_;
    bool timer_period_ = false;  // the system timer runs at 1 ms for this connection

    void take_sent();
};
