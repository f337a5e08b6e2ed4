// Reading the port catalogue after the system's device announcements.
#include "app/port_watch.h"

#include "ui/services.h"

PortWatch::PortWatch()
{
    settle.on_timer = [this] {
        settle.set_enabled(false);
        refresh();
    };
}

PortWatch::~PortWatch()
{
    stop();
}

void PortWatch::start()
{
    ui::watch_device_changes([this] { announced(); });
}

void PortWatch::stop()
{
    ui::watch_device_changes(nullptr);
    settle.set_enabled(false);
}

void PortWatch::announced()
{
    // Each announcement starts the wait afresh: one read after the last.
    settle.set_enabled(false);
    settle.set_enabled(true);
}

void PortWatch::refresh()
{
    ports_ = catalogue_ ? catalogue_->devices() : std::vector<PortInfo>{};
}

UsbIdentity PortWatch::device_of(int n)
{
    refresh();
    const PortInfo* p = find_port(ports_, n);
    return p ? p->usb : UsbIdentity{};
}
