// GDI drawing for paint handlers and bitmaps.
#include "ui/win32/gdi_canvas.h"

#include <vector>

#include "ui/backend.h"
#include "ui/utf16.h"
#include "ui/win32/win32_util.h"

namespace ui::win32 {

GdiCanvas::GdiCanvas(HDC dc, const Rect& clip) : dc_(dc), clip_(clip), saved_(SaveDC(dc))
{
    if (dpi() != 96) {
        SetMapMode(dc_, MM_ANISOTROPIC);
        SetWindowExtEx(dc_, 96, 96, nullptr);
        SetViewportExtEx(dc_, dpi(), dpi(), nullptr);
    }
}

GdiCanvas::~GdiCanvas()
{
    RestoreDC(dc_, saved_);  // before pen_obj_ goes: it may be the selected pen
}

void GdiCanvas::select_pen()
{
    if (pen.style == PenStyle::Clear) {
        SelectObject(dc_, GetStockObject(NULL_PEN));
        pen_obj_.reset();
        return;
    }
    if (pen_obj_ && made_pen_.color == pen.color && made_pen_.width == pen.width && made_pen_.style == pen.style)
        return;
    made_pen_ = pen;
    GdiObject<HPEN> made(CreatePen(pen.style == PenStyle::Dot ? PS_DOT : PS_SOLID, pen.width, colorref(pen.color)));
    SelectObject(dc_, made.get());
    pen_obj_ = std::move(made);  // the pen it replaced is no longer selected
}

void GdiCanvas::select_brush()
{
    SelectObject(dc_, brush.style == BrushStyle::Clear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                       : win32::brush(brush.color));
}

void GdiCanvas::select_font()
{
    SelectObject(dc_, canvas_font(font));
    SetTextColor(dc_, colorref(font.color));
    if (brush.style == BrushStyle::Clear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, colorref(brush.color));
    }
}

void GdiCanvas::fill_rect(const Rect& r)
{
    if (brush.style == BrushStyle::Clear) return;
    RECT rc{r.left, r.top, r.right, r.bottom};
    FillRect(dc_, &rc, win32::brush(brush.color));
}

void GdiCanvas::rectangle(const Rect& r)
{
    select_pen();
    select_brush();
    Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::line(Point a, Point b)
{
    select_pen();
    MoveToEx(dc_, a.x, a.y, nullptr);
    LineTo(dc_, b.x, b.y);
}

void GdiCanvas::text_out(Point p, std::string_view text)
{
    select_font();
    TextOutA(dc_, p.x, p.y, text.data(), static_cast<int>(text.size()));
}

void GdiCanvas::text_out_cells(Point p, std::u32string_view text, int cell)
{
    select_font();
    std::u16string units;
    std::vector<INT> dx;
    units.reserve(text.size());
    dx.reserve(text.size());
    for (char32_t c : text) {
        const std::size_t before = units.size();
        append_utf16(units, c);
        dx.push_back(cell);
        if (units.size() - before == 2) dx.push_back(0);  // a surrogate pair advances once
    }
    // The cell widths keep columns where the monospace font would put them even
    // for a glyph the system takes from another font.
    ExtTextOutW(dc_, p.x, p.y, 0, nullptr, reinterpret_cast<const wchar_t*>(units.data()),
                static_cast<UINT>(units.size()), dx.data());
}

void GdiCanvas::text_rect(const Rect& clip, Point p, std::string_view text)
{
    select_font();
    RECT rc{clip.left, clip.top, clip.right, clip.bottom};
    UINT opts = ETO_CLIPPED | (brush.style == BrushStyle::Clear ? 0 : ETO_OPAQUE);
    ExtTextOutA(dc_, p.x, p.y, opts, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
}

Size GdiCanvas::text_extent(std::string_view text)
{
    SelectObject(dc_, canvas_font(font));
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    if (text.empty()) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        s.cy = tm.tmHeight;
    }
    return Size{s.cx, s.cy};
}

void bitmap_bits(const Bitmap& bmp, std::vector<std::uint32_t>& out, BITMAPINFO& info)
{
    info = BITMAPINFO{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bmp.width();
    info.bmiHeader.biHeight = -bmp.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.resize(bmp.pixels().size());
    for (size_t i = 0; i < out.size(); ++i) {
        std::uint32_t v = bmp.pixels()[i];
        out[i] = (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
    }
}

void GdiCanvas::stretch_draw(const Rect& r, const Bitmap& bmp)
{
    if (bmp.empty()) return;
    BITMAPINFO info;
    std::vector<std::uint32_t> bits;
    bitmap_bits(bmp, bits, info);
    if (!bmp.transparent()) {
        StretchDIBits(dc_, r.left, r.top, r.width(), r.height(), 0, 0, bmp.width(), bmp.height(), bits.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // The classic two-pass mask: AND a mask that is white where transparent,
    // then OR the image with its transparent pixels made black.
    std::uint32_t key = bmp.transparent_color().value() & 0xFFFFFF;
    std::vector<std::uint32_t> mask(bits.size());
    for (size_t i = 0; i < bits.size(); ++i) {
        bool clear = (bmp.pixels()[i] & 0xFFFFFF) == key;
        mask[i] = clear ? 0xFFFFFF : 0;
        if (clear) bits[i] = 0;
    }
    StretchDIBits(dc_, r.left, r.top, r.width(), r.height(), 0, 0, bmp.width(), bmp.height(), mask.data(), &info,
                  DIB_RGB_COLORS, SRCAND);
    StretchDIBits(dc_, r.left, r.top, r.width(), r.height(), 0, 0, bmp.width(), bmp.height(), bits.data(), &info,
                  DIB_RGB_COLORS, SRCPAINT);
}

void GdiCanvas::draw(Point p, const Bitmap& bmp)
{
    stretch_draw(Rect::from_size(p.x, p.y, bmp.width(), bmp.height()), bmp);
}

void GdiCanvas::focus_rect(const Rect& r)
{
    RECT rc{r.left, r.top, r.right, r.bottom};
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, RGB(255, 255, 255));
    DrawFocusRect(dc_, &rc);
}

namespace {

// The memory DC a bitmap canvas draws on, with the DIB of the bitmap's
// pixels selected. A base made before the canvas, so the canvas restores a DC
// that is still there; then the DIB is selected out and both are deleted.
struct DibTarget {
    explicit DibTarget(GdiObject<HBITMAP> d) : dib(std::move(d)), dc(nullptr), selected(dc.get(), dib.get()) {}
    GdiObject<HBITMAP> dib;
    MemoryDc dc;
    Selection selected;
};

// Draws into a DIB section holding the bitmap's pixels; copies them back when done.
class BitmapCanvas : private DibTarget, public GdiCanvas {
 public:
    BitmapCanvas(Bitmap& bmp, GdiObject<HBITMAP> dib, std::uint32_t* bits)
        : DibTarget(std::move(dib)),
          GdiCanvas(DibTarget::dc.get(), Rect{0, 0, bmp.width(), bmp.height()}),
          bmp_(bmp),
          bits_(bits)
    {
    }
    ~BitmapCanvas() override
    {
        GdiFlush();
        auto& px = bmp_.pixels();
        for (size_t i = 0; i < px.size(); ++i) {
            std::uint32_t v = bits_[i];
            px[i] = (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
        }
        bmp_.touch();
    }

 private:
    Bitmap& bmp_;
    std::uint32_t* bits_;
};

}  // namespace

}  // namespace ui::win32

namespace ui::backend {

std::unique_ptr<Canvas> bitmap_canvas(Bitmap& bmp)
{
    BITMAPINFO info;
    std::vector<std::uint32_t> bits;
    win32::bitmap_bits(bmp, bits, info);
    void* data = nullptr;
    win32::GdiObject<HBITMAP> dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
    if (!dib) return nullptr;
    std::copy(bits.begin(), bits.end(), static_cast<std::uint32_t*>(data));
    return std::make_unique<win32::BitmapCanvas>(bmp, std::move(dib), static_cast<std::uint32_t*>(data));
}

}  // namespace ui::backend
