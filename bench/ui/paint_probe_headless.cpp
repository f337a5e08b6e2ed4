// The benchmark's painting natively: a recording canvas over the whole control.
#include <chrono>
#include <cstdio>
#include <fstream>

#include "bench/ui/paint_probe.h"
#include "ui/headless/recording_canvas.h"

namespace bench {

struct PaintProbe::Impl {
    ui::Control& c;
};

PaintProbe::PaintProbe(ui::Form& form, ui::Control& c, int width, int height) : impl_(std::make_unique<Impl>(Impl{c}))
{
    form.set_client_size(width, height);
    c.set_bounds(0, 0, width, height);
    form.show();
}

PaintProbe::~PaintProbe() = default;

double PaintProbe::paint_ms()
{
    auto t0 = std::chrono::steady_clock::now();
    ui::headless::RecordingCanvas canvas(ui::Rect{0, 0, impl_->c.width(), impl_->c.height()});
    impl_->c.paint(canvas);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::string memory_text()
{
    std::ifstream f("/proc/self/status");
    std::string line, out;
    while (std::getline(f, line))
        if (line.rfind("VmRSS", 0) == 0 || line.rfind("VmHWM", 0) == 0) out += line + "; ";
    return out;
}

}  // namespace bench
