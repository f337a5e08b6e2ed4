// The program's serial link, its port settings record, and the nine
// single-instance windows, created in their fixed order and kept in globals
// named after them.
#pragma once

#include <memory>

#include "about/ab_form.h"
#include "link/link_resources.h"
#include "link/port_catalogue.h"
#include "link/port_driver.h"
#include "link/port_settings.h"
#include "link/serial_link.h"
#include "rx/rxs_form.h"
#include "settings/cs_form.h"
#include "tx/txf_form.h"
#include "tx/txi_form.h"
#include "tx/transfer/xfer_form.h"
#include "tx/txs_form.h"
#include "ui/form.h"
#include "views/find/find_form.h"

class TMForm;

extern TMForm* MForm;
extern TCSForm* CSForm;
extern TTXFForm* TXFForm;
extern TTXIForm* TXIForm;
extern TRXSForm* RXSForm;
extern TAForm* AForm;
extern TTXSForm* TXSForm;
extern TFindForm* FindForm;
extern TXferForm* XferForm;

// Owns the link over `driver` and the record it connects with, and hands them
// to the windows that use them; creates the nine windows in order (MForm
// first, so it is the main form) and destroys them in reverse, clearing the
// globals, before the link.
class WindowSet {
 public:
    // Without a catalogue, the ports are found by trial opens through `driver`.
    explicit WindowSet(PortDriver& driver);
    WindowSet(PortDriver& driver, LinkResources& resources);
    WindowSet(PortDriver& driver, PortCatalogue& catalogue);
    WindowSet(PortDriver& driver, LinkResources& resources, PortCatalogue& catalogue);
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    SerialLink& link() { return link_; }
    PortSettings& port_settings() { return port_settings_; }
    PortCatalogue& catalogue() { return *catalogue_; }

 private:
    void create_windows();

    PortSettings port_settings_;  // what the settings file and the port dialog read and write
    SerialLink link_;
    std::unique_ptr<PortCatalogue> own_catalogue_;
    PortCatalogue* catalogue_;
    std::unique_ptr<TMForm> m_;
    std::unique_ptr<TCSForm> cs_;
    std::unique_ptr<TTXFForm> txf_;
    std::unique_ptr<TTXIForm> txi_;
    std::unique_ptr<TRXSForm> rxs_;
    std::unique_ptr<TAForm> a_;
    std::unique_ptr<TTXSForm> txs_;
    std::unique_ptr<TFindForm> find_;
    std::unique_ptr<TXferForm> xfer_;
};
