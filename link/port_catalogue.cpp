// Merging the port sources, reading device instance IDs, and the catalogue of
// trial opens through a port driver.
#include "link/port_catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "link/line_errors.h"
#include "link/usart.h"

namespace {

char upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool starts_with_nocase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (upper(s[i]) != upper(prefix[i])) return false;
    return true;
}

// Four hex digits after "VID_" or "PID_" anywhere in the ID; 0 when missing.
std::uint16_t hex_field(std::string_view id, std::string_view key)
{
    for (std::size_t i = 0; i + key.size() + 4 <= id.size(); ++i) {
        if (!starts_with_nocase(id.substr(i), key)) continue;
        unsigned v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = upper(id[i + key.size() + k]);
            const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) return 0;
            v = v * 16 + static_cast<unsigned>(d);
        }
        return static_cast<std::uint16_t>(v);
    }
    return 0;
}

std::vector<std::string_view> split(std::string_view s, char sep)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == sep) {
            out.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return out;
}

bool is_interface(std::string_view id)
{
    for (std::size_t i = 0; i + 3 <= id.size(); ++i)
        if (starts_with_nocase(id.substr(i), "MI_")) return true;
    return false;
}

// The serial part of a USB ID, or empty when the system made it up.
std::string serial_of(std::string_view id)
{
    const auto parts = split(id, '\\');
    if (parts.size() < 2) return {};
    if (starts_with_nocase(parts[0], "FTDIBUS")) {
        // FTDIBUS\VID_0403+PID_6001+A50285BIA\0000: the third '+' field.
        const auto fields = split(parts[1], '+');
        if (fields.size() >= 3 && !fields[2].empty()) return std::string(fields[2]);
        return {};
    }
    if (parts.size() < 3 || parts[2].empty() || parts[2].find('&') != std::string_view::npos) return {};
    return std::string(parts[2]);
}

}  // namespace

int port_number_of(std::string_view name)
{
    if (name.size() < 4 || name.size() > 6 || !starts_with_nocase(name, "COM")) return 0;
    int n = 0;
    for (char c : name.substr(3)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= port_number_last ? n : 0;
}

std::string port_name_without_suffix(std::string_view friendly, int number)
{
    const std::string suffix = " (COM" + std::to_string(number) + ")";
    if (friendly.size() >= suffix.size() && friendly.substr(friendly.size() - suffix.size()) == suffix)
        friendly.remove_suffix(suffix.size());
    return std::string(friendly);
}

UsbIdentity usb_identity_of(std::string_view instance_id, std::string_view parent_instance_id)
{
    UsbIdentity id;
    id.vid = hex_field(instance_id, "VID_");
    id.pid = hex_field(instance_id, "PID_");
    if (id.vid == 0 || id.pid == 0) return {};  // not USB, or an ID that does not say it whole
    if (!is_interface(instance_id)) {
        id.serial = serial_of(instance_id);
    } else if (hex_field(parent_instance_id, "VID_") == id.vid && hex_field(parent_instance_id, "PID_") == id.pid) {
        id.serial = serial_of(parent_instance_id);
    }
    return id;
}

std::string port_description(const PortInfo& port)
{
    std::string text = port.name;
    if (port.usb.known()) {
        char ids[40];
        std::snprintf(ids, sizeof ids, "VID %04X PID %04X", static_cast<unsigned>(port.usb.vid),
                      static_cast<unsigned>(port.usb.pid));
        if (!text.empty()) text += " - ";
        text += ids;
        if (!port.usb.serial.empty()) text += " serial " + port.usb.serial;
    }
    return text;
}

const PortInfo* find_port(const std::vector<PortInfo>& ports, int number)
{
    for (const PortInfo& p : ports)
        if (p.number == number) return &p;
    return nullptr;
}

const PortInfo* find_same_device(const std::vector<PortInfo>& ports, const UsbIdentity& device)
{
    if (!device.known() || device.serial.empty()) return nullptr;
    for (const PortInfo& p : ports)
        if (p.usb == device) return &p;
    return nullptr;
}

std::vector<PortInfo> merge_ports(const PortSources& sources, const std::function<PortProbe(int)>& probe,
                                  int trial_last)
{
    std::map<int, PortInfo> found;
    auto note = [&](int n) -> PortInfo* {
        if (n == 0) return nullptr;
        PortInfo& p = found[n];
        p.number = n;
        return &p;
    };
    for (const std::string& name : sources.serialcomm) note(port_number_of(name));
    for (const PortDevice& d : sources.devices) {
        const int n = port_number_of(d.port_name);
        PortInfo* p = note(n);
        if (!p || !p->instance_id.empty()) continue;
        p->name = port_name_without_suffix(d.friendly_name, n);
        p->instance_id = d.instance_id;
        p->usb = usb_identity_of(d.instance_id, d.parent_instance_id);
    }
    for (const std::string& name : sources.dos_devices) note(port_number_of(name));

    std::vector<PortInfo> out;
    auto probed = found.begin();
    for (int n = 1; n <= port_number_last; ++n) {
        const bool reported = probed != found.end() && probed->first == n;
        if (!reported && n > trial_last) continue;
        const PortProbe answer = probe ? probe(n) : PortProbe::absent;
        if (reported) {
            // A source says it is there: listed even if the open does not find it now.
            PortInfo p = probed->second;
            p.in_use = answer == PortProbe::in_use;
            out.push_back(std::move(p));
            ++probed;
        } else if (answer != PortProbe::absent) {
            PortInfo p;
            p.number = n;
            p.in_use = answer == PortProbe::in_use;
            out.push_back(std::move(p));
        }
    }
    return out;
}

std::vector<PortInfo> DriverPortCatalogue::ports()
{
    LineErrors errors;
    Usart usart(driver_, errors);
    return merge_ports({}, [&](int n) { return usart.usart_probe(n) == 0 ? PortProbe::free : PortProbe::absent; });
}
