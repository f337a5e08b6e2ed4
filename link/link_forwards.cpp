// The free routines of the link as they were, forwarding to the program's one
// link, until every caller holds a SerialLink.
#include "link/com.h"
#include "link/data_flow.h"
#include "link/line_errors.h"
#include "link/port_threads.h"
#include "link/rx_store.h"
#include "link/rx_text.h"
#include "link/usart.h"

namespace {

// The driver chosen by set_port_driver, whichever it is at the time of a call.
class ChosenDriver final : public PortDriver {
 public:
    PortHandle open(const char* name, bool overlapped) override { return port_driver().open(name, overlapped); }
    bool close(PortHandle h) override { return port_driver().close(h); }
    bool get_state(PortHandle h, PortDcb* dcb) override { return port_driver().get_state(h, dcb); }
    bool set_state(PortHandle h, const PortDcb& dcb) override { return port_driver().set_state(h, dcb); }
    bool setup_queues(PortHandle h, std::uint32_t in, std::uint32_t out) override
    {
        return port_driver().setup_queues(h, in, out);
    }
    bool set_timeouts(PortHandle h, const PortTimeouts& t) override { return port_driver().set_timeouts(h, t); }
    bool purge(PortHandle h, std::uint32_t flags) override { return port_driver().purge(h, flags); }
    bool clear_error(PortHandle h, std::uint32_t* errors, PortComStat* stat) override
    {
        return port_driver().clear_error(h, errors, stat);
    }
    bool modem_status(PortHandle h, std::uint32_t* bits) override { return port_driver().modem_status(h, bits); }
    bool read(PortHandle h, void* buffer, std::uint32_t n, std::uint32_t* got) override
    {
        return port_driver().read(h, buffer, n, got);
    }
    PortIo write(PortHandle h, const void* data, std::uint32_t n, PortWriteRecord& record) override
    {
        return port_driver().write(h, data, n, record);
    }
    PortIo write_result(PortHandle h, PortWriteRecord& record, std::uint32_t* sent) override
    {
        return port_driver().write_result(h, record, sent);
    }
    bool cancel_io(PortHandle h) override { return port_driver().cancel_io(h); }
    bool escape(PortHandle h, std::uint32_t function) override { return port_driver().escape(h, function); }
    bool set_break(PortHandle h, bool on) override { return port_driver().set_break(h, on); }
    std::uint32_t os_major_version() override { return port_driver().os_major_version(); }
};

class HookedResources final : public LinkResources {
 public:
    ThreadStart thread_start(LinkThread t) override
    {
        bool& fail = t == LinkThread::rx ? fail_rx : fail_tx;
        if (!fail) return ThreadStart::run;
        fail = false;
        return ThreadStart::refuse;
    }
    bool store_growth(std::size_t capacity) override { return !check || check(capacity); }

    bool fail_rx = false;
    bool fail_tx = false;
    RxStoreGrowthCheck check = nullptr;
};

ChosenDriver& chosen_driver()
{
    static ChosenDriver driver;
    return driver;
}

HookedResources& hooks()
{
    static HookedResources h;
    return h;
}

LineSink* attached_view = nullptr;

}  // namespace

struct LinkForwards {
    static PortHandle& port(SerialLink& l) { return l.port_; }
    static LineErrors& errors(SerialLink& l) { return l.line_errors_; }
};

SerialLink& program_link()
{
    chosen_driver();
    hooks();
    static SerialLink link(chosen_driver(), hooks());
    return link;
}

PortHandle& com_port = LinkForwards::port(program_link());
const ComLines& com_lines = program_link().com_lines();
RxSide& rx_side = program_link().rx_side();
TxSide& tx_side = program_link().tx_side();

int com_connect()
{
    SerialLink& l = program_link();
    const int r = l.com_connect(port_settings);
    // The record still carries the run state for the callers not yet moved.
    port_settings.connected = l.connected() ? 1 : 0;
    port_settings.tx_queue_size = l.settings().tx_queue_size;
    port_settings.tx_block_limit = l.settings().tx_block_limit;
    return r;
}

int com_disconnect()
{
    const int r = program_link().com_disconnect();
    port_settings.connected = 0;
    return r;
}

int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem)
{
    return program_link().port_status(dcb, stat, modem);
}
int com_set_dtr(bool on)
{
    return program_link().com_set_dtr(on);
}
int com_set_rts(bool on)
{
    return program_link().com_set_rts(on);
}
int com_break(bool on)
{
    return program_link().com_break(on);
}
void com_size_tx_queue(PortSettings& s)
{
    LinkSettings l;
    l.port = s;
    com_size_tx_queue(l);
    s.tx_queue_size = l.tx_queue_size;
    s.tx_block_limit = l.tx_block_limit;
}

int tx_put(const void* src, std::int32_t n)
{
    return program_link().tx_put(src, n);
}
std::int32_t tx_fill()
{
    return program_link().tx_fill();
}
std::int32_t tx_free()
{
    return program_link().tx_free();
}
void tx_hold(int flag)
{
    program_link().tx_hold(flag);
}
void tx_clear()
{
    program_link().tx_clear();
}
int tx_timeout_flag()
{
    return program_link().tx_timeout_flag();
}
std::int32_t tx_block_pending()
{
    return program_link().tx_block_pending();
}
void tx_timeout_reset()
{
    program_link().tx_timeout_reset();
}
std::int32_t rx_fill()
{
    return program_link().rx_fill();
}
int rx_get(void* dst, std::int32_t n)
{
    return program_link().rx_get(dst, n);
}

void line_errors_note(std::uint32_t mask)
{
    LinkForwards::errors(program_link()).note(mask);
}
LineErrorCounts line_errors_read()
{
    return program_link().line_errors_read();
}
void line_errors_reset()
{
    program_link().line_errors_reset();
}

int usart_probe(std::int32_t n)
{
    return program_link().usart().usart_probe(n);
}
int usart_open(PortHandle* slot, std::int32_t n)
{
    return program_link().usart().usart_open(slot, n);
}
int usart_close(PortHandle* slot)
{
    return program_link().usart().usart_close(slot);
}
int usart_configure(PortHandle h, std::int32_t baud, std::int32_t stop, std::int32_t parity, std::int32_t bits,
                    std::int32_t rx_handshake, std::int32_t tx_handshake)
{
    return program_link().usart().usart_configure(h, baud, stop, parity, bits, rx_handshake, tx_handshake);
}
int usart_set_queues(PortHandle h, std::int32_t rx_size, std::int32_t tx_size)
{
    return program_link().usart().usart_set_queues(h, rx_size, tx_size);
}
int usart_set_timeouts(PortHandle h, std::int32_t read_interval, std::int32_t read_constant,
                       std::int32_t read_multiplier, std::int32_t write_constant, std::int32_t write_multiplier)
{
    return program_link().usart().usart_set_timeouts(h, read_interval, read_constant, read_multiplier, write_constant,
                                                     write_multiplier);
}
int usart_rx_count(PortHandle h, std::int32_t* count)
{
    return program_link().usart().usart_rx_count(h, count);
}
int usart_tx_count(PortHandle h, std::int32_t* count)
{
    return program_link().usart().usart_tx_count(h, count);
}
int usart_purge_rx(PortHandle h)
{
    return program_link().usart().usart_purge_rx(h);
}
int usart_purge_tx(PortHandle h)
{
    return program_link().usart().usart_purge_tx(h);
}
std::int32_t usart_read(PortHandle h, void* buffer, std::int32_t n)
{
    return program_link().usart().usart_read(h, buffer, n);
}
int usart_set_dtr(PortHandle h, bool on)
{
    return program_link().usart().usart_set_dtr(h, on);
}
int usart_set_rts(PortHandle h, bool on)
{
    return program_link().usart().usart_set_rts(h, on);
}
int usart_break(PortHandle h, bool on)
{
    return program_link().usart().usart_break(h, on);
}
void usart_device_name(std::int32_t n, char* out, int out_size)
{
    program_link().usart().usart_device_name(n, out, out_size);
}

int rx_thread_create(PortHandle port)
{
    return program_link().threads().rx_thread_create(port);
}
int tx_thread_create(PortHandle port)
{
    return program_link().threads().tx_thread_create(port);
}
int rx_thread_resume()
{
    return program_link().threads().rx_thread_resume();
}
int tx_thread_resume()
{
    return program_link().threads().tx_thread_resume();
}
int rx_thread_stop()
{
    return program_link().threads().rx_thread_stop();
}
int tx_thread_stop()
{
    return program_link().threads().tx_thread_stop();
}
bool rx_port_lost()
{
    return program_link().rx_port_lost();
}
bool rx_thread_exists()
{
    return program_link().threads().rx_thread_exists();
}
bool tx_thread_exists()
{
    return program_link().threads().tx_thread_exists();
}
void port_threads_fail_next_create(bool rx, bool tx)
{
    hooks().fail_rx = rx;
    hooks().fail_tx = tx;
}

int rx_store_init(int32_t block_size)
{
    return program_link().rx_store_init(block_size);
}
int rx_store_free()
{
    return program_link().rx_store_free();
}
int rx_store_append()
{
    return program_link().rx_store_append();
}
int rx_store_info(const RxStore** out)
{
    return program_link().rx_store_info(out);
}
int rx_store_read(int32_t pos, uint8_t* dest, int32_t count, int32_t* copied)
{
    return program_link().rx_store_read(pos, dest, count, copied);
}
int rx_store_byte(int32_t pos, uint8_t* out)
{
    return program_link().rx_store_byte(pos, out);
}
void rx_store_set_growth_check(RxStoreGrowthCheck fn)
{
    hooks().check = fn;
}

int rx_text_attach(LineSink* view)
{
    const int r = program_link().rx_text_attach(view);
    if (r == 0) attached_view = view;
    return r;
}
int rx_text_line_break(int mode)
{
    return program_link().rx_text_line_break(mode);
}
int rx_text_invisible(int character, bool show)
{
    return program_link().rx_text_invisible(character, show);
}
int rx_text_update()
{
    return attached_view ? program_link().rx_text_update(*attached_view) : 1;
}
int rx_text_timestamps(bool on)
{
    return program_link().rx_text_timestamps(on);
}
void rx_text_drained(int32_t position, uint32_t time_of_day_ms)
{
    program_link().rx_text_drained(position, time_of_day_ms);
}
