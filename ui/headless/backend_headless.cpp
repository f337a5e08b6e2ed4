// The headless backend's side of the seam: no peers, timers on the virtual
// clock, and a modal "loop" that runs the scripted user's steps.
#include <cstdio>

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/form.h"
#include "ui/headless/bitmap_canvas.h"
#include "ui/headless/world.h"
#include "ui/timer.h"

namespace ui::backend {

namespace {

class ClockTimer : public TimerPeer {
 public:
    explicit ClockTimer(Timer& t) : timer_(t) { headless::World::instance().timer_restarted(t); }
    ~ClockTimer() override { headless::World::instance().timer_gone(timer_); }
    void restart() override { headless::World::instance().timer_restarted(timer_); }

 private:
    Timer& timer_;
};

}  // namespace

std::unique_ptr<Peer> make_peer(Control&)
{
    return nullptr;
}

std::unique_ptr<TimerPeer> make_timer_peer(Timer& timer)
{
    return std::make_unique<ClockTimer>(timer);
}

// Headless there is no waiting: the loop runs what is posted and returns.
void run_loop()
{
    app().run_posted();
}

void run_modal(Form& form)
{
    auto& w = headless::World::instance();
    ++w.modal_loops;
    w.modal_stack.push_back(&form);
    struct Pop {
        headless::World& w;
        ~Pop() { w.modal_stack.pop_back(); }
    } pop{w};
    app().run_posted();
    if (form.modal_result() != mr::None || !form.visible()) return;
    if (w.modal_steps.empty())
        throw ProgramError("modal form " + form.name() + " shown, but the script has no steps for it");
    headless::ModalStep step = std::move(w.modal_steps.front());
    w.modal_steps.pop_front();
    if (!step.form.empty() && step.form != form.name())
        throw ProgramError("modal form " + form.name() + " shown, the script expected " + step.form);
    if (step.steps) step.steps(form);
    app().run_posted();
    if (form.modal_result() == mr::None && form.visible())
        throw ProgramError("modal form " + form.name() + " can never close: its steps left it open");
}

void wake() {}

std::unique_ptr<Canvas> bitmap_canvas(Bitmap& bmp)
{
    return std::make_unique<headless::BitmapCanvas>(bmp);
}

// A classic sizeable frame with a one-line menu bar: 4-pixel borders, a
// 19-pixel caption and menu bar, so window sizes read as on Windows.
Size form_frame(const Form&)
{
    return Size{8, 46};
}

// The classic Windows scheme, so headless colours are stable.
std::uint32_t sys_color(int index)
{
    switch (index) {
        case 5:
            return 0xFFFFFF;  // Window
        case 8:
            return 0x000000;  // WindowText
        case 13:
            return 0x6A240A;  // Highlight (BGR of 10,36,106)
        case 14:
            return 0xFFFFFF;  // HighlightText
        case 15:
            return 0xC8D0D4;  // BtnFace (212,208,200)
        case 16:
            return 0x808080;  // BtnShadow
        case 17:
            return 0x808080;  // GrayText
        case 18:
            return 0x000000;  // BtnText
        case 20:
            return 0xFFFFFF;  // BtnHighlight
        case 23:
            return 0x000000;  // InfoText
        case 24:
            return 0xE1FFFF;  // InfoBk (255,255,225)
        default:
            return 0x000000;
    }
}

}  // namespace ui::backend
