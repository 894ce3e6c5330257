// A small Windows program the end-to-end tests run beside the program under
// test, to see what a user sees and to do what only Windows itself would:
//   helper windows                      top-level windows: handle, class, caption, visible, iconic
//   helper controls <caption>           child controls of a window: id, class, text, rect, state
//   helper boxtext <caption>            the text of an open message box with that caption
//   helper command <caption> <id>       sends WM_COMMAND id to that window (answers a box)
//   helper post <caption> <msg> <wparam> <lparam>   posts a message to that window
//   helper postreg <caption> <name>     posts the registered message <name> to that window
//   helper traydelete <caption>         removes that window's notification-area icon (id 1),
//                                       as a shell that lost its icons would
//   helper dpi                          the display's logical pixels per inch
//   helper limited <exe> [args...]      runs exe unelevated (Wine gives every program a full
//                                       administrator's token), prints and exits with its exit code
//   helper focus <caption>              id and text of the control with the focus
//   helper list <caption> <id>          rows of a list box: count, selected row, then one per line
//   helper holdfile <path> <seconds>    holds a file open without sharing, as a spreadsheet
//                                       would; prints "held" once it has it, "released" after
//   helper acp                          the system's 8-bit (ANSI) code page
//   helper zorder                       visible top-level windows, top first: topmost, caption
//   helper foreground                   the caption of the foreground window
//   helper hold <caption> <seconds>     a window of its own with that caption, in the foreground,
//                                       for that long or until it is closed: another program
//                                       holding the focus
//   helper raise <caption>              brings that window to the top and to the foreground
//   helper minimo                       the least a program can do on a click: a window
//                                       "Minimo" whose button (id 100) writes ESC p 0 10 100
//                                       to LPT1:, to measure the program's click against
//   helper clics <caption> <id> <n> <fifo>  clicks that button n times: the ms from each
//                                       click to its 5 bytes on the FIFO, one a line
//   helper tips                         the text of each tooltip shown now
//   helper escucha <port>               the least a listener can do for a page: on
//                                       127.0.0.1, each request read to its end, then
//                                       ESC p 0 10 100 to LPT1: and {"ok":true}
// Output is UTF-8, one record per line. Exit code 1: window not found.

#include <winsock2.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring Texto(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring t(static_cast<std::size_t>(n) + 1, L'\0');
    const int leidos = GetWindowTextW(h, t.data(), n + 1);
    t.resize(static_cast<std::size_t>(leidos > 0 ? leidos : 0));
    return t;
}

std::wstring Clase(HWND h) {
    wchar_t c[256] = {};
    GetClassNameW(h, c, 256);
    return c;
}

std::string Escapar(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (c == '\r')
            r += "\\r";
        else if (c == '\n')
            r += "\\n";
        else
            r += c;
    }
    return r;
}

BOOL CALLBACK Recoger(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> Principales() {
    std::vector<HWND> v;
    EnumWindows(Recoger, reinterpret_cast<LPARAM>(&v));
    return v;
}

HWND Buscar(const std::wstring& caption) {
    for (HWND h : Principales()) {
        if (Texto(h) == caption && IsWindowVisible(h)) return h;
    }
    for (HWND h : Principales()) {
        if (Texto(h) == caption) return h;
    }
    return nullptr;
}

// The focus of the window's own thread: GetFocus only sees this program's.
HWND FocoDe(HWND ventana) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(ventana, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void Controles(HWND padre) {
    const HWND foco = FocoDe(padre);
    std::vector<HWND> hijos;
    EnumChildWindows(padre, Recoger, reinterpret_cast<LPARAM>(&hijos));
    for (HWND h : hijos) {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, padre, reinterpret_cast<POINT*>(&r), 2);
        const std::wstring clase = Clase(h);
        std::wstring texto = Texto(h);
        if (_wcsicmp(clase.c_str(), L"Edit") == 0) {
            const auto n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
            texto.assign(static_cast<std::size_t>(n) + 1, L'\0');
            SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(n + 1),
                         reinterpret_cast<LPARAM>(texto.data()));
            texto.resize(static_cast<std::size_t>(n));
        }
        const LONG_PTR estilo = GetWindowLongPtrW(h, GWL_STYLE);
        const auto check = SendMessageW(h, BM_GETCHECK, 0, 0);
        std::printf(
            "id=%d class=%s rect=%ld,%ld,%ld,%ld enabled=%d visible=%d checked=%d focus=%d "
            "readonly=%d text=%s\n",
            GetDlgCtrlID(h), Utf8(clase).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
            IsWindowEnabled(h) ? 1 : 0, IsWindowVisible(h) ? 1 : 0,
            _wcsicmp(clase.c_str(), L"Button") == 0 ? static_cast<int>(check) : -1,
            foco == h ? 1 : 0, (estilo & ES_READONLY) != 0 ? 1 : 0, Escapar(Utf8(texto)).c_str());
    }
}

std::wstring Ancho(const char* s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

// The limited token is the one a user's own start gets under UAC.
int SinElevar(int argc, wchar_t** argv) {
    HANDLE propio = nullptr;
    TOKEN_LINKED_TOKEN limitado{};
    DWORD n = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &propio) ||
        !GetTokenInformation(propio, TokenLinkedToken, &limitado, sizeof limitado, &n))
        return 126;
    std::wstring linea = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) linea += std::wstring(L" ") + argv[i];
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION proceso{};
    if (!CreateProcessAsUserW(limitado.LinkedToken, nullptr, linea.data(), nullptr, nullptr, FALSE,
                              0, nullptr, nullptr, &inicio, &proceso))
        return 126;
    DWORD salida = 126;
    WaitForSingleObject(proceso.hProcess, INFINITE);
    GetExitCodeProcess(proceso.hProcess, &salida);
    std::printf("exit code %lu\n", salida);  // whole: Wine's own exit status keeps 8 bits
    return static_cast<int>(salida);
}

LRESULT CALLBACK Minimo(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == 100) {
        HANDLE p = CreateFileW(L"LPT1:", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD n = 0;
        WriteFile(p, "\x1bp\0\x0a\x64", 5, &n, nullptr);
        CloseHandle(p);
    }
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(h, msg, wp, lp);
}

// One connection at a time, blocking: the request's header and its
// Content-Length's body, the kick, the answer.
int Escucha(int puerto) {
    WSADATA w;
    WSAStartup(MAKEWORD(2, 2), &w);
    SOCKET e = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(puerto));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(e, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(e, 16) != 0) return 1;
    for (SOCKET s; (s = accept(e, nullptr, nullptr)) != INVALID_SOCKET; closesocket(s)) {
        std::string r;
        char b[2048];
        std::size_t fin;
        int n;
        while ((fin = r.find("\r\n\r\n")) == std::string::npos && (n = recv(s, b, 2048, 0)) > 0)
            r.append(b, static_cast<std::size_t>(n));
        const std::size_t l = r.find("Content-Length: ");
        const std::size_t largo = l < fin ? std::strtoul(r.c_str() + l + 16, nullptr, 10) : 0;
        while (r.size() < fin + 4 + largo && (n = recv(s, b, 2048, 0)) > 0)
            r.append(b, static_cast<std::size_t>(n));
        HANDLE p = CreateFileW(L"LPT1:", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD escritos = 0;
        WriteFile(p, "\x1bp\0\x0a\x64", 5, &escritos, nullptr);
        CloseHandle(p);
        const char ok[] =
            "HTTP/1.1 200 OK\r\nContent-Length: 11\r\nConnection: close\r\n\r\n{\"ok\":true}";
        send(s, ok, sizeof ok - 1, 0);
    }
    return 0;
}

// From posting the click to its 5 bytes read back from the FIFO that LPT1:
// is, a click every 20 ms: as a cashier's clicks, after the last one's repaint.
int Clics(HWND boton, int n, const std::wstring& fifo) {
    HANDLE bytes = CreateFileW(fifo.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (bytes == INVALID_HANDLE_VALUE) return 1;
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    char kick[5];
    for (int i = 0; i < n; ++i) {
        Sleep(20);
        DWORD leidos = 0, total = 0;
        QueryPerformanceCounter(&a);
        PostMessageW(boton, BM_CLICK, 0, 0);
        while (total < sizeof kick && ReadFile(bytes, kick, sizeof kick - total, &leidos, nullptr))
            total += leidos;
        QueryPerformanceCounter(&b);
        std::printf("%.3f\n", static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 / f.QuadPart);
    }
    CloseHandle(bytes);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    if (args.empty()) return 2;
    const std::string& orden = args[0];

    if (orden == "windows") {
        for (HWND h : Principales()) {
            RECT r;
            GetWindowRect(h, &r);
            std::printf("hwnd=%p class=%s visible=%d iconic=%d rect=%ld,%ld,%ld,%ld caption=%s\n",
                        static_cast<void*>(h), Utf8(Clase(h)).c_str(), IsWindowVisible(h) ? 1 : 0,
                        IsIconic(h) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        Utf8(Texto(h)).c_str());
        }
        return 0;
    }
    if (orden == "tips") {
        for (HWND h : Principales()) {
            if (Clase(h) != TOOLTIPS_CLASSW || !IsWindowVisible(h)) continue;
            wchar_t texto[256] = {};
            DWORD_PTR n = 0;
            // Its text lives in the other process: asked for, not read.
            SendMessageTimeoutW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(texto), SMTO_NORMAL,
                                2000, &n);
            std::printf("%s\n", Utf8(texto).c_str());
        }
        return 0;
    }
    if (orden == "acp") {
        std::printf("%u\n", GetACP());
        return 0;
    }
    if (orden == "holdfile" && args.size() >= 3) {
        HANDLE archivo = CreateFileW(Ancho(args[1].c_str()).c_str(), GENERIC_READ | GENERIC_WRITE,
                                     0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (archivo == INVALID_HANDLE_VALUE) {
            std::printf("cannot hold: error %lu\n", GetLastError());
            return 1;
        }
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atoi(args[2].c_str())) * 1000);
        CloseHandle(archivo);
        std::printf("released\n");
        return 0;
    }
    if (orden == "zorder") {
        for (HWND h = GetTopWindow(nullptr); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            if (!IsWindowVisible(h)) continue;
            const bool encima = (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            std::printf("topmost=%d caption=%s\n", encima ? 1 : 0, Utf8(Texto(h)).c_str());
        }
        return 0;
    }
    if (orden == "foreground") {
        const HWND h = GetForegroundWindow();
        std::printf("%s\n", h != nullptr ? Utf8(Texto(h)).c_str() : "");
        return 0;
    }
    if (orden == "hold" && args.size() >= 3) {
        const HWND h = CreateWindowExW(0, L"STATIC", Ancho(args[1].c_str()).c_str(),
                                       WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 300, 260, 200, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
        if (h == nullptr) return 1;
        SetForegroundWindow(h);
        SetFocus(h);
        const DWORD fin = GetTickCount() + static_cast<DWORD>(std::atoi(args[2].c_str())) * 1000;
        MSG msg;
        // A WM_CLOSE posted to the window ends the hold early.
        while (GetTickCount() < fin && IsWindow(h)) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(20);
        }
        if (IsWindow(h)) DestroyWindow(h);
        return 0;
    }
    if (orden == "limited" && argc >= 3) return SinElevar(argc, argv);
    if (orden == "minimo") {
        WNDCLASSW c{};
        c.lpfnWndProc = Minimo;
        c.lpszClassName = L"Minimo";
        RegisterClassW(&c);
        HWND v = CreateWindowW(L"Minimo", L"Minimo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
        CreateWindowW(L"BUTTON", L"F12", WS_CHILD | WS_VISIBLE, 10, 10, 80, 40, v,
                      reinterpret_cast<HMENU>(100), nullptr, nullptr);
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        return 0;
    }
    if (orden == "escucha" && args.size() >= 2) return Escucha(std::atoi(args[1].c_str()));
    if (orden == "dpi") {
        HDC pantalla = GetDC(nullptr);
        std::printf("%d\n", GetDeviceCaps(pantalla, LOGPIXELSX));
        ReleaseDC(nullptr, pantalla);
        return 0;
    }
    if (orden == "policy") {  // what Group Policy broadcasts once it has applied a change
        DWORD_PTR r = 0;
        return SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                                   reinterpret_cast<LPARAM>(L"Policy"), SMTO_ABORTIFHUNG, 5000,
                                   &r) != 0
                   ? 0
                   : 1;
    }
    if (args.size() < 2) return 2;
    HWND h = Buscar(Ancho(args[1].c_str()));
    if (h == nullptr) {
        std::printf("not found: %s\n", args[1].c_str());
        return 1;
    }
    if (orden == "clics" && args.size() >= 5) {
        return Clics(GetDlgItem(h, std::atoi(args[2].c_str())), std::atoi(args[3].c_str()),
                     Ancho(args[4].c_str()));
    }
    if (orden == "controls") {
        RECT c;
        GetClientRect(h, &c);
        POINT origen{0, 0};
        ClientToScreen(h, &origen);
        std::printf("client=%ld,%ld enabled=%d origin=%ld,%ld\n", c.right, c.bottom,
                    IsWindowEnabled(h) ? 1 : 0, origen.x, origen.y);
        Controles(h);
        return 0;
    }
    if (orden == "list" && args.size() >= 3) {
        HWND lista = GetDlgItem(h, std::atoi(args[2].c_str()));
        if (lista == nullptr) return 1;
        const auto n = SendMessageW(lista, LB_GETCOUNT, 0, 0);
        std::printf("count=%d selected=%d\n", static_cast<int>(n),
                    static_cast<int>(SendMessageW(lista, LB_GETCURSEL, 0, 0)));
        for (LRESULT i = 0; i < n; ++i) {
            std::wstring fila(
                static_cast<std::size_t>(SendMessageW(lista, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            const auto leidos =
                SendMessageW(lista, LB_GETTEXT, i, reinterpret_cast<LPARAM>(fila.data()));
            fila.resize(static_cast<std::size_t>(leidos > 0 ? leidos : 0));
            std::printf("%s\n", Utf8(fila).c_str());
        }
        return 0;
    }
    if (orden == "raise") {
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return SetForegroundWindow(h) ? 0 : 1;
    }
    if (orden == "focus") {
        const HWND foco = FocoDe(h);
        std::printf("id=%d text=%s\n", foco != nullptr ? GetDlgCtrlID(foco) : 0,
                    foco != nullptr ? Escapar(Utf8(Texto(foco))).c_str() : "");
        return 0;
    }
    if (orden == "boxtext") {
        std::printf("%s\n", Escapar(Utf8(Texto(GetDlgItem(h, 0xFFFF)))).c_str());
        return 0;
    }
    if (orden == "command" && args.size() >= 3) {
        SendMessageW(h, WM_COMMAND, static_cast<WPARAM>(std::atoi(args[2].c_str())), 0);
        return 0;
    }
    if (orden == "postreg" && args.size() >= 3) {
        const UINT msg = RegisterWindowMessageW(Ancho(args[2].c_str()).c_str());
        return msg != 0 && PostMessageW(h, msg, 0, 0) ? 0 : 1;
    }
    if (orden == "traydelete") {
        NOTIFYICONDATAW datos{};
        datos.cbSize = sizeof datos;
        datos.hWnd = h;
        datos.uID = 1;
        return Shell_NotifyIconW(NIM_DELETE, &datos) ? 0 : 1;
    }
    if (orden == "post" && args.size() >= 5) {
        const auto msg = static_cast<UINT>(std::strtoul(args[2].c_str(), nullptr, 0));
        const auto wp = static_cast<WPARAM>(std::strtoull(args[3].c_str(), nullptr, 0));
        const auto lp = static_cast<LPARAM>(std::strtoll(args[4].c_str(), nullptr, 0));
        return PostMessageW(h, msg, wp, lp) ? 0 : 1;
    }
    return 2;
}
