#include <gtest/gtest.h>

#include <map>

#include "bridge/CuerpoJson.h"
#include "bridge/PuenteWeb.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

constexpr const char* kTpv = "https://tpv.ejemplo.com";
using Cierre = OrdenConexion::Cierre;
using Estado = ResultadoWeb::Estado;

LectorPeticion Leer(const std::string& texto, std::size_t trozo = 7) {
    LectorPeticion lector;
    for (std::size_t i = 0; i < texto.size(); i += trozo) lector.Anadir(texto.substr(i, trozo));
    return lector;
}

std::string Pedir(const std::string& metodo, const std::string& ruta, const std::string& cabeceras,
                  const std::string& cuerpo = "") {
    return metodo + " " + ruta + " HTTP/1.1\r\n" + cabeceras +
           (cuerpo.empty() ? "" : "Content-Length: " + std::to_string(cuerpo.size()) + "\r\n") +
           "\r\n" + cuerpo;
}

TEST(PuenteWebTest, TheReaderKeepsToItsLimits) {
    using E = LectorPeticion::Estado;
    const std::string grande(kMaxCabecerasHttp, 'a');
    const std::string inicio = "GET / HTTP/1.1\r\nX: ";
    // Headers of the very limit, however their end arrives.
    const std::string justas = inicio + std::string(kMaxCabecerasHttp - inicio.size(), 'a');
    const std::tuple<std::string, E, int> casos[] = {
        {justas + "\r\n\r\n", E::Completa, 0},
        {justas + "a\r\n\r\n", E::Error, 431},
        {"GET /v1/estado HTTP/1.1\r\nHost: x\r\n\r\n", E::Completa, 0},
        {"POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}", E::Completa, 0},
        {"POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n{", E::Faltan, 0},
        {"GET / HTTP/1.1\r\nHost: x\r\n", E::Faltan, 0},
        {"GET / HTTP/1.1\r\nX: " + grande + "\r\n\r\n", E::Error, 431},
        {"GET / HTTP/1.1\r\nX: " + grande, E::Error, 431},
        {"POST / HTTP/1.1\r\nContent-Length: 1025\r\n\r\n", E::Error, 413},
        {"POST / HTTP/1.1\r\nContent-Length: 99999999999\r\n\r\n", E::Error, 413},
        {"POST / HTTP/1.1\r\nContent-Length: 0000000000002\r\n\r\n{}", E::Completa, 0},
        {"POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", E::Error, 400},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", E::Error, 501},
        {"GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", E::Error, 400},
        {"GET / HTTP/1.1\r\n X: folded\r\n\r\n", E::Error, 400},
        {"GET / HTTP/1.1\r\nX : y\r\n\r\n", E::Error, 400},
        {"GET /\r\n\r\n", E::Error, 400},
        {"GET / HTTP/2\r\n\r\n", E::Error, 400},
    };
    for (const auto& [texto, estado, codigo] : casos) {
        for (const std::size_t trozo : {std::size_t{1}, std::size_t{4096}}) {
            const LectorPeticion l = Leer(texto, trozo);
            EXPECT_EQ(l.Actual(), estado) << texto.substr(0, 60);
            EXPECT_EQ(l.CodigoError(), codigo) << texto.substr(0, 60);
        }
    }
    const LectorPeticion l =
        Leer("POST /v1/abrir HTTP/1.1\r\nORIGIN:  a b \r\nContent-Length: 2\r\n\r\n{}xx");
    EXPECT_EQ(l.Peticion().Cabecera("origin"), "a b");
    EXPECT_EQ(l.Peticion().cuerpo, "{}");
    EXPECT_TRUE(l.Sobran());
    // Whoever is refused for its headers is still named by its origin.
    EXPECT_EQ(Leer("GET / HTTP/1.1\r\nOrigin: " + std::string(kTpv) + "\r\nX: " + grande).Origen(),
              kTpv);
    EXPECT_EQ(Leer("GET / HTTP/1.1\r\nOrigin: a\r\norigin: b\r\n\r\n").Origen(), std::nullopt);
}

TEST(PuenteWebTest, TheBodyIsAJsonObjectWithOptionalTexts) {
    const std::tuple<std::string, std::optional<std::string>, std::optional<std::string>>
        validos[] = {
            {"{}", std::nullopt, std::nullopt},
            {" {\"a\":[1,-2.5e3,true,false,null,{\"b\":\"c\"}]} ", std::nullopt, std::nullopt},
            {"{\"motivo\":\"Venta 12\",\"id\":\"v12-1\"}", "Venta 12", "v12-1"},
            {"{\"motivo\":\"\\u00f1\\ud83d\\ude00\\n\"}", "ñ😀\n", std::nullopt},
            {"{\"motivo\":\"" + std::string(80, 'x') + "\",\"id\":\"" + std::string(64, 'y') +
                 "\"}",
             std::string(80, 'x'), std::string(64, 'y')},
        };
    for (const auto& [texto, motivo, id] : validos) {
        const auto cuerpo = LeerCuerpoApertura(texto);
        ASSERT_TRUE(cuerpo) << texto;
        EXPECT_EQ(cuerpo->motivo, motivo) << texto;
        EXPECT_EQ(cuerpo->id, id) << texto;
    }
    for (const std::string& texto : std::vector<std::string>{
             "", "[]", "{", "{}x", "{\"a\":}", "{\"a\":01}", "{\"a\":1,}", "{'a':1}",
             "{\"motivo\":1}", "{\"motivo\":\"a\",\"motivo\":\"b\"}", "{\"id\":7}",
             "{\"id\":\"a\",\"id\":\"a\"}", "{\"id\":\"" + std::string(65, 'y') + "\"}",
             "{\"motivo\":\"" + std::string(81, 'x') + "\"}", "{\"a\":\"\\ud800\"}",
             "{\"a\":\"\x01\"}", std::string(20, '[') + std::string(20, ']')}) {
        EXPECT_FALSE(LeerCuerpoApertura(texto)) << texto;
    }
    EXPECT_EQ(TextoJson("a\"\\\r\n\x01"), "\"a\\\"\\\\\\r\\n\\u0001\"");
}

TEST(PuenteWebTest, EachListedEntryIsReadAsTheBrowserWritesItsOrigin) {
    // A stand-in for the system's IDNA.
    const ConversorIdn idn = [](std::string_view h) -> std::optional<std::string> {
        if (h == "CAÑADA.es") return "xn--caada-pta.es";
        return std::nullopt;
    };
    const std::pair<const char*, std::optional<std::string>> casos[] = {
        {"https://tpv.example.com:443", "https://tpv.example.com"},
        {"HTTP://LocalHost:80/", "http://localhost"},
        {"http://localhost:30001", "http://localhost:30001"},
        {"https://pos.tienda.com.mx", "https://pos.tienda.com.mx"},
        {"http://127.0.0.1:8443", "http://127.0.0.1:8443"},
        {"https://[::1]:443", "https://[::1]"},
        {"https://CAÑADA.es", "https://xn--caada-pta.es"},
        {"https://xn--caada-pta.es", "https://xn--caada-pta.es"},
    };
    for (const auto& [entrada, origen] : casos)
        EXPECT_EQ(LeerOrigen(entrada, idn), origen) << entrada;
    for (const char* entrada :
         {"https://añil.es", "null", "x", "file://", "ftp://a.es", "https://a.es/caja",
          "https://a.es?x=1", "https://*.a.es", "https://caja@a.es", "https://a..es",
          "https://a.es:", "https://a.es:0", "https://a.es:65536", "https://a.es:44 3"}) {
        EXPECT_EQ(LeerOrigen(entrada, idn), std::nullopt) << entrada;
    }

    MemoryProfile perfil;
    FakeDialogs dialogs;
    Parametros parametros(perfil, dialogs);
    perfil.valores["KovraWebOrigenes"] = "null, https://a.es:443 x";
    const auto c = LeerConfiguracionWeb(parametros, dialogs, idn);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->origenes, std::vector<std::string>{"https://a.es"});
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    for (const char* parte : {"no se usan: \"null\", \"x\".", "\"null\" no se admite nunca",
                              "Los demás orígenes de la lista funcionan."}) {
        EXPECT_NE(dialogs.cajas[0].texto.find(parte), std::string::npos) << parte;
    }
    perfil.valores["KovraWebOrigenes"] = "null";
    EXPECT_FALSE(LeerConfiguracionWeb(parametros, dialogs, idn));
    EXPECT_NE(dialogs.cajas.back().texto.find("no podrá abrir el cajón"), std::string::npos);
}

TEST(PuenteWebTest, TheKeysAreReadOnceWithABoxForABadPort) {
    const std::pair<const char*, std::optional<std::uint16_t>> puertos[] = {
        {"1024", 1024},          {"65535", 65535},       {"1023", std::nullopt},
        {"65536", std::nullopt}, {"", std::nullopt},     {"80a", std::nullopt},
        {" 5000", std::nullopt}, {"+5000", std::nullopt}};
    for (const auto& [texto, puerto] : puertos) EXPECT_EQ(LeerPuertoWeb(texto), puerto) << texto;

    MemoryProfile perfil;
    FakeDialogs dialogs;
    Parametros parametros(perfil, dialogs);
    EXPECT_FALSE(LeerConfiguracionWeb(parametros, dialogs, {}));
    perfil.valores["KovraWebOrigenes"] = kTpv;
    EXPECT_EQ(LeerConfiguracionWeb(parametros, dialogs, {})->puerto, 47110);
    std::string largo = "80";  // quoted in the box by its first 80 characters
    while (largo.size() < 16000) largo += "ñ";
    perfil.valores["KovraWebPuerto"] = largo;
    EXPECT_FALSE(LeerConfiguracionWeb(parametros, dialogs, {}));
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_NE(dialogs.cajas[0].texto.find("no es válido: \"" + largo.substr(0, 158) + "…\" ("),
              std::string::npos);
    EXPECT_TRUE(perfil.escrituras.empty());
}

// The room as the listener drives it, with a clock of its own and a window
// that takes each kick at once and answers `resultado`, unless told to wait.
struct Puente {
    Puente()
        : puente(
              {{kTpv, "http://localhost:8080"}, 47110}, "1.0.0",
              [this](std::shared_ptr<PedidoApertura> p) {
                  paginas.push_back(p->Pagina());
                  pedido = p;
                  if (ventanaAtiende && p->Tomar()) p->Terminar(resultado);
              },
              [this](const std::string& t) { avisos.push_back(t); }) {
        puente.Conectar([this] { ++despertares; });
    }
    IdConexion Conectar() {
        puente.Aceptada(++ultima, ahora);
        return ultima;
    }
    // A request sent whole on a new connection: what it has been sent so far.
    std::string Responder(const std::string& texto) {
        const IdConexion id = Conectar();
        puente.Recibidos(id, texto, ahora);
        return Salida(id);
    }
    std::string Salida(IdConexion id) {
        for (const OrdenConexion& o : puente.Ordenes(ahora)) {
            salidas[o.id] += o.enviar;
            cierres[o.id] = o.cierre;
        }
        return salidas[id];
    }
    std::string Estado(const std::string& post) { return Responder(post).substr(9, 3); }

    bool ventanaAtiende = true;
    ResultadoWeb resultado{Estado::Enviado, 0, {}};
    std::shared_ptr<PedidoApertura> pedido;
    std::vector<std::string> paginas, avisos;
    std::int64_t ahora = 10000;
    int despertares = 0;
    IdConexion ultima = 0;
    std::map<IdConexion, std::string> salidas;
    std::map<IdConexion, Cierre> cierres;
    PuenteWeb puente;
};

const std::string kPost = std::string("Host: 127.0.0.1:47110\r\nOrigin: ") + kTpv +
                          "\r\nContent-Type: application/json\r\n";

TEST(PuenteWebTest, OnlyAListedOriginsJsonPostOnLoopbackKicks) {
    const std::string host = "Host: 127.0.0.1:47110\r\n";
    const std::string tpv = std::string("Origin: ") + kTpv + "\r\n";
    const std::string json = "Content-Type: application/json\r\n";
    // request, status, kicked, what the answer holds beyond the common headers
    const std::tuple<std::string, int, bool, std::string> casos[] = {
        {Pedir("POST", "/v1/abrir", kPost, "{}"), 200, true,
         "Access-Control-Expose-Headers: Retry-After\r\nContent-Length: 11\r\n\r\n{\"ok\":true}"},
        {Pedir("POST", "/v1/abrir",
               "Host: LOCALHOST:47110\r\nOrigin: HTTPS://TPV.ejemplo.com\r\nContent-Type: "
               "Application/JSON; charset=utf-8\r\nSec-Fetch-Mode: cors\r\n",
               "{}"),
         200, true, "Access-Control-Allow-Origin: HTTPS://TPV.ejemplo.com\r\n"},
        {Pedir("POST", "/v1/abrir", "Host: [::1]:47110\r\nOrigin: http://localhost:8080\r\n" + json,
               "{}"),
         200, true, "Vary: Origin"},
        {Pedir("POST", "/v1/abrir", "Host: tpv.ejemplo.com:47110\r\n" + tpv + json, "{}"), 403,
         false, "Host no permitido"},
        {Pedir("POST", "/v1/abrir", host + "Origin: https://malo.com\r\n" + json, "{}"), 403, false,
         "KovraWebOrigenes"},
        {Pedir("POST", "/v1/abrir", host + "Origin: https://tpv.ejemplo.com:8443\r\n" + json, "{}"),
         403, false, "KovraWebOrigenes"},
        {Pedir("POST", "/v1/abrir", host + json, "{}"), 403, false, "KovraWebOrigenes"},
        {Pedir("POST", "/v1/abrir", host + "Origin: null\r\n" + json, "{}"), 403, false,
         "KovraWebOrigenes"},
        {Pedir("POST", "/v1/abrir", kPost + "Sec-Fetch-Mode: no-cors\r\n", "{}"), 403, false,
         "Sec-Fetch-Mode"},
        {Pedir("POST", "/v1/abrir", host + tpv + "Content-Type: text/plain\r\n", "{}"), 415, false,
         "Access-Control-Allow-Origin: https://tpv"},
        {Pedir("POST", "/v1/abrir", host + tpv, "{}"), 415, false, "Content-Type"},
        {Pedir("POST", "/v1/abrir", kPost, "[]"), 400, false, "objeto JSON"},
        {Pedir("GET", "/v1/abrir", host + tpv), 405, false, "Allow: POST, OPTIONS\r\n"},
        {Pedir("POST", "/v1/abrirx", kPost, "{}"), 404, false, "No existe"},
        {Pedir("POST", "/v1/abrir?x=1", kPost, "{}"), 404, false, "No existe"},
        {Pedir("GET", "/v1/estado", host + tpv), 200, false,
         "{\"programa\":\"AbrirCajon\",\"version\":\"1.0.0\"}"},
        {Pedir("HEAD", "/v1/estado", host + tpv), 200, false, "Content-Length: 43\r\n\r\n"},
        {Pedir("GET", "/v1/estado", host + "Origin: https://malo.com\r\n"), 403, false,
         "KovraWebOrigenes"},
        {Pedir("OPTIONS", "/v1/abrir", host + tpv + "Access-Control-Request-Method: POST\r\n"), 204,
         false,
         "Vary: Origin\r\nAccess-Control-Expose-Headers: Retry-After\r\n"
         "Access-Control-Allow-Methods: POST\r\nAccess-Control-Allow-Headers: "
         "Content-Type\r\nAccess-Control-Max-Age: 600\r\n\r\n"},
        {Pedir("OPTIONS", "/v1/estado", host + tpv + "Access-Control-Request-Method: GET\r\n"), 204,
         false, "Access-Control-Allow-Methods: GET\r\n"},
        {Pedir("OPTIONS", "/v1/abrir",
               host + tpv + "Access-Control-Request-Private-Network: true\r\n"),
         204, false, "Access-Control-Allow-Private-Network: true\r\n"},
        {"POST /v1/abrir HTTP/1.1\r\n" + kPost + "Content-Length: 2000\r\n\r\n", 413, false,
         "1024"},
        {"GET / HTTP/1.1\r\n" + tpv + "X: " + std::string(kMaxCabecerasHttp, 'x'), 431, false,
         "Access-Control-Allow-Origin: https://tpv"},
    };
    for (const auto& [peticion, codigo, patada, contiene] : casos) {
        Puente p;
        const std::string r = p.Responder(peticion);
        SCOPED_TRACE(peticion.substr(0, 200));
        EXPECT_EQ(r.substr(0, 13), "HTTP/1.1 " + std::to_string(codigo) + " ");
        EXPECT_NE(r.find(contiene), std::string::npos) << r;
        EXPECT_NE(r.find("\r\nContent-Type: application/json; charset=utf-8\r\nCache-Control: "
                         "no-store\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n"),
                  std::string::npos);
        const bool listado =
            peticion.find("Origin: https://tpv.ejemplo.com\r") != std::string::npos ||
            peticion.find("Origin: HTTPS://TPV.ejemplo.com\r") != std::string::npos ||
            peticion.find("Origin: http://localhost:8080\r") != std::string::npos;
        EXPECT_EQ(r.find("Access-Control-") != std::string::npos, listado) << r;
        EXPECT_EQ(r.find("Access-Control-Allow-Private-Network") != std::string::npos,
                  peticion.find("Private-Network") != std::string::npos);
        EXPECT_EQ(p.paginas.size(), patada ? 1u : 0u);
        EXPECT_EQ(r.find("Content-Length") == std::string::npos, codigo == 204);
        EXPECT_EQ(r.back() == '\n', codigo == 204 || peticion.starts_with("HEAD")) << r;
    }
}

TEST(PuenteWebTest, TheTableKeepsTimeAndMakesRoomForTheTillsRequest) {
    Puente p;
    const std::string post = Pedir("POST", "/v1/abrir", kPost, "{}");
    // Idle, a header half sent, a whole header with its body still coming.
    const IdConexion ociosa = p.Conectar();
    const IdConexion lenta = p.Conectar();
    p.puente.Recibidos(lenta, "POST /v1/abrir HTTP/1.1\r\nHost: ", p.ahora);
    const IdConexion cuerpo = p.Conectar();
    p.puente.Recibidos(cuerpo, post.substr(0, post.size() - 1), p.ahora);
    EXPECT_EQ(p.puente.ProximoPlazo(p.ahora), p.ahora + kPlazoCabeceraMs);
    p.ahora += kPlazoCabeceraMs - 1;
    p.Salida(0);
    EXPECT_TRUE(p.cierres.empty());
    p.ahora += 1;
    p.Salida(0);
    EXPECT_EQ(p.cierres, (std::map<IdConexion, Cierre>{{ociosa, Cierre::Ya}, {lenta, Cierre::Ya}}));
    EXPECT_EQ(p.puente.ProximoPlazo(p.ahora), p.ahora - kPlazoCabeceraMs + kPlazoPeticionMs);
    // Full: each new connection closes the oldest without a whole header
    // once they have had their grace, never the one whose body is coming,
    // and never a newer one.
    for (std::size_t i = 1; i < kMaxConexionesWeb; ++i) p.Conectar();
    p.ahora += kGraciaMs;
    for (std::size_t i = 0; i < 3; ++i) p.Conectar();
    p.Salida(0);
    EXPECT_EQ(p.cierres.size(), 5u);
    EXPECT_EQ(p.cierres.count(cuerpo), 0u);
    EXPECT_EQ(p.cierres.count(ociosa + 5), 1u);
    EXPECT_EQ(p.cierres.count(ociosa + 6), 0u);
    // Answered with nothing pending: closed at once once sent.
    EXPECT_NE(p.Responder(post).find("200 OK"), std::string::npos);
    EXPECT_EQ(p.cierres[p.ultima], Cierre::TrasEnviar);
    // Refused before its body was read: read on and dropped until the other
    // end ends, so that the answer is not lost to a reset.
    p.ahora += 2000;
    const std::string grande = "POST /v1/abrir HTTP/1.1\r\n" + kPost +
                               "Content-Length: 2000\r\n\r\n" + std::string(100, 'x');
    EXPECT_NE(p.Responder(grande).find("413 "), std::string::npos);
    const IdConexion vaciando = p.ultima;
    EXPECT_EQ(p.cierres[vaciando], Cierre::SoloEnvio);
    p.puente.Recibidos(vaciando, std::string(1900, 'x'), p.ahora);
    p.Salida(0);
    EXPECT_EQ(p.cierres[vaciando], Cierre::SoloEnvio);
    p.puente.Recibidos(vaciando, {}, p.ahora);
    p.Salida(0);
    EXPECT_EQ(p.cierres[vaciando], Cierre::Ya);
    // Full of refused requests being drained, and one just accepted whose
    // header has not come yet: the drained ones make room, never it.
    const IdConexion tardia = p.Conectar();
    for (std::size_t i = 0; i < kMaxConexionesWeb; ++i) p.Responder(grande);
    EXPECT_EQ(p.cierres.count(tardia), 0u);
}

TEST(PuenteWebTest, NoConnectionMakesRoomBeforeItHadItsGrace) {
    using F = ConexionWeb::Fase;
    constexpr IdConexion a = 1, b = 2, nueva = 999;
    constexpr std::int64_t g = kGraciaMs, ahora = 100000;
    // A (the older) and B: phase, whole header, accepted that long ago; the
    // table filled up with new idle ones. Who makes room for one more.
    const std::tuple<F, bool, std::int64_t, F, bool, std::int64_t, IdConexion> casos[] = {
        {F::Leyendo, false, g, F::Leyendo, false, g, a},
        {F::Leyendo, false, g - 1, F::Leyendo, false, g - 1, nueva},
        {F::Leyendo, true, g, F::Leyendo, false, g, b},
        {F::Leyendo, true, g, F::Leyendo, false, g - 1, a},
        {F::Leyendo, false, g, F::Vaciando, true, 0, b},
        {F::Esperando, true, 10 * g, F::Leyendo, false, g - 1, nueva},
    };
    for (const auto& [faseA, enteraA, edadA, faseB, enteraB, edadB, sale] : casos) {
        TablaConexiones t;
        for (const auto& [id, fase, entera, edad] :
             {std::tuple{a, faseA, enteraA, edadA}, std::tuple{b, faseB, enteraB, edadB}}) {
            t.Aceptar(id, ahora - edad);
            if (entera) {
                t.Buscar(id)->lector.Anadir("POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n{");
            }
            t.Buscar(id)->fase = fase;
        }
        for (IdConexion id = 3; id <= kMaxConexionesWeb; ++id) t.Aceptar(id, ahora);
        SCOPED_TRACE(testing::Message() << "B " << edadB << " ms, out: " << sale);
        EXPECT_EQ(t.Admite(ahora), sale != nueva);
        // While none is admitted, the listener is woken when the first grace ends.
        if (sale == nueva) {
            EXPECT_EQ(t.ProximoPlazo(ahora), ahora + 1);
        }
        EXPECT_EQ(t.Aceptar(nueva, ahora), sale);
        EXPECT_EQ(t.Cuantas(), kMaxConexionesWeb);
    }
}

TEST(PuenteWebTest, OneKickAtATimeTheSecondAfterOneThatWentOutAndARepeatOpensNothing) {
    Puente p;
    const auto post = [](const std::string& id) {
        return Pedir(
            "POST", "/v1/abrir", kPost,
            "{\"motivo\":\"Venta\\n12\"" + (id.empty() ? "" : ",\"id\":\"" + id + "\"") + "}");
    };
    const ResultadoWeb enviado{Estado::Enviado, 0, {}}, fallido{Estado::Fallido, 2, "2.No\r\n"},
        ocupado{Estado::NoAtendido, 170, "ocupado"};
    // ms later, the window's outcome, the id, how the answer ends
    const std::tuple<std::int64_t, ResultadoWeb, std::string, std::string> pasos[] = {
        {0, enviado, "", "\r\n\r\n{\"ok\":true}"},
        {999, enviado, "", "menos de un segundo\"}"},
        {1, fallido, "", "{\"ok\":false,\"error\":2,\"mensaje\":\"2.No\\r\\n\"}"},
        {0, fallido, "", "\"error\":2,\"mensaje\":\"2.No\\r\\n\"}"},  // not 429
        {0, ocupado, "", "{\"ok\":false,\"error\":170,\"mensaje\":\"ocupado\"}"},
        {1000, enviado, "a", "\r\n\r\n{\"ok\":true}"},
        {100, enviado, "a", "{\"ok\":true,\"repetida\":true}"},  // a retry: no 429
        {1000, ocupado, "b", "\"ocupado\"}"},
        {0, fallido, "b", "\"mensaje\":\"2.No\\r\\n\"}"},  // one not made may be asked again
        {0, enviado, "b", "\"mensaje\":\"2.No\\r\\n\",\"repetida\":true}"},
        {kRecuerdoIdMs, enviado, "a", "\r\n\r\n{\"ok\":true}"},
    };
    for (const auto& [ms, resultado, id, fin] : pasos) {
        p.ahora += ms;
        p.resultado = resultado;
        EXPECT_TRUE(p.Responder(post(id)).ends_with(fin)) << ms << id << p.salidas[p.ultima];
    }
    EXPECT_EQ(p.paginas.size(), 8u);
    EXPECT_EQ(p.paginas[0], std::string(kTpv) + " Venta 12");

    // A window that takes its time: while it has the kick, another request is
    // busy at once, a repeat waits, and both hear the outcome when it comes.
    p.ventanaAtiende = false;
    p.ahora += 5000;
    const IdConexion primera = p.Conectar();
    p.puente.Recibidos(primera, post("c"), p.ahora);
    const IdConexion repeticion = p.Conectar();
    p.puente.Recibidos(repeticion, post("c"), p.ahora);
    EXPECT_NE(p.Responder(post("")).find("Otra apertura"), std::string::npos);
    ASSERT_TRUE(p.pedido->Tomar());
    p.ahora += kEsperaVentanaMs + 5000;  // a kick that runs long is waited for
    EXPECT_EQ(p.Salida(primera), "");
    EXPECT_EQ(p.puente.ProximoPlazo(p.ahora), std::nullopt);
    const int despertares = p.despertares;
    p.pedido->Terminar(enviado);
    EXPECT_EQ(p.despertares, despertares + 1);
    EXPECT_TRUE(p.Salida(primera).ends_with("{\"ok\":true}"));
    EXPECT_TRUE(p.Salida(repeticion).ends_with("{\"ok\":true,\"repetida\":true}"));
    // Not taken within the wait: the page hears so, and the window never kicks.
    p.ahora += 1000;
    const IdConexion tarde = p.Conectar();
    p.puente.Recibidos(tarde, post(""), p.ahora);
    p.ahora += kEsperaVentanaMs;
    EXPECT_NE(p.Salida(tarde).find("\"error\":1460"), std::string::npos);
    EXPECT_FALSE(p.pedido->Tomar());
}

TEST(PuenteWebTest, OnlyARefusedPostShowsABalloonAndOnlyForAFew) {
    Puente p;
    for (const char* origen : {"https://malo.com", "https://malo.com", "null", "https://b.es",
                               "https://c.es", "https://d.es", "https://e.es"}) {
        const std::string h = "Host: 127.0.0.1:47110\r\nOrigin: " + std::string(origen) + "\r\n";
        p.Responder(Pedir("OPTIONS", "/v1/abrir", h));
        p.Responder(Pedir("GET", "/v1/estado", h));
        p.Responder(Pedir("POST", "/v1/abrir", h, "{}"));
    }
    EXPECT_EQ(p.avisos,
              (std::vector<std::string>{
                  "https://malo.com ha intentado abrir el cajón y no está en KovraWebOrigenes.",
                  "https://b.es ha intentado abrir el cajón y no está en KovraWebOrigenes.",
                  "https://c.es ha intentado abrir el cajón y no está en KovraWebOrigenes.",
                  kTextoOtrosOrigenes}));
}

}  // namespace

namespace {

TEST(PuenteWebTest, BeyondSixtyFourRefusedOriginsACountOnceAnHourAndAtTheEndAndANewListRules) {
    Puente p;
    std::vector<std::pair<std::string, std::uint64_t>> n;
    p.puente.AlAvisar([&](std::string_view o, std::uint64_t k) { n.emplace_back(o, k); });
    const auto post = [&](const std::string& o, const char* ruta = "/v1/abrir") {
        return p.Estado(Pedir(ruta[4] == 'a' ? "POST" : "GET", ruta,
                              "Host: 127.0.0.1:47110\r\nOrigin: " + o + "\r\n", "{}"));
    };
    for (int i = 0; i < 65; ++i) post("https://o" + std::to_string(i % 64) + ".es");
    ASSERT_EQ(n.size(), 64u) << "a repeat is neither told nor counted";
    for (const char* o : {"https://a.es", "https://b.es", "https://b.es"}) post(o), p.ahora += 1;
    EXPECT_EQ(n.back(), std::make_pair(std::string("https://a.es"), std::uint64_t{1}));
    EXPECT_EQ(p.puente.ProximoPlazo(p.ahora), p.ahora - 3 + 3600 * 1000);
    p.ahora += 3600 * 1000 - 4;
    EXPECT_EQ((p.Salida(0), n.size()), 65u);
    p.ahora += 1;
    EXPECT_EQ((p.Salida(0), n.back()),
              std::make_pair(std::string("https://b.es"), std::uint64_t{2}));
    post("https://c.es");
    p.puente.Resumir(p.ahora);
    p.puente.Resumir(p.ahora);
    EXPECT_EQ(n.size(), 67u);
    EXPECT_EQ(n.back().first, "https://c.es");
    p.puente.CambiarOrigenes({"https://nueva.es"});
    EXPECT_EQ(post(kTpv, "/v1/estado") + post("https://nueva.es", "/v1/estado"), "403200");
}

}  // namespace
