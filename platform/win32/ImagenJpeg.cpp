#include "platform/win32/ImagenJpeg.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "platform/win32/ErroresWin32.h"

namespace {

// Releases a COM interface at the end of its scope.
template <class I>
class Interfaz {
  public:
    Interfaz() = default;
    ~Interfaz() {
        if (p_ != nullptr) p_->Release();
    }
    Interfaz(const Interfaz&) = delete;
    Interfaz& operator=(const Interfaz&) = delete;
    I** Direccion() { return &p_; }
    I* operator->() const { return p_; }
    I* get() const { return p_; }

  private:
    I* p_ = nullptr;
};

Fallo FalloImagen(HRESULT hr) {
    return FalloWin32(static_cast<DWORD>(hr));
}

// The resource's bytes in a stream of their own: the picture loader reads a
// stream, and the resource memory must not be handed to it to free.
void AbrirFlujo(HINSTANCE modulo, int id, Interfaz<IStream>& flujo, DWORD& bytes) {
    HRSRC recurso = FindResourceW(modulo, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (recurso == nullptr) throw FalloWin32();
    HGLOBAL cargado = LoadResource(modulo, recurso);
    const void* datos = cargado != nullptr ? LockResource(cargado) : nullptr;
    bytes = SizeofResource(modulo, recurso);
    if (datos == nullptr || bytes == 0) throw FalloWin32();

    HGLOBAL copia = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (copia == nullptr) throw FalloWin32();
    void* destino = GlobalLock(copia);
    if (destino == nullptr) {
        const DWORD error = GetLastError();
        GlobalFree(copia);
        throw FalloWin32(error);
    }
    std::memcpy(destino, datos, bytes);
    GlobalUnlock(copia);
    // From here the stream owns the memory and frees it with itself.
    const HRESULT hr = CreateStreamOnHGlobal(copia, TRUE, flujo.Direccion());
    if (FAILED(hr)) {
        GlobalFree(copia);
        throw FalloImagen(hr);
    }
}

}  // namespace

Imagen CargarJpegDeRecurso(HINSTANCE modulo, int id) {
    Interfaz<IStream> flujo;
    DWORD bytes = 0;
    AbrirFlujo(modulo, id, flujo, bytes);

    Interfaz<IPicture> dibujo;
    HRESULT hr = OleLoadPicture(flujo.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(dibujo.Direccion()));
    if (FAILED(hr)) throw FalloImagen(hr);
    OLE_HANDLE mango = 0;
    hr = dibujo->get_Handle(&mango);
    if (FAILED(hr)) throw FalloImagen(hr);
    HBITMAP delDibujo = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(mango));
    BITMAP datos{};
    if (GetObjectW(delDibujo, sizeof datos, &datos) == 0) throw FalloWin32();

    // The picture object owns its bitmap and deletes it on release: keep a copy.
    Imagen imagen;
    imagen.bitmap = BitmapGdi(
        static_cast<HBITMAP>(CopyImage(delDibujo, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!imagen.bitmap) throw FalloWin32();
    imagen.tamano = SIZE{datos.bmWidth, datos.bmHeight};
    return imagen;
}

Imagen EscalarImagen(const Imagen& origen, SIZE tamano) {
    DcVentana pantalla(nullptr);
    DcMemoria dcOrigen(pantalla.get());
    DcMemoria dcDestino(pantalla.get());
    if (dcOrigen.get() == nullptr || dcDestino.get() == nullptr) throw FalloWin32();

    Imagen escalada;
    escalada.bitmap = BitmapGdi(CreateCompatibleBitmap(pantalla.get(), tamano.cx, tamano.cy));
    if (!escalada.bitmap) throw FalloWin32();
    escalada.tamano = tamano;
    {
        Seleccion so(dcOrigen.get(), origen.bitmap.get());
        Seleccion sd(dcDestino.get(), escalada.bitmap.get());
        SetStretchBltMode(dcDestino.get(), HALFTONE);
        SetBrushOrgEx(dcDestino.get(), 0, 0, nullptr);
        if (!StretchBlt(dcDestino.get(), 0, 0, tamano.cx, tamano.cy, dcOrigen.get(), 0, 0,
                        origen.tamano.cx, origen.tamano.cy, SRCCOPY)) {
            throw FalloWin32();
        }
    }
    return escalada;
}
