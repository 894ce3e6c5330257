#include <gtest/gtest.h>

#include "bridge/CuerpoJson.h"
#include "bridge/PuenteWeb.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/Fakes.h"

namespace {

constexpr const char* kTpv = "https://tpv.ejemplo.com";

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
    const std::tuple<std::string, E, int> casos[] = {
        {"GET /v1/estado HTTP/1.1\r\nHost: x\r\n\r\n", E::Completa, 0},
        {"POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}", E::Completa, 0},
        {"POST / HTTP/1.1\r\nContent-Length: 2\r\n\r\n{", E::Faltan, 0},
        {"GET / HTTP/1.1\r\nHost: x\r\n", E::Faltan, 0},
        {"GET / HTTP/1.1\r\nX: " + grande + "\r\n\r\n", E::Error, 431},
        {"GET / HTTP/1.1\r\nX: " + grande, E::Error, 431},
        {"POST / HTTP/1.1\r\nContent-Length: 1025\r\n\r\n", E::Error, 413},
        {"POST / HTTP/1.1\r\nContent-Length: 99999999999\r\n\r\n", E::Error, 400},
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
}

TEST(PuenteWebTest, TheBodyIsAJsonObjectWithAnOptionalTextMotivo) {
    const std::pair<std::string, std::optional<std::string>> validos[] = {
        {"{}", std::nullopt},
        {" {\"a\":[1,-2.5e3,true,false,null,{\"b\":\"c\"}]} ", std::nullopt},
        {"{\"motivo\":\"Venta 12\"}", "Venta 12"},
        {"{\"motivo\":\"\\u00f1\\ud83d\\ude00\\n\"}", "ñ😀\n"},
        {"{\"motivo\":\"" + std::string(80, 'x') + "\"}", std::string(80, 'x')},
    };
    for (const auto& [texto, motivo] : validos) {
        const auto cuerpo = LeerCuerpoApertura(texto);
        ASSERT_TRUE(cuerpo) << texto;
        EXPECT_EQ(cuerpo->motivo, motivo) << texto;
    }
    for (const std::string& texto : std::vector<std::string>{
             "", "[]", "{", "{}x", "{\"a\":}", "{\"a\":01}", "{\"a\":1,}", "{'a':1}",
             "{\"motivo\":1}", "{\"motivo\":\"a\",\"motivo\":\"b\"}",
             "{\"motivo\":\"" + std::string(81, 'x') + "\"}", "{\"a\":\"\\ud800\"}",
             "{\"a\":\"\x01\"}", std::string(20, '[') + std::string(20, ']')}) {
        EXPECT_FALSE(LeerCuerpoApertura(texto)) << texto;
    }
    EXPECT_EQ(TextoJson("a\"\\\r\n\x01"), "\"a\\\"\\\\\\r\\n\\u0001\"");
}

TEST(PuenteWebTest, TheKeysAreReadOnceWithABoxForABadPort) {
    EXPECT_EQ(LeerOrigenes(" https://a.es,http://localhost:8080/ ,, x "),
              (std::vector<std::string>{"https://a.es", "http://localhost:8080", "x"}));
    const std::pair<const char*, std::optional<std::uint16_t>> puertos[] = {
        {"1024", 1024},          {"65535", 65535},       {"1023", std::nullopt},
        {"65536", std::nullopt}, {"", std::nullopt},     {"80a", std::nullopt},
        {" 5000", std::nullopt}, {"+5000", std::nullopt}};
    for (const auto& [texto, puerto] : puertos) EXPECT_EQ(LeerPuertoWeb(texto), puerto) << texto;

    MemoryProfile perfil;
    FakeDialogs dialogs;
    Parametros parametros(perfil, dialogs);
    EXPECT_FALSE(LeerConfiguracionWeb(parametros, dialogs));
    perfil.valores["KovraWebOrigenes"] = kTpv;
    EXPECT_EQ(LeerConfiguracionWeb(parametros, dialogs)->puerto, 47110);
    perfil.valores["KovraWebPuerto"] = "80";
    EXPECT_FALSE(LeerConfiguracionWeb(parametros, dialogs));
    ASSERT_EQ(dialogs.cajas.size(), 1u);
    EXPECT_NE(dialogs.cajas[0].texto.find("KovraWebPuerto no es válido: \"80\""),
              std::string::npos);
    EXPECT_TRUE(perfil.escrituras.empty());
}

struct Puente {
    Puente()
        : puente(
              {{kTpv, "http://localhost:8080"}, 47110}, "1.0.0",
              [this](const std::string& p) {
                  paginas.push_back(p);
                  return resultado;
              },
              [this](const std::string& t) { avisos.push_back(t); }, [this] { return ahora; }) {}
    std::string Responder(const std::string& texto) { return puente.Responder(Leer(texto)); }

    ResultadoWeb resultado{ResultadoWeb::Estado::Enviado, 0, {}};
    std::vector<std::string> paginas, avisos;
    std::int64_t ahora = 10000;
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
        {Pedir("POST", "/v1/abrir", kPost, "{}"), 200, true, "\r\n\r\n{\"ok\":true}"},
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
        {Pedir("GET", "/v1/estado", host + tpv), 200, false,
         "{\"programa\":\"AbrirCajon\",\"version\":\"1.0.0\"}"},
        {Pedir("GET", "/v1/estado", host + "Origin: https://malo.com\r\n"), 403, false,
         "KovraWebOrigenes"},
        {Pedir("OPTIONS", "/v1/abrir", host + tpv + "Access-Control-Request-Method: POST\r\n"), 204,
         false,
         "Vary: Origin\r\nAccess-Control-Allow-Methods: POST\r\nAccess-Control-Allow-Headers: "
         "Content-Type\r\nAccess-Control-Max-Age: 600\r\n\r\n"},
        {Pedir("OPTIONS", "/v1/abrir",
               host + tpv + "Access-Control-Request-Private-Network: true\r\n"),
         204, false, "Access-Control-Allow-Private-Network: true\r\n"},
        {"POST /v1/abrir HTTP/1.1\r\n" + kPost + "Content-Length: 2000\r\n\r\n", 413, false,
         "1024"},
    };
    for (const auto& [peticion, codigo, patada, contiene] : casos) {
        Puente p;
        const std::string r = p.Responder(peticion);
        SCOPED_TRACE(peticion);
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
    }
}

TEST(PuenteWebTest, OneKickASecondRecordedWithItsOriginAndItsAnswer) {
    Puente p;
    const std::string post = Pedir("POST", "/v1/abrir", kPost, "{\"motivo\":\"Venta\\n12\"}");
    EXPECT_NE(p.Responder(post).find("200 OK"), std::string::npos);
    p.ahora += 999;
    const std::string otra = p.Responder(post);
    EXPECT_NE(otra.find("429 Too Many Requests"), std::string::npos);
    EXPECT_NE(otra.find("Retry-After: 1\r\n"), std::string::npos);
    p.ahora += 1;
    p.resultado = {ResultadoWeb::Estado::Fallido, 2, "2.No se encuentra\r\nPuerto:LPT1:"};
    EXPECT_NE(p.Responder(post).find("502 Bad Gateway"), std::string::npos);
    p.ahora += 1000;
    p.resultado = {ResultadoWeb::Estado::NoAtendido, 170, "ocupado"};
    const std::string ocupado = p.Responder(Pedir("POST", "/v1/abrir", kPost, "{}"));
    EXPECT_NE(ocupado.find("503 "), std::string::npos);
    EXPECT_NE(ocupado.find("{\"ok\":false,\"error\":170,\"mensaje\":\"ocupado\"}"),
              std::string::npos);
    EXPECT_EQ(p.paginas, (std::vector<std::string>{std::string(kTpv) + " Venta 12",
                                                   std::string(kTpv) + " Venta 12", kTpv}));
    p.ahora += 1000;
    p.resultado = {ResultadoWeb::Estado::Fallido, 2, "2.No se encuentra\r\nPuerto:LPT1:"};
    EXPECT_NE(p.Responder(post).find(
                  "{\"ok\":false,\"error\":2,\"mensaje\":\"2.No se encuentra\\r\\nPuerto:LPT1:\"}"),
              std::string::npos);
}

TEST(PuenteWebTest, ARefusedOriginShowsOneBalloonPerRun) {
    Puente p;
    for (const char* origen : {"https://malo.com", "https://malo.com", "null", "https://otro.es"}) {
        p.Responder(Pedir("OPTIONS", "/v1/abrir",
                          "Host: 127.0.0.1:47110\r\nOrigin: " + std::string(origen) + "\r\n"));
    }
    p.Responder(Pedir("POST", "/v1/abrir", "Host: 127.0.0.1:47110\r\n", "{}"));
    EXPECT_EQ(p.avisos,
              (std::vector<std::string>{
                  "https://malo.com ha intentado abrir el cajón y no está en KovraWebOrigenes.",
                  "https://otro.es ha intentado abrir el cajón y no está en KovraWebOrigenes."}));
}

}  // namespace
