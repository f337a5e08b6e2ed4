// A port catalogue whose answer a test writes: names, USB identities and busy
// ports that no pty under Wine can show.
#pragma once

#include <vector>

#include "link/port_catalogue.h"

class FakePortCatalogue final : public PortCatalogue {
 public:
    std::vector<PortInfo> list;  // kept ascending by the test
    int calls = 0;

    std::vector<PortInfo> ports() override
    {
        ++calls;
        return list;
    }
    // A USB adapter on COMn.
    static PortInfo usb(int n, const char* name, std::uint16_t vid, std::uint16_t pid, const char* serial = "",
                        bool in_use = false)
    {
        PortInfo p;
        p.number = n;
        p.name = name;
        p.usb = {vid, pid, serial};
        p.in_use = in_use;
        return p;
    }
};
