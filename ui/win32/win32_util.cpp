// Module instance, DPI scaling, colour/font/brush caches, peer lookup and the
// exception fence of the window procedures.
#include "ui/win32/win32_util.h"

#include <commctrl.h>

#include <cstdio>
#include <map>
#include <memory>
#include <unordered_set>

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/form.h"
#include "ui/win32/gdi_handle.h"
#include "ui/win32/window_peer.h"

namespace ui::win32 {

namespace {
std::exception_ptr g_pending;

HFONT make_font(const Font& f, int height, bool device)
{
    static std::map<std::string, GdiObject<HFONT>> cache;
    char key[160];
    std::snprintf(key, sizeof key, "%s|%d|%d%d%d|%d", f.name.c_str(), height, f.bold, f.italic, f.underline, device);
    auto& slot = cache[key];
    if (!slot) {
        LOGFONTA lf{};
        lf.lfHeight = -height;
        lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = f.italic;
        lf.lfUnderline = f.underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = f.name == "Courier" || f.name == "Courier New" ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH;
        lstrcpynA(lf.lfFaceName, f.name.c_str(), LF_FACESIZE);
        slot.reset(CreateFontIndirectA(&lf));
    }
    return slot.get();
}
}  // namespace

HINSTANCE instance()
{
    return GetModuleHandleA(nullptr);
}

void init_common_controls()
{
    static bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                 ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&icc) != 0;
    }();
    (void)done;
}

int dpi()
{
    static int value = [] {
        SetProcessDPIAware();  // the manifest says so too; this covers a missing one
        WindowDc screen(nullptr);
        int d = GetDeviceCaps(screen.get(), LOGPIXELSY);
        return d > 0 ? d : 96;
    }();
    return value;
}

int scale(int v)
{
    return MulDiv(v, dpi(), 96);
}
int unscale(int v)
{
    return MulDiv(v, 96, dpi());
}

RECT to_device(const Rect& r)
{
    return RECT{scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
}
Rect from_device(const RECT& r)
{
    return Rect{unscale(r.left), unscale(r.top), unscale(r.right), unscale(r.bottom)};
}

COLORREF colorref(Color c)
{
    if (c.is_system()) return GetSysColor(static_cast<int>(c.sys()));
    return c.value() & 0xFFFFFF;
}

HBRUSH brush(Color c)
{
    static std::map<COLORREF, GdiObject<HBRUSH>> cache;
    COLORREF rgb = colorref(c);
    auto& slot = cache[rgb];
    if (!slot) slot.reset(CreateSolidBrush(rgb));
    return slot.get();
}

HFONT window_font(const Font& f)
{
    int h = f.pixels > 0 ? scale(f.pixels) : MulDiv(f.points, dpi(), 72);
    return make_font(f, h, true);
}

HFONT canvas_font(const Font& f)
{
    return make_font(f, f.height_px(), false);
}

static std::unordered_set<const WindowPeer*>& live_peers()
{
    static std::unordered_set<const WindowPeer*> set;
    return set;
}

void register_peer(const WindowPeer* p, bool alive)
{
    if (alive)
        live_peers().insert(p);
    else
        live_peers().erase(p);
}

WindowPeer* peer_of(HWND w)
{
    if (!w) return nullptr;
    auto* p = reinterpret_cast<WindowPeer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    return p && live_peers().count(p) && p->hwnd() == w ? p : nullptr;
}

Form* form_of(HWND w)
{
    WindowPeer* p = peer_of(GetAncestor(w, GA_ROOT));
    return p && p->control().kind() == ControlKind::Form ? static_cast<Form*>(&p->control()) : nullptr;
}

void dispatch(const std::function<void()>& action)
{
    try {
        app().guard(action);
    } catch (...) {
        if (!g_pending) g_pending = std::current_exception();
    }
}

void rethrow_pending()
{
    if (g_pending) {
        auto e = g_pending;
        g_pending = nullptr;
        std::rethrow_exception(e);
    }
}

}  // namespace ui::win32
