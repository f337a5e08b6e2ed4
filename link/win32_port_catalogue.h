// The port catalogue of the product: the registry's SERIALCOMM map, SetupAPI's
// ports and COM port interfaces, QueryDosDevice, then trial opens (only the
// Windows build has its implementation, win32_port_catalogue_win32.cpp).
#pragma once

#include "link/port_catalogue.h"

class Win32PortCatalogue final : public PortCatalogue {
 public:
    std::vector<PortInfo> ports() override;
    std::vector<PortInfo> devices() override;
    // What each source answers now, before the merge.
    static PortSources read_sources();
};
