#include "platform/win32/Win32Printing.h"

#include <windows.h>
// Not part of windows.h with WIN32_LEAN_AND_MEAN.
#include <winspool.h>

#include <climits>
#include <cmath>
#include <type_traits>

#include "platform/win32/ErroresWin32.h"
#include "platform/win32/FallosImpresion.h"
#include "platform/win32/Texto.h"
#include "platform/win32/Win32ColaImpresora.h"
#include "platform/win32/Win32TrabajoRaw.h"

namespace {

// What the user reads when a call fails without a system error number.
constexpr char kSinImpresoras[] = "No hay ninguna impresora instalada";
constexpr char kArgumentoNoValido[] = "Llamada a procedimiento o argumento no válidos";
constexpr char kValorNoValido[] = "El valor de la propiedad no es válido";
constexpr char kNoAceptaPagina[] = "La impresora no ha aceptado la página";
constexpr char kNoUsaFuente[] = "No se puede usar la fuente en la impresora";

void ValidarTamanoFuente(float puntos) {
    if (!std::isfinite(puntos) || !(puntos > 0.0f) || puntos > kTamanoFuenteMaximo) {
        throw Fallo(errores::kValorPropiedadNoValido, kValorNoValido);
    }
}

struct BorrarDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using Dc = std::unique_ptr<std::remove_pointer_t<HDC>, BorrarDc>;

struct BorrarFuente {
    void operator()(HFONT fuente) const { DeleteObject(fuente); }
};
using Fuente = std::unique_ptr<std::remove_pointer_t<HFONT>, BorrarFuente>;

Dc AbrirDc(const std::wstring& impresora) {
    SetLastError(ERROR_SUCCESS);
    Dc dc(CreateDCW(L"WINSPOOL", impresora.c_str(), nullptr, nullptr));
    if (!dc) throw FalloImpresion(kNoSeAbreImpresora);
    return dc;
}

// A started print job: aborted, so that the spooler drops it, unless it ended.
class Trabajo {
  public:
    explicit Trabajo(HDC dc) : dc_(dc) {
        const std::wstring nombre = Ancho(kDocumentoImpresion);
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = nombre.c_str();
        SetLastError(ERROR_SUCCESS);
        id_ = StartDocW(dc_, &info);
        if (id_ <= 0) throw FalloImpresion(kNoAceptaDocumento);
    }
    ~Trabajo() {
        if (abierto_) AbortDoc(dc_);
    }
    Trabajo(const Trabajo&) = delete;
    Trabajo& operator=(const Trabajo&) = delete;

    // Ends the job and follows it, as a RAW job is followed: one stuck
    // behind a printer that is off is deleted, and fails with 1906.
    void Terminar(const std::wstring& impresora) {
        SetLastError(ERROR_SUCCESS);
        if (::EndDoc(dc_) <= 0) throw FalloImpresion(kDocumentoRechazado);
        abierto_ = false;
        HANDLE abierta = nullptr;
        std::wstring nombre = impresora;
        if (!OpenPrinterW(nombre.data(), &abierta, nullptr)) return;
        const ImpresoraAbierta cerrar(abierta);
        ComprobarTrabajoEntregado(abierta, static_cast<DWORD>(id_));
    }

  private:
    HDC dc_;
    int id_ = 0;
    bool abierto_ = true;
};

std::vector<std::string> ImpresorasInstaladas() {
    constexpr DWORD kTipos = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    std::vector<BYTE> datos;
    DWORD necesarios = 0;
    DWORD cuantas = 0;
    // The list may grow between the call that sizes it and the one that fills it.
    while (!EnumPrintersW(kTipos, nullptr, 4, datos.data(), static_cast<DWORD>(datos.size()),
                          &necesarios, &cuantas)) {
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || necesarios <= datos.size()) {
            throw FalloWin32(error);
        }
        datos.resize(necesarios);
    }
    std::vector<std::string> nombres;
    nombres.reserve(cuantas);
    const auto* impresoras = reinterpret_cast<const PRINTER_INFO_4W*>(datos.data());
    for (DWORD i = 0; i < cuantas; ++i) {
        nombres.push_back(Utf8(impresoras[i].pPrinterName ? impresoras[i].pPrinterName : L""));
    }
    return nombres;
}

std::string ImpresoraPredeterminada() {
    DWORD largo = 0;
    GetDefaultPrinterW(nullptr, &largo);
    std::wstring nombre(largo, L'\0');
    if (largo == 0 || !GetDefaultPrinterW(nombre.data(), &largo)) {
        const DWORD error = GetLastError();
        if (ImpresorasInstaladas().empty()) {
            throw Fallo(errores::kImpresoraNoDisponible, kSinImpresoras);
        }
        throw FalloWin32(error);
    }
    nombre.resize(largo > 0 ? largo - 1 : 0);  // without the terminating null
    return Utf8(nombre);
}

}  // namespace

int AlturaFuente(float puntos, int pixelesPorPulgada) {
    ValidarTamanoFuente(puntos);
    const long altura = std::lround(static_cast<double>(puntos) * pixelesPorPulgada / 72.0);
    // Height 0 asks GDI for its default size: the smallest size is one pixel.
    return -static_cast<int>(std::max(altura, 1L));
}

// One document on the printer: its DC, its job, the font selected into it and
// where the next text goes. Destroying it releases all of them, in order.
class Win32Printing::Documento {
  public:
    explicit Documento(const std::wstring& impresora)
        : impresora_(impresora), dc_(AbrirDc(impresora)), trabajo_(dc_.get()) {
        EmpezarPagina();
    }
    ~Documento() {
        // The font is deleted after the DC's own font is back in it.
        if (fuenteOriginal_) SelectObject(dc_.get(), fuenteOriginal_);
    }
    Documento(const Documento&) = delete;
    Documento& operator=(const Documento&) = delete;

    // Changes the face, the size or both; what is not given stays as it is.
    void CambiarFuente(const std::optional<std::string>& cara, std::optional<float> puntos) {
        HDC dc = dc_.get();
        LOGFONTW actual{};
        HGDIOBJ seleccionada = GetCurrentObject(dc, OBJ_FONT);
        if (!seleccionada || !GetObjectW(seleccionada, sizeof actual, &actual)) {
            throw FalloImpresion(kNoUsaFuente);
        }
        std::wstring nombre = cara ? Ancho(*cara) : std::wstring(actual.lfFaceName);
        int altura = actual.lfHeight;
        if (puntos) altura = AlturaFuente(*puntos, GetDeviceCaps(dc, LOGPIXELSY));
        SetLastError(ERROR_SUCCESS);
        // An unknown face is not a failure: GDI substitutes a font it has.
        Fuente nueva(CreateFontW(altura, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, nombre.c_str()));
        if (!nueva) throw FalloImpresion(kNoUsaFuente);
        Seleccionar(nueva.get());
        fuente_ = std::move(nueva);  // the previous font is no longer selected
    }

    void Imprimir(std::wstring_view texto, bool finLinea) {
        if (texto.size() > INT_MAX) throw Fallo(errores::kArgumentoNoValido, kArgumentoNoValido);
        HDC dc = dc_.get();
        const int alto = AltoLinea();
        if (x_ == 0 && y_ > 0 && y_ + alto > GetDeviceCaps(dc, VERTRES)) {
            TerminarPagina();
            EmpezarPagina();
        }
        if (!texto.empty()) {
            const int largo = static_cast<int>(texto.size());
            SetLastError(ERROR_SUCCESS);
            if (!TextOutW(dc, x_, y_, texto.data(), largo))
                throw FalloImpresion(kNoEscribeImpresora);
            SIZE tamano{};
            if (GetTextExtentPoint32W(dc, texto.data(), largo, &tamano)) x_ += tamano.cx;
        }
        if (finLinea) {
            x_ = 0;
            y_ += alto;
        }
    }

    void Terminar() {
        TerminarPagina();
        trabajo_.Terminar(impresora_);
    }

  private:
    void EmpezarPagina() {
        SetLastError(ERROR_SUCCESS);
        if (StartPage(dc_.get()) <= 0) throw FalloImpresion(kNoAceptaPagina);
        // Some drivers reset the DC at each page: the font is selected again.
        if (fuente_) Seleccionar(fuente_.get());
        x_ = 0;
        y_ = 0;
    }

    void TerminarPagina() {
        SetLastError(ERROR_SUCCESS);
        if (EndPage(dc_.get()) <= 0) throw FalloImpresion(kDocumentoRechazado);
    }

    void Seleccionar(HFONT fuente) {
        SetLastError(ERROR_SUCCESS);
        HGDIOBJ anterior = SelectObject(dc_.get(), fuente);
        if (!anterior || anterior == HGDI_ERROR) throw FalloImpresion(kNoUsaFuente);
        if (!fuenteOriginal_) fuenteOriginal_ = anterior;
    }

    int AltoLinea() const {
        TEXTMETRICW metricas{};
        SetLastError(ERROR_SUCCESS);
        if (!GetTextMetricsW(dc_.get(), &metricas)) throw FalloImpresion(kNoUsaFuente);
        return metricas.tmHeight + metricas.tmExternalLeading;
    }

    // Declared in the order they are made; destroyed the other way round.
    std::wstring impresora_;
    Dc dc_;
    Trabajo trabajo_;
    Fuente fuente_;
    HGDIOBJ fuenteOriginal_ = nullptr;
    int x_ = 0;
    int y_ = 0;
};

Win32Printing::Win32Printing() = default;
Win32Printing::~Win32Printing() = default;

std::vector<std::string> Win32Printing::InstalledPrinters() {
    return ImpresorasInstaladas();
}

bool Win32Printing::SameName(std::string_view a, std::string_view b) {
    return MismoNombreDeImpresora(a, b);
}

std::unique_ptr<PrinterQueue> Win32Printing::OpenQueue(const std::string& printer) noexcept {
    return AbrirCola(printer);
}

std::string Win32Printing::CurrentDeviceName() {
    // Looked up at first use, and again after a failure: a printer may have
    // been installed meanwhile.
    if (!actual_) actual_ = ImpresoraPredeterminada();
    return *actual_;
}

void Win32Printing::MakeCurrent(int index) {
    const auto instaladas = ImpresorasInstaladas();
    if (index < 0 || static_cast<std::size_t>(index) >= instaladas.size()) {
        throw Fallo(errores::kArgumentoNoValido, kArgumentoNoValido);
    }
    actual_ = instaladas[static_cast<std::size_t>(index)];
}

void Win32Printing::SetFontSize(float points) {
    if (!documento_) {
        ValidarTamanoFuente(points);
        tamanoPendiente_ = points;
        return;
    }
    // A refused size fails the document like any other failure in it.
    try {
        ValidarTamanoFuente(points);
        documento_->CambiarFuente(std::nullopt, points);
    } catch (...) {
        KillDoc();
        throw;
    }
}

void Win32Printing::SetFontName(const std::string& face) {
    if (!documento_) {
        fuentePendiente_ = face;
        return;
    }
    try {
        documento_->CambiarFuente(face, std::nullopt);
    } catch (...) {
        KillDoc();
        throw;
    }
}

void Win32Printing::Print(std::string_view text, bool lineEnd) {
    if (!documento_) EmpezarDocumento();
    try {
        documento_->Imprimir(Ancho(text), lineEnd);
    } catch (...) {
        KillDoc();
        throw;
    }
}

void Win32Printing::EndDoc() {
    if (!documento_) return;
    try {
        documento_->Terminar();
    } catch (...) {
        KillDoc();
        throw;
    }
    documento_.reset();
}

void Win32Printing::EmpezarDocumento() {
    auto documento = std::make_unique<Documento>(Ancho(CurrentDeviceName()));
    if (fuentePendiente_ || tamanoPendiente_) {
        documento->CambiarFuente(fuentePendiente_, tamanoPendiente_);
    }
    // A font asked for before the document belongs to this document only.
    fuentePendiente_.reset();
    tamanoPendiente_.reset();
    documento_ = std::move(documento);
}

std::unique_ptr<OutputPort> Win32Printing::OpenRawJob(const std::string& printer,
                                                      const std::string& document) {
    return AbrirTrabajoRaw(printer, document);
}

void Win32Printing::KillDoc() noexcept {
    documento_.reset();
    fuentePendiente_.reset();
    tamanoPendiente_.reset();
}
