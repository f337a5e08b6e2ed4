// The link's connect and disconnect sequences, the port status snapshot and
// the output lines.
#include "link/serial_link.h"

#include "link/connect_failure.h"

#include <algorithm>
#include <mutex>

void com_size_tx_queue(LinkSettings& s)
{
    const PortSettings& p = s.port;
    std::int32_t size = p.port_tx_size;
    if (p.port_tx_size_lim) {
        // Start bit and eight data bits whatever port_bit says, parity, stop bits.
        const double frame = 9.0 + (p.port_parity > 0 ? 1.0 : 0.0) + p.port_stop / 10.0;
        const double rate = p.port_baud / frame;
        if (size / rate > 1.5) size = static_cast<std::int32_t>(rate * 1.5);
        if (size < 128) size = 128;
    }
    s.tx_queue_size = size;
    s.tx_block_limit = std::min<std::int32_t>(1024, size);
}

SerialLink::SerialLink(PortDriver& driver) : SerialLink(driver, all_granted_) {}

SerialLink::SerialLink(PortDriver& driver, LinkResources& resources)
    : resources_(resources),
      usart_(driver, line_errors_),
      threads_(usart_, rx_, tx_, settings_, resources_),
      store_(rx_, resources_)
{
}

SerialLink::~SerialLink()
{
    com_disconnect();
}

int SerialLink::com_connect(const PortSettings& record)
{
    // No thread runs here, so the snapshot changes under none.
    settings_.port = record;
    connect_failure_.clear();
    const PortSettings& s = settings_.port;
    // The reason is taken before anything else is called, while the system's
    // last error is still the failed call's.
    const auto note = [&](ConnectStep step, int code) {
        char device[32];
        usart_.usart_device_name(s.port_num, device, sizeof device);
        connect_failure_ =
            connect_failure_reason(step, code, s, usart_.driver().last_error(), device, settings_.tx_queue_size);
        return 1;
    };
    if (const int r = usart_.usart_open(&port_, s.port_num); r != 0) return note(ConnectStep::open, r);
    const auto fail_port = [&](ConnectStep step, int code) {
        note(step, code);
        usart_.usart_close(&port_);
        return 1;
    };
    if (const int r = usart_.usart_configure(port_, s.port_baud, s.port_stop, s.port_parity, s.port_bit,
                                             s.port_rx_handshake, s.port_tx_handshake);
        r != 0)
        return fail_port(ConnectStep::configure, r);
    com_size_tx_queue(settings_);
    if (const int r = usart_.usart_set_queues(port_, s.port_rx_size, settings_.tx_queue_size); r != 0)
        return fail_port(ConnectStep::queues, r);
    if (const int r = usart_.usart_set_timeouts(port_, 0, s.port_rx_to, s.port_rx_mult, 0, 0); r != 0)
        return fail_port(ConnectStep::timeouts, r);
    if (const int r = usart_.usart_purge_rx(port_); r != 0) return fail_port(ConnectStep::purge, r);

    const auto fail_all = [this](int code) {
        com_disconnect();
        return code;
    };
    int made;
    {
        std::lock_guard guard(rx_.lock);
        made = fifo_create(rx_.fifo, s.port_rxth_size);
    }
    if (made != 0) return fail_all(2);
    {
        std::lock_guard guard(tx_.lock);
        made = fifo_create(tx_.fifo, s.port_txth_size);
    }
    if (made != 0) return fail_all(4);
    // The traffic notes are the FIFOs' companions; without their memory the
    // link still runs, it only records no times.
    const std::int64_t now = resources_.clock_us();
    {
        std::lock_guard guard(rx_.lock);
        rx_.reads.create();
        rx_.read_in_hand_us = -1;
    }
    {
        std::lock_guard guard(tx_.lock);
        if (tx_.writes.create() && fifo_create(tx_.sent, tx_sent_capacity) != 0) tx_.writes.release();
        tx_.unrecorded = 0;
    }
    traffic_.complete_before(now, now);
    if (threads_.rx_thread_create(port_) != 0) return fail_all(3);
    if (threads_.tx_thread_create(port_) != 0) return fail_all(5);
    threads_.rx_thread_resume();
    threads_.tx_thread_resume();
    lines_ = ComLines{};
    connected_ = true;
    timer_period_ = timer_period_begin();
    return 0;
}

int SerialLink::com_disconnect()
{
    threads_.rx_thread_stop();
    threads_.tx_thread_stop();
    take_sent();  // the last blocks the transmit thread wrote
    {
        std::lock_guard guard(rx_.lock);
        fifo_release(rx_.fifo);
        rx_.reads.release();
        rx_.read_in_hand_us = -1;
    }
    {
        std::lock_guard guard(tx_.lock);
        fifo_release(tx_.fifo);
        tx_.writes.release();
        fifo_release(tx_.sent);
    }
    traffic_.complete_before(TrafficRecord::all_in, TrafficRecord::all_in);
    if (timer_period_) timer_period_end();
    timer_period_ = false;
    usart_.usart_close(&port_);
    lines_.in_break = false;  // closing the port ends it
    connected_ = false;
    rx_diverted_ = false;
    return 0;
}

int SerialLink::port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem)
{
    if (!port_ || !dcb || !stat || !modem) return 1;
    std::lock_guard guard(rx_.lock);
    PortDriver& driver = usart_.driver();
    std::uint32_t errors = 0;
    if (!driver.clear_error(port_, &errors, stat)) return 2;
    line_errors_.note(errors);  // the call cleared them for the receive thread too
    // A port without modem lines (a pty under Wine) fails this call alone; the
    // queue counts and the comm state are still worth reading.
    const bool modem_read = driver.modem_status(port_, modem);
    if (!driver.get_state(port_, dcb)) return 4;
    return modem_read ? 0 : 3;
}

bool com_dtr_driven(const PortSettings& s)
{
    return s.port_rx_handshake == 2;
}

bool com_rts_driven(const PortSettings& s)
{
    return s.port_rx_handshake == 1;
}

int SerialLink::com_set_dtr(bool on)
{
    if (!port_) return 1;
    if (com_dtr_driven(settings_.port)) return 2;
    if (usart_.usart_set_dtr(port_, on) != 0) return 3;
    lines_.dtr = on;
    return 0;
}

int SerialLink::com_set_rts(bool on)
{
    if (!port_) return 1;
    if (com_rts_driven(settings_.port)) return 2;
    if (usart_.usart_set_rts(port_, on) != 0) return 3;
    lines_.rts = on;
    return 0;
}

int SerialLink::com_break(bool on)
{
    if (!port_) return 1;
    if (usart_.usart_break(port_, on) != 0) return 3;
    lines_.in_break = on;
    return 0;
}

int SerialLink::rx_store_init(std::int32_t block_size)
{
    const int r = store_.init(block_size);
    if (r == 0) traffic_.clear();
    return r;
}

void SerialLink::take_sent()
{
    notes_.clear();
    sent_.clear();
    traffic_.tx_unrecorded(tx_.take_sent(notes_, sent_));
    traffic_.tx_writes(notes_, sent_.data(), sent_.size());
}

int SerialLink::rx_store_append()
{
    // Taken first: every read or write timed before it is in the sides by now,
    // or still in the receive thread's hand.
    const std::int64_t now = resources_.clock_us();
    take_sent();
    const RxStore* store = nullptr;
    store_.info(&store);
    const std::int32_t before = store->length;
    notes_.clear();
    const int r = store_.append(&notes_);
    if (r == 0) traffic_.rx_reads(before, store->length - before, notes_, now);
    if (connected_) traffic_.complete_before(rx_.taken_before(now), now);
    return r;
}

int SerialLink::rx_text_update(LineSink& view)
{
    const RxStore* store = nullptr;
    if (store_.info(&store) != 0) return 1;
    return text_.update(*store, view);
}
