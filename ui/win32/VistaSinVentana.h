#pragma once
// The main window's controls in memory, as the design leaves them, for a
// process that must show nothing: AbrirCajon.exe /abrir with no copy running.
// No window at all, so none can appear, nor an icon, nor be taken for the
// running copy's by another process looking for it.

#include <map>
#include <set>

#include "ui/frmAbrirCajon.h"
#include "ui/win32/DisenoPrincipal.h"

class VistaSinVentana final : public VistaPrincipal {
  public:
    VistaSinVentana() {
        for (const Elemento& e : DisenoPrincipal()) {
            if (!e.control) continue;
            textos_[*e.control] = std::string(e.texto);
            if (e.clase == Clase::Casilla)
                valores_[*e.control] = e.marcada ? kMarcado : kDesmarcado;
        }
    }

    std::string Texto(Control c) const override { return textos_.count(c) ? textos_.at(c) : ""; }
    void FijarTexto(Control c, const std::string& t) override { textos_[c] = t; }
    int Valor(Control c) const override { return valores_.count(c) ? valores_.at(c) : 0; }
    void FijarValor(Control c, int v) override { valores_[c] = v; }
    std::optional<Control> ControlConFoco() const override { return std::nullopt; }
    bool Habilitado(Control c) const override { return !deshabilitados_.count(c); }
    void Habilitar(Control c, bool h) override {
        if (h) {
            deshabilitados_.erase(c);
        } else {
            deshabilitados_.insert(c);
        }
    }
    std::string Caption() const override { return kCaptionPrincipal; }
    int WindowState() const override { return kVentanaNormal; }
    void FijarWindowState(int) override {}
    void Ocultar() override {}
    void Mostrar() override {}
    void TraerAlFrente() override {}
    void TerminarPrograma() override {}

  private:
    std::map<Control, std::string> textos_;
    std::map<Control, int> valores_;
    std::set<Control> deshabilitados_;
};
