// Connect and disconnect sequences and the port status snapshot.
#include "link/com.h"

#include <algorithm>
#include <mutex>

#include "link/data_flow.h"
#include "link/line_errors.h"
#include "link/port_threads.h"
#include "link/usart.h"

PortHandle com_port = nullptr;
ComLines com_lines;

void com_size_tx_queue(PortSettings& s)
{
    std::int32_t size = s.port_tx_size;
    if (s.port_tx_size_lim) {
        // Start bit and eight data bits whatever port_bit says, parity, stop bits.
        const double frame = 9.0 + (s.port_parity > 0 ? 1.0 : 0.0) + s.port_stop / 10.0;
        const double rate = s.port_baud / frame;
        if (size / rate > 1.5) size = static_cast<std::int32_t>(rate * 1.5);
        if (size < 128) size = 128;
    }
    s.tx_queue_size = size;
    s.tx_block_limit = std::min<std::int32_t>(1024, size);
}

int com_connect()
{
    PortSettings& s = port_settings;
    if (usart_open(&com_port, s.port_num) != 0) return 1;
    const auto fail_port = [] {
        usart_close(&com_port);
        return 1;
    };
    if (usart_configure(com_port, s.port_baud, s.port_stop, s.port_parity, s.port_bit, s.port_rx_handshake,
                        s.port_tx_handshake) != 0)
        return fail_port();
    com_size_tx_queue(s);
    if (usart_set_queues(com_port, s.port_rx_size, s.tx_queue_size) != 0) return fail_port();
    if (usart_set_timeouts(com_port, 0, s.port_rx_to, s.port_rx_mult, 0, 0) != 0) return fail_port();
    if (usart_purge_rx(com_port) != 0) return fail_port();

    const auto fail_all = [](int code) {
        com_disconnect();
        return code;
    };
    int made;
    {
        std::lock_guard guard(rx_side.lock);
        made = fifo_create(rx_side.fifo, s.port_rxth_size);
    }
    if (made != 0) return fail_all(2);
    {
        std::lock_guard guard(tx_side.lock);
        made = fifo_create(tx_side.fifo, s.port_txth_size);
    }
    if (made != 0) return fail_all(4);
    if (rx_thread_create(com_port) != 0) return fail_all(3);
    if (tx_thread_create(com_port) != 0) return fail_all(5);
    rx_thread_resume();
    tx_thread_resume();
    com_lines = ComLines{};
    s.connected = 1;
    return 0;
}

int com_disconnect()
{
    rx_thread_stop();
    tx_thread_stop();
    {
        std::lock_guard guard(rx_side.lock);
        fifo_release(rx_side.fifo);
    }
    {
        std::lock_guard guard(tx_side.lock);
        fifo_release(tx_side.fifo);
    }
    usart_close(&com_port);
    com_lines.in_break = false;  // closing the port ends it
    port_settings.connected = 0;
    return 0;
}

int port_status(PortDcb* dcb, PortComStat* stat, std::uint32_t* modem)
{
    if (!com_port || !dcb || !stat || !modem) return 1;
    std::lock_guard guard(rx_side.lock);
    std::uint32_t errors = 0;
    if (!port_driver().clear_error(com_port, &errors, stat)) return 2;
    line_errors_note(errors);  // the call cleared them for the receive thread too
    // A port without modem lines (a pty under Wine) fails this call alone; the
    // queue counts and the comm state are still worth reading.
    const bool modem_read = port_driver().modem_status(com_port, modem);
    if (!port_driver().get_state(com_port, dcb)) return 4;
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

int com_set_dtr(bool on)
{
    if (!com_port) return 1;
    if (com_dtr_driven(port_settings)) return 2;
    if (usart_set_dtr(com_port, on) != 0) return 3;
    com_lines.dtr = on;
    return 0;
}

int com_set_rts(bool on)
{
    if (!com_port) return 1;
    if (com_rts_driven(port_settings)) return 2;
    if (usart_set_rts(com_port, on) != 0) return 3;
    com_lines.rts = on;
    return 0;
}

int com_break(bool on)
{
    if (!com_port) return 1;
    if (usart_break(com_port, on) != 0) return 3;
    com_lines.in_break = on;
    return 0;
}
