// Win32PortDriver: each seam call is the Windows serial call of the same name,
// with the DCB and COMSTAT bit fields mapped to and from the seam's structs.
#include "link/win32_port_driver.h"

#include <windows.h>

#include <new>

namespace {

HANDLE handle_of(PortHandle h)
{
    return static_cast<HANDLE>(h);
}

static_assert(sizeof(OVERLAPPED) <= sizeof(PortWriteRecord::os));
static_assert(alignof(OVERLAPPED) <= alignof(PortWriteRecord));

OVERLAPPED* overlapped_of(PortWriteRecord& record)
{
    return std::launder(reinterpret_cast<OVERLAPPED*>(record.os));
}

// One manual-reset event per thread for reads: several threads use one handle,
// and waiting on the handle itself would also wake on another thread's write.
class ThreadReadEvent {
 public:
    ThreadReadEvent() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~ThreadReadEvent()
    {
        if (event_) CloseHandle(event_);
    }
    ThreadReadEvent(const ThreadReadEvent&) = delete;
    ThreadReadEvent& operator=(const ThreadReadEvent&) = delete;
    HANDLE get() const { return event_; }

 private:
    HANDLE event_;
};

HANDLE read_event()
{
    thread_local ThreadReadEvent event;
    return event.get();
}

void from_dcb(const DCB& d, PortDcb* p)
{
    p->BaudRate = d.BaudRate;
    p->fBinary = d.fBinary;
    p->fParity = d.fParity;
    p->fOutxCtsFlow = d.fOutxCtsFlow;
    p->fOutxDsrFlow = d.fOutxDsrFlow;
    p->fDtrControl = d.fDtrControl;
    p->fDsrSensitivity = d.fDsrSensitivity;
    p->fTXContinueOnXoff = d.fTXContinueOnXoff;
    p->fOutX = d.fOutX;
    p->fInX = d.fInX;
    p->fErrorChar = d.fErrorChar;
    p->fNull = d.fNull;
    p->fRtsControl = d.fRtsControl;
    p->fAbortOnError = d.fAbortOnError;
    p->XonLim = d.XonLim;
    p->XoffLim = d.XoffLim;
    p->ByteSize = d.ByteSize;
    p->Parity = d.Parity;
    p->StopBits = d.StopBits;
    p->XonChar = d.XonChar;
    p->XoffChar = d.XoffChar;
    p->ErrorChar = d.ErrorChar;
    p->EofChar = d.EofChar;
    p->EvtChar = d.EvtChar;
}

void to_dcb(const PortDcb& p, DCB& d)
{
    d.BaudRate = p.BaudRate;
    d.fBinary = p.fBinary;
    d.fParity = p.fParity;
    d.fOutxCtsFlow = p.fOutxCtsFlow;
    d.fOutxDsrFlow = p.fOutxDsrFlow;
    d.fDtrControl = p.fDtrControl;
    d.fDsrSensitivity = p.fDsrSensitivity;
    d.fTXContinueOnXoff = p.fTXContinueOnXoff;
    d.fOutX = p.fOutX;
    d.fInX = p.fInX;
    d.fErrorChar = p.fErrorChar;
    d.fNull = p.fNull;
    d.fRtsControl = p.fRtsControl;
    d.fAbortOnError = p.fAbortOnError;
    d.XonLim = p.XonLim;
    d.XoffLim = p.XoffLim;
    d.ByteSize = p.ByteSize;
    d.Parity = p.Parity;
    d.StopBits = p.StopBits;
    d.XonChar = p.XonChar;
    d.XoffChar = p.XoffChar;
    d.ErrorChar = p.ErrorChar;
    d.EofChar = p.EofChar;
    d.EvtChar = p.EvtChar;
}

PortIo finished(BOOL ok, DWORD n, std::uint32_t* sent)
{
    if (sent) *sent = ok ? n : 0;
    return ok ? PortIo::done : PortIo::failed;
}

}  // namespace

PortHandle Win32PortDriver::open(const char* name, bool overlapped)
{
    HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

bool Win32PortDriver::close(PortHandle h)
{
    return CloseHandle(handle_of(h)) != 0;
}

bool Win32PortDriver::get_state(PortHandle h, PortDcb* dcb)
{
    DCB d{};
    d.DCBlength = sizeof d;
    if (!dcb || !GetCommState(handle_of(h), &d)) return false;
    from_dcb(d, dcb);
    return true;
}

bool Win32PortDriver::set_state(PortHandle h, const PortDcb& dcb)
{
    // Read first so that the reserved members keep what the device holds.
    DCB d{};
    d.DCBlength = sizeof d;
    if (!GetCommState(handle_of(h), &d)) return false;
    to_dcb(dcb, d);
    return SetCommState(handle_of(h), &d) != 0;
}

bool Win32PortDriver::setup_queues(PortHandle h, std::uint32_t in_queue, std::uint32_t out_queue)
{
    return SetupComm(handle_of(h), in_queue, out_queue) != 0;
}

bool Win32PortDriver::set_timeouts(PortHandle h, const PortTimeouts& t)
{
    COMMTIMEOUTS c{};
    c.ReadIntervalTimeout = t.ReadIntervalTimeout;
    c.ReadTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
    c.ReadTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
    c.WriteTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
    c.WriteTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
    return SetCommTimeouts(handle_of(h), &c) != 0;
}

bool Win32PortDriver::purge(PortHandle h, std::uint32_t flags)
{
    return PurgeComm(handle_of(h), flags) != 0;
}

bool Win32PortDriver::clear_error(PortHandle h, std::uint32_t* errors, PortComStat* stat)
{
    DWORD e = 0;
    COMSTAT s{};
    if (!ClearCommError(handle_of(h), &e, &s)) return false;
    if (errors) *errors = e;
    if (stat) {
        stat->fCtsHold = s.fCtsHold;
        stat->fDsrHold = s.fDsrHold;
        stat->fRlsdHold = s.fRlsdHold;
        stat->fXoffHold = s.fXoffHold;
        stat->fXoffSent = s.fXoffSent;
        stat->fEof = s.fEof;
        stat->fTxim = s.fTxim;
        stat->cbInQue = s.cbInQue;
        stat->cbOutQue = s.cbOutQue;
    }
    return true;
}

bool Win32PortDriver::modem_status(PortHandle h, std::uint32_t* bits)
{
    DWORD m = 0;
    if (!bits || !GetCommModemStatus(handle_of(h), &m)) return false;
    *bits = m;
    return true;
}

bool Win32PortDriver::escape(PortHandle h, std::uint32_t function)
{
    return EscapeCommFunction(handle_of(h), function) != FALSE;
}

bool Win32PortDriver::set_break(PortHandle h, bool on)
{
    return (on ? SetCommBreak(handle_of(h)) : ClearCommBreak(handle_of(h))) != FALSE;
}

bool Win32PortDriver::read(PortHandle h, void* buffer, std::uint32_t n, std::uint32_t* got)
{
    if (got) *got = 0;
    OVERLAPPED ov{};
    ov.hEvent = read_event();
    if (!ov.hEvent) return false;
    DWORD count = 0;
    if (!ReadFile(handle_of(h), buffer, n, &count, &ov)) {
        // The caller asks only for what the driver holds, and the read
        // time-outs bound the wait in any case. A time-out is a short read on
        // Windows; Wine reports it as ERROR_TIMEOUT, so both mean the same here.
        if (GetLastError() != ERROR_IO_PENDING) return false;
        if (!GetOverlappedResult(handle_of(h), &ov, &count, TRUE) && GetLastError() != ERROR_TIMEOUT) return false;
    }
    if (got) *got = count;
    return true;
}

PortIo Win32PortDriver::write(PortHandle h, const void* data, std::uint32_t n, PortWriteRecord& record)
{
    record = PortWriteRecord{};
    OVERLAPPED* ov = new (record.os) OVERLAPPED{};
    DWORD count = 0;
    if (WriteFile(handle_of(h), data, n, &count, ov)) return PortIo::done;
    return GetLastError() == ERROR_IO_PENDING ? PortIo::pending : PortIo::failed;
}

PortIo Win32PortDriver::write_result(PortHandle h, PortWriteRecord& record, std::uint32_t* sent)
{
    DWORD count = 0;
    BOOL ok = GetOverlappedResult(handle_of(h), overlapped_of(record), &count, FALSE);
    if (!ok && GetLastError() == ERROR_IO_INCOMPLETE) {
        if (sent) *sent = 0;
        return PortIo::pending;
    }
    return finished(ok, count, sent);
}

bool Win32PortDriver::cancel_io(PortHandle h)
{
    return CancelIo(handle_of(h)) != 0;
}

std::uint32_t Win32PortDriver::os_major_version()
{
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    if (!GetVersionExA(&v)) return 5;  // the "\\.\COM%d" form suits every current system
    return v.dwMajorVersion;
}

std::uint32_t Win32PortDriver::last_error()
{
    return GetLastError();
}
