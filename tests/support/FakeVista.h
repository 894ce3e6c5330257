#pragma once
// The main window as the logic sees it, in memory, starting from its design
// values. Changing the window state raises the resize event, as Windows does.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/VistaPrincipal.h"

struct FakeVista : VistaPrincipal {
    FakeVista() {
        textos[Control::txtPuerto] = "LPT1:";
        textos[Control::txtAscii] = "27 112 0 10 100";
        textos[Control::txtPrinter] = "Printer.Print \r\nPrint.EndDoc\r\n";
        textos[Control::CheckPrinter] = "Enviar a printer";
        textos[Control::lblIni] =
            "Recuerde: BIXOLON PRINTER CONFIG (Parám. KovraBloqueado bloquea INI)";
        valores[Control::CheckPrinter] = 1;
        valores[Control::CheckConPuntoyComa] = 1;
        valores[Control::CheckTodoJunto] = 1;
    }

    std::string Texto(Control c) const override { return textos.count(c) ? textos.at(c) : ""; }
    void FijarTexto(Control c, const std::string& t) override { textos[c] = t; }
    int Valor(Control c) const override { return valores.count(c) ? valores.at(c) : 0; }
    void FijarValor(Control c, int v) override { valores[c] = v; }
    std::optional<Control> ControlConFoco() const override { return std::nullopt; }
    bool Habilitado(Control c) const override { return !deshabilitados.count(c); }
    void Habilitar(Control c, bool h) override {
        ++habilitaciones;
        if (h) {
            deshabilitados.erase(c);
        } else {
            deshabilitados.insert({c, true});
        }
    }
    void FijarConsejo(Control c, const std::string& t) override { consejos[c] = t; }
    void FijarComprobarSensor(bool h, const std::string& t) override {
        comprobarSensor = h;
        consejos[Control::LabelComentario] = t;  // the item's, kept apart from the controls'
    }
    std::string Caption() const override { return caption; }
    int WindowState() const override { return estado; }
    void FijarWindowState(int e) override {
        eventos.push_back("estado=" + std::to_string(e));
        if (e == estado) return;
        estado = e;
        if (alRedimensionar) alRedimensionar();
    }
    void Ocultar() override {
        visible = false;
        eventos.push_back("ocultar");
    }
    void Mostrar() override {
        visible = true;
        eventos.push_back("mostrar");
    }
    void TraerAlFrente() override { eventos.push_back("frente"); }
    void TerminarPrograma() override { eventos.push_back("terminar"); }

    std::map<Control, std::string> textos;
    std::map<Control, int> valores;
    std::map<Control, bool> deshabilitados;
    int habilitaciones = 0;
    std::map<Control, std::string> consejos;
    bool comprobarSensor = true;
    std::string caption = "Apertura cajón";
    int estado = kVentanaNormal;
    bool visible = true;
    std::vector<std::string> eventos;
    std::function<void()> alRedimensionar;
};
