// Port layer over the port driver seam.
#include "link/usart.h"

#include <cstdio>

namespace {

bool port_number_ok(std::int32_t n)
{
    return n >= 1 && n <= 256;
}

}  // namespace

void Usart::usart_device_name(std::int32_t n, char* out, int out_size)
{
    const char* form = driver_.os_major_version() < 5 ? "COM%d" : "\\\\.\\COM%d";
    std::snprintf(out, static_cast<std::size_t>(out_size), form, static_cast<int>(n));
}

int Usart::usart_probe(std::int32_t n)
{
    if (!port_number_ok(n)) return 1;
    char name[32];
    usart_device_name(n, name, sizeof name);
    PortHandle h = driver_.open(name, false);
    if (!h) return 1;
    driver_.close(h);
    return 0;
}

int Usart::usart_open(PortHandle* slot, std::int32_t n)
{
    if (!slot) return 1;
    if (!port_number_ok(n)) return 2;
    char name[32];
    usart_device_name(n, name, sizeof name);
    *slot = driver_.open(name, true);
    return *slot ? 0 : 3;
}

int Usart::usart_close(PortHandle* slot)
{
    if (!slot) return 1;
    if (*slot) {
        driver_.purge(*slot, PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR);
        driver_.close(*slot);
        *slot = nullptr;
    }
    return 0;
}

int Usart::usart_configure(PortHandle h, std::int32_t baud, std::int32_t stop, std::int32_t parity, std::int32_t bits,
                           std::int32_t rx_handshake, std::int32_t tx_handshake)
{
    if (baud < 1 || baud > 3000000) return 1;
    if (bits < 5 || bits > 8) return 4;
    PortDcb dcb;
    if (!driver_.get_state(h, &dcb)) return 256;
    dcb.fBinary = 1;
    dcb.fAbortOnError = 0;
    dcb.fNull = 0;
    dcb.BaudRate = static_cast<std::uint32_t>(baud);
    switch (stop) {
        case 10:
            dcb.StopBits = PORT_ONESTOPBIT;
            break;
        case 15:
            dcb.StopBits = PORT_ONE5STOPBITS;
            break;
        case 20:
            dcb.StopBits = PORT_TWOSTOPBITS;
            break;
        default:
            return 2;
    }
    // The record's parity codes put space before mark; Windows has them the other way.
    static constexpr std::uint8_t parity_map[5] = {PORT_NOPARITY, PORT_ODDPARITY, PORT_EVENPARITY, PORT_SPACEPARITY,
                                                   PORT_MARKPARITY};
    if (parity < 0 || parity > 4) return 3;
    dcb.Parity = parity_map[parity];
    dcb.ByteSize = static_cast<std::uint8_t>(bits);
    dcb.fOutxCtsFlow = tx_handshake == 1 ? 1 : 0;
    dcb.fOutxDsrFlow = tx_handshake == 2 ? 1 : 0;
    dcb.fRtsControl = rx_handshake == 1 ? PORT_RTS_CONTROL_HANDSHAKE : PORT_RTS_CONTROL_ENABLE;
    dcb.fDtrControl = rx_handshake == 2 ? PORT_DTR_CONTROL_HANDSHAKE : PORT_DTR_CONTROL_ENABLE;
    return driver_.set_state(h, dcb) ? 0 : 257;
}

int Usart::usart_set_queues(PortHandle h, std::int32_t rx_size, std::int32_t tx_size)
{
    return driver_.setup_queues(h, static_cast<std::uint32_t>(rx_size), static_cast<std::uint32_t>(tx_size)) ? 0 : 1;
}

int Usart::usart_set_timeouts(PortHandle h, std::int32_t read_interval, std::int32_t read_constant,
                              std::int32_t read_multiplier, std::int32_t write_constant, std::int32_t write_multiplier)
{
    PortTimeouts t;
    t.ReadIntervalTimeout = static_cast<std::uint32_t>(read_interval);
    t.ReadTotalTimeoutMultiplier = static_cast<std::uint32_t>(read_multiplier);
    t.ReadTotalTimeoutConstant = static_cast<std::uint32_t>(read_constant);
    t.WriteTotalTimeoutMultiplier = static_cast<std::uint32_t>(write_multiplier);
    t.WriteTotalTimeoutConstant = static_cast<std::uint32_t>(write_constant);
    return driver_.set_timeouts(h, t) ? 0 : 1;
}

int Usart::usart_rx_count(PortHandle h, std::int32_t* count)
{
    if (!count) return 1;
    PortComStat stat;
    std::uint32_t errors = 0;
    if (!driver_.clear_error(h, &errors, &stat)) return 2;
    errors_.note(errors);
    *count = static_cast<std::int32_t>(stat.cbInQue);
    return 0;
}

int Usart::usart_tx_count(PortHandle h, std::int32_t* count)
{
    if (!count) return 1;
    PortComStat stat;
    std::uint32_t errors = 0;
    if (!driver_.clear_error(h, &errors, &stat)) return 2;
    errors_.note(errors);
    *count = static_cast<std::int32_t>(stat.cbOutQue);
    return 0;
}

int Usart::usart_purge_rx(PortHandle h)
{
    return driver_.purge(h, PORT_PURGE_RXCLEAR) ? 0 : 1;
}

int Usart::usart_purge_tx(PortHandle h)
{
    return driver_.purge(h, PORT_PURGE_TXABORT | PORT_PURGE_TXCLEAR) ? 0 : 1;
}

std::int32_t Usart::usart_read(PortHandle h, void* buffer, std::int32_t n)
{
    if (!buffer || n < 0) return -1;
    std::uint32_t got = 0;
    if (!driver_.read(h, buffer, static_cast<std::uint32_t>(n), &got)) return -1;
    // A driver never reports more than asked; a count that would read as
    // negative must not pass for data either.
    if (got > static_cast<std::uint32_t>(n)) return -1;
    return static_cast<std::int32_t>(got);
}

int Usart::usart_set_dtr(PortHandle h, bool on)
{
    return driver_.escape(h, on ? PORT_SETDTR : PORT_CLRDTR) ? 0 : 1;
}

int Usart::usart_set_rts(PortHandle h, bool on)
{
    return driver_.escape(h, on ? PORT_SETRTS : PORT_CLRRTS) ? 0 : 1;
}

int Usart::usart_break(PortHandle h, bool on)
{
    return driver_.set_break(h, on) ? 0 : 1;
}
