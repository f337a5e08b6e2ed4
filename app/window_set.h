// The program's single-instance windows, created in their fixed order
// and kept in globals named after them.
#pragma once

#include <memory>

#include "about/ab_form.h"
#include "rx/rxs_form.h"
#include "settings/cs_form.h"
#include "tx/txf_form.h"
#include "tx/txi_form.h"
#include "tx/txs_form.h"
#include "ui/form.h"
#include "views/find_form.h"

class TMForm;

extern TMForm* MForm;
extern TCSForm* CSForm;
extern TTXFForm* TXFForm;
extern TTXIForm* TXIForm;
extern TRXSForm* RXSForm;
extern TAForm* AForm;
extern TTXSForm* TXSForm;
extern TFindForm* FindForm;

// Owns the windows: creates them in order (MForm first, so it is the
// main form) and destroys them in reverse, clearing the globals.
class WindowSet {
 public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

 private:
    std::unique_ptr<TMForm> m_;
    std::unique_ptr<TCSForm> cs_;
    std::unique_ptr<TTXFForm> txf_;
    std::unique_ptr<TTXIForm> txi_;
    std::unique_ptr<TRXSForm> rxs_;
    std::unique_ptr<TAForm> a_;
    std::unique_ptr<TTXSForm> txs_;
    std::unique_ptr<TFindForm> find_;
};
