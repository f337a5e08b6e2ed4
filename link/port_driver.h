// The seam between the port layer (usart_*) and a serial device driver: a small
// interface shaped after the Windows serial calls the port layer needs.
#pragma once

#include <cstddef>
#include <cstdint>

// Semantics of the calls (every implementation must keep them):
//
// - Results are Windows-shaped: `bool` true for success like a nonzero BOOL;
//   counts and flags are 32-bit unsigned like DWORD; flag values are the
//   Windows ones (PURGE_*, MS_*, CE_*).
// - A PortHandle is opaque; nullptr means "no port". Handles come only from
//   open() and stay valid until close(). Several threads may use one handle at
//   once (receive thread, transmit thread, status snapshot); the driver must be
//   thread-safe for that.
// - open(name, overlapped): CreateFileA(name, GENERIC_READ|GENERIC_WRITE, share
//   0, no security, OPEN_EXISTING, overlapped ? FILE_FLAG_OVERLAPPED : 0).
//   Exclusive: a port already open fails (where the device allows it to be
//   enforced). Returns nullptr on failure.
// - close(h): CloseHandle. Callers end every pending write (cancel_io and wait
//   for write_result to leave pending) before they close.
// - get_state / set_state: GetCommState / SetCommState with PortDcb, which
//   carries every DCB field by its Windows name and meaning (bit fields
//   widened). set_state writes all of them; the reserved DCB members keep what
//   the device holds.
// - setup_queues: SetupComm(in_queue, out_queue).
// - set_timeouts: SetCommTimeouts with PortTimeouts (COMMTIMEOUTS order).
// - purge(h, flags): PurgeComm with PORT_PURGE_* flags. Note: on some devices
//   (Wine on a pty) PURGE_TXABORT does not end a pending overlapped write;
//   only cancel_io does.
// - clear_error(h, errors, stat): ClearCommError; errors (CE_* bits) and stat
//   may each be nullptr. stat->cbInQue / cbOutQue are the driver's queue counts.
// - modem_status(h, bits): GetCommModemStatus, PORT_MS_* bits.
// - read(h, buffer, n, got): an overlapped ReadFile of n bytes on a fresh
//   record that the driver owns; the driver waits for its completion (the
//   port's read time-outs bound the wait) and stores the count in *got.
//   False when ReadFile fails (other than "pending") or the completion reports
//   failure; *got is then 0.
// - write(h, data, n, record): starts an overlapped WriteFile of n bytes from
//   data, using the caller's record (cleared by the driver first). Returns
//   done (finished at once, whatever count), pending (the operation is under
//   way) or failed (WriteFile failed, nothing is under way).
//   While a write is pending, the CALLER MUST keep `record` and the n bytes at
//   `data` alive, unmoved and unchanged: the device may still read the bytes
//   and writes its completion into the record.
// - write_result(h, record, sent): GetOverlappedResult without waiting on a
//   record that write() made pending. pending while the write is still under
//   way (ERROR_IO_INCOMPLETE); done or failed once it has finished (cancelled
//   counts as failed), with *sent (may be nullptr) the bytes it wrote. After
//   done/failed the record and the bytes are free again.
// - cancel_io(h): CancelIo: asks every operation that the CALLING THREAD
//   started on h to end soon. It does not wait: the caller keeps the record
//   and bytes alive until write_result stops reporting pending.
// - escape(h, function): EscapeCommFunction with PORT_SETRTS, PORT_CLRRTS,
//   PORT_SETDTR or PORT_CLRDTR. A line driven by the receive flow control
//   (RTS_CONTROL_HANDSHAKE, DTR_CONTROL_HANDSHAKE) is the driver's to set, and
//   a device without modem lines (a pty under Wine) refuses.
// - set_break(h, on): SetCommBreak (on) or ClearCommBreak (off).
// - os_major_version(): the major Windows version (GetVersionExA), for the
//   device name rule ("COM%d" below 5, "\\.\COM%d" otherwise).
// - last_error(): GetLastError of the calling thread, read at once after a call
//   failed, so a failure can be shown with the system's reason.

using PortHandle = void*;

// DCB values, with their Windows numbers.
inline constexpr std::uint8_t PORT_NOPARITY = 0, PORT_ODDPARITY = 1, PORT_EVENPARITY = 2, PORT_MARKPARITY = 3,
                              PORT_SPACEPARITY = 4;
inline constexpr std::uint8_t PORT_ONESTOPBIT = 0, PORT_ONE5STOPBITS = 1, PORT_TWOSTOPBITS = 2;
inline constexpr std::uint32_t PORT_DTR_CONTROL_DISABLE = 0, PORT_DTR_CONTROL_ENABLE = 1,
                               PORT_DTR_CONTROL_HANDSHAKE = 2;
inline constexpr std::uint32_t PORT_RTS_CONTROL_DISABLE = 0, PORT_RTS_CONTROL_ENABLE = 1,
                               PORT_RTS_CONTROL_HANDSHAKE = 2, PORT_RTS_CONTROL_TOGGLE = 3;

// PurgeComm flags.
inline constexpr std::uint32_t PORT_PURGE_TXABORT = 0x0001, PORT_PURGE_RXABORT = 0x0002, PORT_PURGE_TXCLEAR = 0x0004,
                               PORT_PURGE_RXCLEAR = 0x0008;

// EscapeCommFunction codes for the two output lines.
inline constexpr std::uint32_t PORT_SETRTS = 3, PORT_CLRRTS = 4, PORT_SETDTR = 5, PORT_CLRDTR = 6;

// GetCommModemStatus bits.
inline constexpr std::uint32_t PORT_MS_CTS_ON = 0x0010, PORT_MS_DSR_ON = 0x0020, PORT_MS_RING_ON = 0x0040,
                               PORT_MS_RLSD_ON = 0x0080;

// ClearCommError error bits.
inline constexpr std::uint32_t PORT_CE_RXOVER = 0x0001, PORT_CE_OVERRUN = 0x0002, PORT_CE_RXPARITY = 0x0004,
                               PORT_CE_FRAME = 0x0008, PORT_CE_BREAK = 0x0010, PORT_CE_TXFULL = 0x0100;

// Windows DCB, field for field (bit fields widened to whole members).
struct PortDcb {
    std::uint32_t BaudRate = 0;
    std::uint32_t fBinary = 0;
    std::uint32_t fParity = 0;
    std::uint32_t fOutxCtsFlow = 0;
    std::uint32_t fOutxDsrFlow = 0;
    std::uint32_t fDtrControl = 0;  // PORT_DTR_CONTROL_*
    std::uint32_t fDsrSensitivity = 0;
    std::uint32_t fTXContinueOnXoff = 0;
    std::uint32_t fOutX = 0;
    std::uint32_t fInX = 0;
    std::uint32_t fErrorChar = 0;
    std::uint32_t fNull = 0;
    std::uint32_t fRtsControl = 0;  // PORT_RTS_CONTROL_*
    std::uint32_t fAbortOnError = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = PORT_NOPARITY;      // PORT_*PARITY
    std::uint8_t StopBits = PORT_ONESTOPBIT;  // PORT_*STOPBIT(S)
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
};

// Windows COMSTAT (bit fields widened).
struct PortComStat {
    std::uint32_t fCtsHold = 0;
    std::uint32_t fDsrHold = 0;
    std::uint32_t fRlsdHold = 0;
    std::uint32_t fXoffHold = 0;
    std::uint32_t fXoffSent = 0;
    std::uint32_t fEof = 0;
    std::uint32_t fTxim = 0;
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
};

// Windows COMMTIMEOUTS, in its order (milliseconds).
struct PortTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

// The caller-owned record of one overlapped write. The driver keeps its own
// per-operation state in `os` (a Windows OVERLAPPED fits); the caller only
// keeps the record alive and in place while the write is pending.
struct PortWriteRecord {
    alignas(8) unsigned char os[64] = {};
};

enum class PortIo { done, pending, failed };

class PortDriver {
 public:
    virtual ~PortDriver() = default;

    virtual PortHandle open(const char* name, bool overlapped) = 0;
    virtual bool close(PortHandle h) = 0;
    virtual bool get_state(PortHandle h, PortDcb* dcb) = 0;
    virtual bool set_state(PortHandle h, const PortDcb& dcb) = 0;
    virtual bool setup_queues(PortHandle h, std::uint32_t in_queue, std::uint32_t out_queue) = 0;
    virtual bool set_timeouts(PortHandle h, const PortTimeouts& t) = 0;
    virtual bool purge(PortHandle h, std::uint32_t flags) = 0;
    virtual bool clear_error(PortHandle h, std::uint32_t* errors, PortComStat* stat) = 0;
    virtual bool modem_status(PortHandle h, std::uint32_t* bits) = 0;
    virtual bool read(PortHandle h, void* buffer, std::uint32_t n, std::uint32_t* got) = 0;
    virtual PortIo write(PortHandle h, const void* data, std::uint32_t n, PortWriteRecord& record) = 0;
    virtual PortIo write_result(PortHandle h, PortWriteRecord& record, std::uint32_t* sent) = 0;
    virtual bool cancel_io(PortHandle h) = 0;
    virtual bool escape(PortHandle h, std::uint32_t function) = 0;
    virtual bool set_break(PortHandle h, bool on) = 0;
    virtual std::uint32_t os_major_version() = 0;
    virtual std::uint32_t last_error() { return 0; }
};

// Each link is given its driver when it is made (the product: Win32PortDriver;
// tests: SimPortDriver, or Win32 under Wine) and keeps it for its life.
