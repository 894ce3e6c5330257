#pragma once
// "Asistente del cajón": a modeless window that finds where the drawer hangs
// and which command opens it, then saves what it found. Its kicks go through
// the program's coordinator on the window's thread; its status questions run
// on a thread of their own, whose answer is posted back, so that the window
// never waits for a printer.

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "drawer/AsistenteCajon.h"

// The main window's system menu item, beside the sensor's check.
inline constexpr UINT kComandoAsistente = 0x0C20;
void AnadirAsistente(HWND principal);

struct ServiciosAsistente {
    CoordinadorApertura& apertura;
    Printing& impresora;
    Parametros& parametros;
    ConsultaEstado& consulta;
    InventarioImpresion& inventario;
    // A try's failure gets the kick's stop box here.
    Dialogs& dialogs;
};

class VentanaAsistente {
  public:
    VentanaAsistente(HINSTANCE instancia, ServiciosAsistente servicios)
        : instancia_(instancia), s_(servicios) {}
    // Waits for a question under way (half a second at most).
    ~VentanaAsistente();
    VentanaAsistente(const VentanaAsistente&) = delete;
    VentanaAsistente& operator=(const VentanaAsistente&) = delete;

    // Opens it at its first step, or brings the open one to the front.
    void Abrir();
    HWND Handle() const { return hwnd_; }

    // Once "Guardar" has written the settings and closed it: the main
    // window shows them.
    std::function<void()> alGuardar;

  private:
    enum class Pagina { Donde, Probando, Cajero, Abierto, Ninguna, Guardar };

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Mensaje(UINT msg, WPARAM wp, LPARAM lp);
    void CrearControles();
    void Mostrar(Pagina pagina);
    void Adelante();
    void Otro();
    void Empezar();
    // Runs the tries as far as they go now.
    void Avanzar();
    void Preguntar(const DestinoEstado& destino);
    // Waits for the question's thread, if any, and lets it go.
    void Esperar();
    static DWORD WINAPI Hilo(LPVOID asistente);
    HallazgoCajon Hallazgo() const;

    HINSTANCE instancia_;
    ServiciosAsistente s_;
    HWND hwnd_ = nullptr;
    HWND texto_ = nullptr;
    HWND lista_ = nullptr;
    HWND otro_ = nullptr;
    HWND adelante_ = nullptr;
    HWND cancelar_ = nullptr;
    Pagina pagina_ = Pagina::Donde;
    std::vector<CandidatoCajon> candidatos_;
    std::size_t elegido_ = 0;
    bool pateando_ = false;
    std::optional<PruebasCajon> pruebas_;
    // The coordinator's kicks seen so far, and when the last one (a try's
    // or another trigger's) was seen: the next round keeps its distance too.
    std::uint64_t patadasVistas_ = 0;
    Instante ultimaPatada_{};
    // The question's thread: a plain one, the release stays small. What it
    // reads is set before it starts; what it writes is read once it ended.
    HANDLE hilo_ = nullptr;
    HWND ventanaHilo_ = nullptr;
    DestinoEstado destino_;
    RespuestaEstado respuesta_;
};
