// Creation order and lifetime of the program's windows.
#include "app/window_set.h"

#include "app/m_form.h"
#include "app/find_hit.h"

TMForm* MForm = nullptr;
TCSForm* CSForm = nullptr;
TTXFForm* TXFForm = nullptr;
TTXIForm* TXIForm = nullptr;
TRXSForm* RXSForm = nullptr;
TAForm* AForm = nullptr;
TTXSForm* TXSForm = nullptr;
TFindForm* FindForm = nullptr;
TXferForm* XferForm = nullptr;

WindowSet::WindowSet(PortDriver& driver)
    : link_(driver), own_catalogue_(std::make_unique<DriverPortCatalogue>(driver)), catalogue_(own_catalogue_.get())
{
    create_windows();
}

WindowSet::WindowSet(PortDriver& driver, LinkResources& resources)
    : link_(driver, resources),
      own_catalogue_(std::make_unique<DriverPortCatalogue>(driver)),
      catalogue_(own_catalogue_.get())
{
    create_windows();
}

WindowSet::WindowSet(PortDriver& driver, PortCatalogue& catalogue) : link_(driver), catalogue_(&catalogue)
{
    create_windows();
}

WindowSet::WindowSet(PortDriver& driver, LinkResources& resources, PortCatalogue& catalogue)
    : link_(driver, resources), catalogue_(&catalogue)
{
    create_windows();
}

void WindowSet::create_windows()
{
    m_ = std::make_unique<TMForm>(link_, port_settings_);
    MForm = m_.get();
    m_->port_watch.set_catalogue(*catalogue_);
    cs_ = std::make_unique<TCSForm>(link_, port_settings_, *catalogue_);
    CSForm = cs_.get();
    txf_ = std::make_unique<TTXFForm>(link_);
    TXFForm = txf_.get();
    txi_ = std::make_unique<TTXIForm>(link_);
    TXIForm = txi_.get();
    rxs_ = std::make_unique<TRXSForm>(link_);
    RXSForm = rxs_.get();
    rxs_->on_saved = [m = m_.get()](std::int32_t start, std::int32_t end) { m->hex.select_saved(start, end); };
    a_ = std::make_unique<TAForm>();
    AForm = a_.get();
    txs_ = std::make_unique<TTXSForm>(link_);
    TXSForm = txs_.get();
    // The "Default" end-of-line mark follows the text view's line-break mode.
    TXSForm->line_break_mode = [] { return MForm ? MForm->text_page.line_break_mode() : 0; };
    find_ = std::make_unique<TFindForm>(link_);
    FindForm = find_.get();
    FindForm->on_hit = [m = m_.get()](std::int32_t start, std::int32_t length) {
        show_find_hit(m->hex, m->text_page, m->follow, start, length);
    };
    xfer_ = std::make_unique<TXferForm>(link_);
    XferForm = xfer_.get();
}

WindowSet::~WindowSet()
{
    XferForm = nullptr;
    xfer_.reset();
    FindForm = nullptr;
    find_.reset();
    TXSForm = nullptr;
    txs_.reset();
    AForm = nullptr;
    a_.reset();
    RXSForm = nullptr;
    rxs_.reset();
    TXIForm = nullptr;
    txi_.reset();
    TXFForm = nullptr;
    txf_.reset();
    CSForm = nullptr;
    cs_.reset();
    MForm = nullptr;
    m_.reset();
}
