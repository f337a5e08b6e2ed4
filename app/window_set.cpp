// Creation order and lifetime of the program's windows.
#include "app/window_set.h"

#include "app/m_form.h"

TMForm* MForm = nullptr;
TCSForm* CSForm = nullptr;
TTXFForm* TXFForm = nullptr;
TTXIForm* TXIForm = nullptr;
TRXSForm* RXSForm = nullptr;
TAForm* AForm = nullptr;
TTXSForm* TXSForm = nullptr;

namespace {

// A hidden dialog-style window, centred on the main window when shown.
void placeholder(ui::Form& f, const char* caption)
{
    f.set_caption(caption);
    f.set_border_style(ui::BorderStyle::Dialog);
    f.set_position(ui::Position::MainFormCenter);
    f.set_client_size(320, 160);
}

}  // namespace

TTXFForm::TTXFForm() : ui::Form("TXFForm")
{
    placeholder(*this, "Send file");
}
TTXIForm::TTXIForm() : ui::Form("TXIForm")
{
    placeholder(*this, "Send integer");
}
TTXSForm::TTXSForm() : ui::Form("TXSForm")
{
    placeholder(*this, "Send string");
}

WindowSet::WindowSet()
{
    m_ = std::make_unique<TMForm>();
    MForm = m_.get();
    cs_ = std::make_unique<TCSForm>();
    CSForm = cs_.get();
    txf_ = std::make_unique<TTXFForm>();
    TXFForm = txf_.get();
    txi_ = std::make_unique<TTXIForm>();
    TXIForm = txi_.get();
    rxs_ = std::make_unique<TRXSForm>();
    RXSForm = rxs_.get();
    rxs_->on_saved = [m = m_.get()](std::int32_t start, std::int32_t end) { m->hex.select_saved(start, end); };
    a_ = std::make_unique<TAForm>();
    AForm = a_.get();
    txs_ = std::make_unique<TTXSForm>();
    TXSForm = txs_.get();
}

WindowSet::~WindowSet()
{
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
