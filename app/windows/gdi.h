#pragma once
// Owners for the GDI objects made during one paint: each is deleted, and each
// selection undone, when its owner goes out of scope.

#include <windows.h>

#include <string>
#include <utility>

namespace gdi {

// A pen, brush, font, bitmap or region made for a while.
template <typename Handle>
class Object {
public:
    explicit Object(Handle handle = nullptr) : handle_(handle) {}
    ~Object() {
        if (handle_ != nullptr) DeleteObject(handle_);
    }
    Object(Object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Object& operator=(Object&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    Handle get() const { return handle_; }
    operator Handle() const { return handle_; }

private:
    Handle handle_;
};

using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Font = Object<HFONT>;
using Bitmap = Object<HBITMAP>;

inline Pen solidPen(int width, COLORREF colour) { return Pen(CreatePen(PS_SOLID, width, colour)); }
inline Brush solidBrush(COLORREF colour) { return Brush(CreateSolidBrush(colour)); }

// An icon loaded at a chosen size (not shared, so it is destroyed).
class Icon {
public:
    explicit Icon(HICON icon) : icon_(icon) {}
    ~Icon() {
        if (icon_ != nullptr) DestroyIcon(icon_);
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

// Selects an object into a context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory context compatible with `dc`, with a bitmap of the given size
// selected into it: the off-screen surface of a paint.
class OffscreenSurface {
public:
    OffscreenSurface(HDC dc, int width, int height)
        : dc_(CreateCompatibleDC(dc)),
          bitmap_(CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1)),
          previous_(SelectObject(dc_, bitmap_)) {}
    ~OffscreenSurface() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;
    HDC dc() const { return dc_; }
    // Whether both the context and the bitmap could be made.
    bool ready() const { return dc_ != nullptr && bitmap_ != nullptr; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint.
class Paint {
public:
    explicit Paint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~Paint() {
        if (window_ != nullptr) EndPaint(window_, &paint_);
    }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;
    HDC dc() const { return dc_; }
    // The rectangle to repaint, in client coordinates.
    const RECT& area() const { return paint_.rcPaint; }
    // Ends the paint now, for a caller that reports EndPaint's result.
    BOOL end() {
        const BOOL ended = EndPaint(window_, &paint_);
        window_ = nullptr;
        return ended;
    }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// SaveDC and RestoreDC.
class SavedState {
public:
    explicit SavedState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedState() { RestoreDC(dc_, saved_); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// GetDC and ReleaseDC: a window's context outside painting, for measuring.
class WindowContext {
public:
    explicit WindowContext(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowContext() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Text in one colour at a point, or formatted in a box; an '&' is shown, not
// taken for a mnemonic.
inline void textAt(HDC dc, int x, int y, const std::wstring& text, COLORREF colour) {
    SetTextColor(dc, colour);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

inline void textIn(HDC dc, RECT box, const std::wstring& text, COLORREF colour, UINT format) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
}

}  // namespace gdi
