#pragma once
// Owners for GDI objects, icons and device contexts: each handle is released
// by a destructor, so no paint or load path can leak one on an early return.

#include <windows.h>

#include <utility>

// A font, pen, brush or bitmap that we created and must delete.
template <class H>
class ObjetoGdi {
  public:
    ObjetoGdi() = default;
    explicit ObjetoGdi(H h) : h_(h) {}
    ~ObjetoGdi() { Liberar(); }
    ObjetoGdi(ObjetoGdi&& otro) noexcept : h_(std::exchange(otro.h_, nullptr)) {}
    ObjetoGdi& operator=(ObjetoGdi&& otro) noexcept {
        if (this != &otro) {
            Liberar();
            h_ = std::exchange(otro.h_, nullptr);
        }
        return *this;
    }
    ObjetoGdi(const ObjetoGdi&) = delete;
    ObjetoGdi& operator=(const ObjetoGdi&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

  private:
    void Liberar() {
        if (h_ != nullptr) DeleteObject(h_);
        h_ = nullptr;
    }
    H h_ = nullptr;
};

using FuenteGdi = ObjetoGdi<HFONT>;
using BitmapGdi = ObjetoGdi<HBITMAP>;

// An icon loaded without LR_SHARED: it is ours to destroy.
class IconoPropio {
  public:
    IconoPropio() = default;
    explicit IconoPropio(HICON h) : h_(h) {}
    ~IconoPropio() {
        if (h_ != nullptr) DestroyIcon(h_);
    }
    IconoPropio(IconoPropio&& otro) noexcept : h_(std::exchange(otro.h_, nullptr)) {}
    IconoPropio& operator=(IconoPropio&& otro) noexcept {
        if (this != &otro) {
            if (h_ != nullptr) DestroyIcon(h_);
            h_ = std::exchange(otro.h_, nullptr);
        }
        return *this;
    }
    IconoPropio(const IconoPropio&) = delete;
    IconoPropio& operator=(const IconoPropio&) = delete;

    HICON get() const { return h_; }

  private:
    HICON h_ = nullptr;
};

// A window's (or the screen's, with nullptr) device context from GetDC.
class DcVentana {
  public:
    explicit DcVentana(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~DcVentana() {
        if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
    }
    DcVentana(const DcVentana&) = delete;
    DcVentana& operator=(const DcVentana&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// A memory device context compatible with another.
class DcMemoria {
  public:
    explicit DcMemoria(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~DcMemoria() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    DcMemoria(const DcMemoria&) = delete;
    DcMemoria& operator=(const DcMemoria&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// An object selected into a DC for one scope; the previous one comes back,
// so that the owner can delete its object once it is no longer selected.
class Seleccion {
  public:
    Seleccion(HDC dc, HGDIOBJ objeto) : dc_(dc), anterior_(SelectObject(dc, objeto)) {}
    ~Seleccion() {
        if (anterior_ != nullptr && anterior_ != HGDI_ERROR) SelectObject(dc_, anterior_);
    }
    Seleccion(const Seleccion&) = delete;
    Seleccion& operator=(const Seleccion&) = delete;

  private:
    HDC dc_;
    HGDIOBJ anterior_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class Pintura {
  public:
    explicit Pintura(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~Pintura() { EndPaint(hwnd_, &ps_); }
    Pintura(const Pintura&) = delete;
    Pintura& operator=(const Pintura&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};
