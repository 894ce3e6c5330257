#pragma once
// The printing service over the Windows spooler: printers from EnumPrinters,
// documents drawn with GDI on a printer DC (CreateDC "WINSPOOL"), RAW jobs
// written with the spooler's own calls (Win32TrabajoRaw).

#include <memory>
#include <optional>
#include <string>

#include "platform/Printing.h"

// The largest font size, in points, that a printer font may have.
inline constexpr float kTamanoFuenteMaximo = 1638.0f;

// The logical height (negative: the character height, as CreateFont takes it)
// of a font of `puntos` points on a device of `pixelesPorPulgada` pixels per
// inch. Throws Fallo 380 for a size a printer cannot take: not a number,
// infinite, not above zero or above kTamanoFuenteMaximo.
int AlturaFuente(float puntos, int pixelesPorPulgada);

class Win32Printing : public Printing {
  public:
    Win32Printing();
    ~Win32Printing() override;
    Win32Printing(const Win32Printing&) = delete;
    Win32Printing& operator=(const Win32Printing&) = delete;

    std::vector<std::string> InstalledPrinters() override;
    bool SameName(std::string_view a, std::string_view b) override;
    std::unique_ptr<PrinterQueue> OpenQueue(const std::string& printer) noexcept override;
    std::string CurrentDeviceName() override;
    void MakeCurrent(int index) override;
    void SetFontSize(float points) override;
    void SetFontName(const std::string& face) override;
    void Print(std::string_view text, bool lineEnd) override;
    void EndDoc() override;
    std::unique_ptr<OutputPort> OpenRawJob(const std::string& printer,
                                           const std::string& document) override;
    void KillDoc() noexcept override;

  private:
    class Documento;
    void EmpezarDocumento();

    std::optional<std::string> actual_;
    // Font asked for while no document was open: it applies to the next one.
    std::optional<std::string> fuentePendiente_;
    std::optional<float> tamanoPendiente_;
    std::unique_ptr<Documento> documento_;
};
