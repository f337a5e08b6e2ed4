// The port catalogue: every serial port present now, with what the system
// knows of its device (friendly name, instance ID, USB identity) and whether
// another program holds it. One seam, a Win32 implementation over the
// system's sources, one over a port driver's trial opens, and a fake in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/port_driver.h"

inline constexpr int port_number_last = 255;
// Ports that only a trial open can find are looked for up to this number.
inline constexpr int port_trial_last = 32;

// A USB device's identity, read from its instance ID; vid 0 and pid 0 when
// the device is no USB device (or does not say).
struct UsbIdentity {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::string serial;  // empty when the device has none of its own
    bool known() const { return vid != 0 || pid != 0; }
    bool operator==(const UsbIdentity&) const = default;
};

struct PortInfo {
    std::int32_t number = 0;  // COMn, 1..255
    std::string name;         // the device's friendly name without " (COMn)"; empty when unknown
    std::string instance_id;  // the device instance ID; empty when unknown
    UsbIdentity usb;
    bool in_use = false;  // present, but another program holds it open
    bool operator==(const PortInfo&) const = default;
};

class PortCatalogue {
 public:
    virtual ~PortCatalogue() = default;
    // Every present port, ascending by number, built anew on each call. A
    // port the catalogue opens to find out is closed again at once.
    virtual std::vector<PortInfo> ports() = 0;
    // The ports the system reports, with their devices, opening none: cheap
    // and harmless enough for every device change (a board that resets when
    // its port opens stays untouched). Nothing is marked in use, and a port
    // only a trial open finds is missing.
    virtual std::vector<PortInfo> devices() { return ports(); }
};

// What each of the system's sources answered, for merge_ports.
struct PortDevice {
    std::string port_name;           // the device key's PortName ("COM7")
    std::string friendly_name;       // "USB-SERIAL CH340 (COM7)"
    std::string instance_id;         // "USB\VID_1A86&PID_7523\5&1A2B3C&0&2"
    std::string parent_instance_id;  // the composite device of an interface; may be empty
};
struct PortSources {
    std::vector<std::string> serialcomm;   // HARDWARE\DEVICEMAP\SERIALCOMM values
    std::vector<PortDevice> devices;       // the SetupAPI ports and COM port interfaces
    std::vector<std::string> dos_devices;  // QueryDosDevice names
};
enum class PortProbe { free, in_use, absent };

// The catalogue from its sources: a port any source names (1..255), then the
// ports 1..trial_last that only `probe` finds; each listed port is probed
// once to learn whether it is in use. Duplicates collapse into one entry,
// the first device naming a port giving it its name. Without a probe, the
// reported ports are listed as free and nothing else is tried.
std::vector<PortInfo> merge_ports(const PortSources& sources, const std::function<PortProbe(int)>& probe,
                                  int trial_last = port_trial_last);

// "COM7" (any letter case) is 7; 0 for anything else or outside 1..255.
int port_number_of(std::string_view name);
// The friendly name without its " (COMn)" suffix.
std::string port_name_without_suffix(std::string_view friendly, int number);
// VID, PID and serial number from a device instance ID ("USB\VID_..&PID_..\SERIAL",
// "FTDIBUS\VID_..+PID_..+SERIAL\0000"); an interface of a composite device
// (MI_nn) takes the serial number from its parent's ID. A serial part that
// the system made up (it holds '&') is no serial number.
UsbIdentity usb_identity_of(std::string_view instance_id, std::string_view parent_instance_id = {});
// "USB-SERIAL CH340 - VID 1A86 PID 7523": the name and the USB IDs, as far as known.
std::string port_description(const PortInfo& port);
// The entry for port `number`, or nullptr.
const PortInfo* find_port(const std::vector<PortInfo>& ports, int number);
// A port holding the same USB device (VID, PID and serial number) as `device`;
// nullptr when the device has no serial number of its own or none is there.
const PortInfo* find_same_device(const std::vector<PortInfo>& ports, const UsbIdentity& device);

// Trial opens through a port driver, COM1..COM32: what the program could see
// before it had any other source (and what a simulated driver offers).
class DriverPortCatalogue final : public PortCatalogue {
 public:
    explicit DriverPortCatalogue(PortDriver& driver) : driver_(driver) {}
    std::vector<PortInfo> ports() override;
    // A driver reports nothing without opening.
    std::vector<PortInfo> devices() override { return {}; }

 private:
    PortDriver& driver_;
};
