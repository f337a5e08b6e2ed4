// Scoped GDI resources: each one is given back on every way out of its scope,
// in the reverse order of its making, so no paint path leaks a handle or
// deletes an object still selected into a device context.
#pragma once

#include <windows.h>

#include <utility>

namespace ui::win32 {

// Owns a font, brush, pen or bitmap and deletes it (DeleteObject).
template <class Handle>
class GdiObject {
 public:
    GdiObject() = default;
    explicit GdiObject(Handle h) : handle_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(other.release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Deletes the object held now and takes h.
    void reset(Handle h = nullptr)
    {
        if (handle_) DeleteObject(handle_);
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, nullptr); }

 private:
    Handle handle_ = nullptr;
};

// Selects an object into a device context and selects back the one it replaced.
class Selection {
 public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection()
    {
        if (old_) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

 private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory device context compatible with `like` (nullptr: the screen), deleted when done.
class MemoryDc {
 public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc()
    {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }

 private:
    HDC dc_;
};

// A window's device context (GetDC; nullptr: the screen), released when done.
class WindowDc {
 public:
    explicit WindowDc(HWND w) : window_(w), dc_(GetDC(w)) {}
    ~WindowDc()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

 private:
    HWND window_;
    HDC dc_;
};

// The painting context of a WM_PAINT (BeginPaint), ended when done.
class PaintDc {
 public:
    explicit PaintDc(HWND w) : window_(w), dc_(BeginPaint(w, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }
    // The area to repaint (device pixels).
    const RECT& area() const { return paint_.rcPaint; }

 private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace ui::win32
