// The system's sources of present ports. Under Wine 8 only SERIALCOMM (ports
// the mount manager made at prefix start), QueryDosDevice (the same) and the
// trial open (every link, hand-made ones too) answer; SetupAPI's sets are empty.
#include <windows.h>

#include <setupapi.h>
#include <cfgmgr32.h>

#include <string>
#include <vector>

#include "link/win32_port_catalogue.h"
#include "platform/kernel_handle_win32.h"

namespace {

// GUID_DEVCLASS_PORTS and GUID_DEVINTERFACE_COMPORT, spelled out so no header
// decides whether they are defined here.
constexpr GUID ports_class = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
constexpr GUID comport_interface = {0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

class RegKey {
 public:
    RegKey() = default;
    explicit RegKey(HKEY k) : key_(k) {}
    ~RegKey()
    {
        if (key_) RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY get() const { return key_; }
    HKEY* out() { return &key_; }

 private:
    HKEY key_ = nullptr;
};

class DeviceSet {
 public:
    explicit DeviceSet(HDEVINFO set) : set_(set) {}
    ~DeviceSet()
    {
        if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    }
    DeviceSet(const DeviceSet&) = delete;
    DeviceSet& operator=(const DeviceSet&) = delete;
    HDEVINFO get() const { return set_; }
    bool valid() const { return set_ != INVALID_HANDLE_VALUE; }

 private:
    HDEVINFO set_;
};

// A REG_SZ value, or empty.
std::string string_value(HKEY key, const char* name)
{
    char buffer[256] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::string(buffer);
}

std::vector<std::string> serialcomm()
{
    std::vector<std::string> out;
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0; i < 1024; ++i) {
        char name[256], data[64];
        DWORD name_size = sizeof name, data_size = sizeof data - 1, type = 0;
        const LONG r =
            RegEnumValueA(key.get(), i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data), &data_size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        data[data_size < sizeof data ? data_size : sizeof data - 1] = '\0';
        out.emplace_back(data);
    }
    return out;
}

std::string device_property(HDEVINFO set, SP_DEVINFO_DATA& data, DWORD property)
{
    char buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, &data, property, &type, reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - 1, nullptr))
        return {};
    return type == REG_SZ ? std::string(buffer) : std::string();
}

std::string parent_id(DEVINST device)
{
    DEVINST parent = 0;
    if (CM_Get_Parent(&parent, device, 0) != CR_SUCCESS) return {};
    char buffer[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDA(parent, buffer, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) return {};
    return buffer;
}

void add_devices(const GUID& guid, DWORD flags, std::vector<PortDevice>& out)
{
    DeviceSet set(SetupDiGetClassDevsA(&guid, nullptr, nullptr, flags));
    if (!set.valid()) return;
    for (DWORD i = 0; i < 1024; ++i) {
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInfo(set.get(), i, &data)) break;
        PortDevice d;
        {
            const HKEY raw = SetupDiOpenDevRegKey(set.get(), &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
            if (raw == INVALID_HANDLE_VALUE || !raw) continue;
            RegKey key(raw);
            d.port_name = string_value(key.get(), "PortName");
        }
        if (d.port_name.empty()) continue;  // a parallel port of the same class
        d.friendly_name = device_property(set.get(), data, SPDRP_FRIENDLYNAME);
        char id[MAX_DEVICE_ID_LEN + 1] = {};
        if (SetupDiGetDeviceInstanceIdA(set.get(), &data, id, sizeof id, nullptr)) d.instance_id = id;
        d.parent_instance_id = parent_id(data.DevInst);
        out.push_back(std::move(d));
    }
}

std::vector<std::string> dos_devices()
{
    std::vector<char> buffer(16384);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD got = QueryDosDeviceA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got != 0) {
            std::vector<std::string> out;
            for (DWORD i = 0; i < got && buffer[i];) {
                std::string name(&buffer[i]);
                i += static_cast<DWORD>(name.size()) + 1;
                if (port_number_of(name) != 0) out.push_back(std::move(name));
            }
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

PortProbe trial_open(int n)
{
    const std::string name = "\\\\.\\COM" + std::to_string(n);
    KernelHandle h(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (h) return PortProbe::free;  // closed again here, at once
    const DWORD e = GetLastError();
    return e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION ? PortProbe::in_use : PortProbe::absent;
}

}  // namespace

PortSources Win32PortCatalogue::read_sources()
{
    PortSources s;
    s.serialcomm = serialcomm();
    add_devices(ports_class, DIGCF_PRESENT, s.devices);
    add_devices(comport_interface, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE, s.devices);
    s.dos_devices = dos_devices();
    return s;
}

std::vector<PortInfo> Win32PortCatalogue::ports()
{
    return merge_ports(read_sources(), trial_open);
}

std::vector<PortInfo> Win32PortCatalogue::devices()
{
    return merge_ports(read_sources(), nullptr, 0);
}
