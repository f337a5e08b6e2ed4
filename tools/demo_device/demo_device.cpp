// A small serial device for demos: on a tty at 115200 it sends a readable
// telemetry line (CR+LF) once a second, now and then a short binary frame, and
// echoes back every byte it receives. Runs natively on the far end of a pty.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void on_signal(int)
{
    stop_requested = 1;
}

bool make_raw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) return true;  // not a tty (a pipe in tests): nothing to set
    cfmakeraw(&t);
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Writes what the line takes now; a full pty buffer (nobody connected) drops
// the rest, like a device whose cable is unplugged.
void send_bytes(int fd, const void* data, size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return;
        p += w;
        n -= static_cast<size_t>(w);
    }
}

std::string telemetry_line(unsigned count, double seconds)
{
    double temp = 23.5 + 1.5 * std::sin(seconds / 20.0);
    double volt = 3.30 + 0.02 * std::cos(seconds / 7.0);
    char line[128];
    std::snprintf(line, sizeof line, "#%05u t=%7.1fs temp=%5.2fC volt=%4.2fV status=OK\r\n", count, seconds, temp,
                  volt);
    return line;
}

// A frame of the kind a binary protocol would send: sync, length, payload, sum.
std::vector<unsigned char> binary_frame(unsigned count)
{
    std::vector<unsigned char> f = {0xAA, 0x55, 8};
    for (int i = 0; i < 4; ++i) f.push_back(static_cast<unsigned char>(count >> (8 * i)));
    f.push_back(0x00);
    f.push_back(0x7F);
    f.push_back(0xFF);
    f.push_back(0x1B);
    unsigned char sum = 0;
    for (size_t i = 2; i < f.size(); ++i) sum = static_cast<unsigned char>(sum + f[i]);
    f.push_back(sum);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TTY\n", argv[0]);
        return 2;
    }
    int fd = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        std::fprintf(stderr, "demo_device: cannot open %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    if (!make_raw(fd)) {
        std::fprintf(stderr, "demo_device: cannot set %s raw: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    std::signal(SIGTERM, on_signal);
    std::signal(SIGINT, on_signal);

    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    auto next_line = start;
    unsigned count = 0;
    while (!stop_requested) {
        auto now = clock::now();
        if (now >= next_line) {
            double seconds = std::chrono::duration<double>(now - start).count();
            std::string line = telemetry_line(count, seconds);
            send_bytes(fd, line.data(), line.size());
            if (count % 7 == 6) {
                auto frame = binary_frame(count);
                send_bytes(fd, frame.data(), frame.size());
                send_bytes(fd, "\r\n", 2);
            }
            ++count;
            next_line += std::chrono::seconds(1);
        }
        int wait_ms =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(next_line - clock::now()).count());
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, wait_ms > 0 ? wait_ms : 0);
        if (r > 0 && (p.revents & POLLIN)) {
            unsigned char buf[4096];
            ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) send_bytes(fd, buf, static_cast<size_t>(n));  // echo
        } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
            usleep(100000);  // the other end is closed for now; it may come back
        }
    }
    close(fd);
    return 0;
}
