# The Windows program, its platform layer and the tests that run under Wine.

# One self-contained exe: no MinGW runtime DLLs beside it.
set(CAJON_STATIC_LINK -static -static-libgcc -static-libstdc++)

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(cajon_win32 STATIC
    platform/win32/ErroresWin32.cpp
    platform/win32/Win32EscuchaWeb.cpp
    platform/win32/Win32Inventario.cpp
    platform/win32/Win32Idn.cpp
    platform/win32/FallosImpresion.cpp
    platform/win32/ImagenJpeg.cpp
    platform/win32/Texto.cpp
    platform/win32/Win32Clock.cpp
    platform/win32/Win32Dialogs.cpp
    platform/win32/Win32KeyState.cpp
    platform/win32/Win32NotificationArea.cpp
    platform/win32/Win32ColaImpresora.cpp
    platform/win32/Win32Printing.cpp
    platform/win32/CarpetaPrograma.cpp
    platform/win32/ClaseVentana.cpp
    platform/win32/Conexiones.cpp
    platform/win32/Win32Red.cpp
    platform/win32/Win32ConsultaEstado.cpp
    platform/win32/Win32Serie.cpp
    platform/win32/Win32Port.cpp
    platform/win32/Win32PermisosArchivo.cpp
    platform/win32/Win32Politicas.cpp
    platform/win32/Win32Profile.cpp
    platform/win32/Win32RegistroEventos.cpp
    platform/win32/Win32TrabajoRaw.cpp
    platform/win32/Win32Session.cpp
    platform/win32/Win32TextFiles.cpp
)
target_compile_definitions(cajon_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                              _WIN32_WINNT=0x0601)
target_link_libraries(cajon_win32 PUBLIC cajon_core)
# IdnToAscii is normaliz.dll's, as documented: some editions of Windows
# leave it out of kernel32.
target_link_libraries(cajon_win32 PUBLIC winspool gdi32 ws2_32 normaliz)
target_link_libraries(cajon_win32 PUBLIC shell32 ole32 oleaut32 uuid advapi32)

# The windows and the composition of the program, shared by the release exe
# and the test build that runs it against a refusing notification area.
add_library(cajon_ventanas STATIC
    ui/win32/AvisosBandeja.cpp
    ui/win32/GuiaDeUso.cpp
    ui/win32/VentanaPrincipalMensajes.cpp
    ui/win32/VentanaPrincipalVista.cpp
    ui/win32/BotonConIcono.cpp
    ui/win32/DisenoPrincipal.cpp
    ui/win32/Programa.cpp
    ui/win32/PuenteWebVentana.cpp
    ui/win32/UnaInstancia.cpp
    ui/win32/VentanaAsistente.cpp
    ui/win32/VentanaPrincipal.cpp
    ui/win32/VentanaPrinters.cpp
)
target_link_libraries(cajon_ventanas PUBLIC cajon_win32 comctl32)
# The bridge's Windows half is optimized for size too.
set_source_files_properties(platform/win32/Win32EscuchaWeb.cpp ui/win32/PuenteWebVentana.cpp
                            PROPERTIES COMPILE_OPTIONS -Os)
# What the browser bridge's /v1/estado tells a web page.
target_compile_definitions(cajon_ventanas PRIVATE CAJON_VERSION_PROGRAMA="${PROJECT_VERSION}")

include(cmake/Version.cmake)
cajon_version_files(${CMAKE_BINARY_DIR}/version ${PROJECT_VERSION})

# The texts of the program's events (resources/Eventos.mc): a message table
# that windmc compiles into a resource script of its own, for Event Viewer.
string(REPLACE "windres" "windmc" CAJON_WINDMC "${CMAKE_RC_COMPILER}")
set(CAJON_EVENTOS ${CMAKE_BINARY_DIR}/eventos)
add_custom_command(
    OUTPUT ${CAJON_EVENTOS}/Eventos.rc ${CAJON_EVENTOS}/MSG0C0A.bin ${CAJON_EVENTOS}/MSG0409.bin
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CAJON_EVENTOS}
    # The source is UTF-8; the table holds UTF-16 texts.
    COMMAND ${CAJON_WINDMC} -C 65001 -U -h ${CAJON_EVENTOS} -r ${CAJON_EVENTOS}
            ${CMAKE_SOURCE_DIR}/resources/Eventos.mc
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/Eventos.mc)

add_executable(AbrirCajon WIN32 ui/win32/WinMain.cpp ui/win32/TerminarSinTexto.cpp
                          resources/AbrirCajon.rc ${CAJON_EVENTOS}/Eventos.rc)
target_include_directories(AbrirCajon PRIVATE ${CMAKE_BINARY_DIR}/version ${CAJON_EVENTOS})
target_link_libraries(AbrirCajon PRIVATE cajon_ventanas)
# The release carries no symbols: a third of its size.
target_link_options(AbrirCajon PRIVATE ${CAJON_STATIC_LINK} -municode $<$<CONFIG:Release>:-s>)

add_executable(cajon_sin_bandeja WIN32 tests/win32/SinBandejaMain.cpp ui/win32/TerminarSinTexto.cpp
                                    resources/AbrirCajon.rc)
target_include_directories(cajon_sin_bandeja PRIVATE ${CMAKE_BINARY_DIR}/version)
target_link_libraries(cajon_sin_bandeja PRIVATE cajon_ventanas)
target_link_options(cajon_sin_bandeja PRIVATE ${CAJON_STATIC_LINK} -municode)
# The resource script names its pictures: a new picture makes a new exe.
set_source_files_properties(resources/AbrirCajon.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/infocajon.jpg;${CMAKE_SOURCE_DIR}/resources/abrircajon.ico;${CMAKE_SOURCE_DIR}/resources/iconoA.ico;${CMAKE_SOURCE_DIR}/resources/iconoB.ico")

# Tests of the platform layer against the real system (under Wine here).
add_executable(cajon_win_tests
    tests/contract/ProfileContract.cpp
    tests/contract/Win32ProfileUnderTest.cpp
    tests/win32/Win32NotificationAreaTest.cpp
    tests/win32/Win32TextFilesTest.cpp
    tests/win32/IniciarTimerTest.cpp
    tests/win32/Win32DialogsTest.cpp
    # The number readers, with the C library that the release runs on.
    tests/unit/ConversionesTest.cpp
    tests/win32/PoliticasEventosTest.cpp
    tests/win32/Win32EscuchaWebTest.cpp
)
target_link_libraries(cajon_win_tests PRIVATE cajon_ventanas gtest_main)
target_link_options(cajon_win_tests PRIVATE ${CAJON_STATIC_LINK})
add_dependencies(cajon_win_tests AbrirCajon)
add_test(NAME win_tests COMMAND cajon_win_tests)
# The exe whose message table the tests read, as Wine names it (drive Z: is /).
set_tests_properties(win_tests PROPERTIES LABELS wine TIMEOUT 180
                     ENVIRONMENT "CAJON_EXE_EVENTOS=Z:$<TARGET_FILE:AbrirCajon>")

# Runs the drawer kick on a real port, for the end-to-end tests.
add_executable(cajon_kick_driver tests/win32/KickDriver.cpp)
target_link_libraries(cajon_kick_driver PRIVATE cajon_win32)
target_link_options(cajon_kick_driver PRIVATE ${CAJON_STATIC_LINK} -municode)

# Helper program for the end-to-end tests: reads message boxes, posts messages.
add_executable(cajon_e2e_helper tests/e2e/helper/Helper.cpp)
target_link_libraries(cajon_e2e_helper PRIVATE cajon_warnings shell32 ws2_32)
target_compile_definitions(cajon_e2e_helper PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(cajon_e2e_helper PRIVATE ${CAJON_STATIC_LINK} -municode)

# The printing back end: its checks that need no printer, and the probe that
# the end-to-end printing test drives against CUPS queues.
add_executable(cajon_print_tests tests/win32/Win32PrintingTest.cpp)
target_link_libraries(cajon_print_tests PRIVATE cajon_win32 gtest_main)
target_link_options(cajon_print_tests PRIVATE ${CAJON_STATIC_LINK})
add_test(NAME print_tests COMMAND cajon_print_tests)
set_tests_properties(print_tests PROPERTIES LABELS wine TIMEOUT 120)

add_executable(cajon_print_probe tests/win32/PrintProbe.cpp)
target_link_libraries(cajon_print_probe PRIVATE cajon_win32)
target_link_options(cajon_print_probe PRIVATE ${CAJON_STATIC_LINK} -municode)

# The exe may import only DLLs that every Windows has.
add_test(NAME system_dlls_only
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh ${CAJON_OBJDUMP} $<TARGET_FILE:AbrirCajon>)
set_tests_properties(system_dlls_only PROPERTIES TIMEOUT 60)

# End-to-end tests drive the real exe under Wine in an X display; they need
# the environment that scripts/test.sh prepares (display, prefix, CUPS).
if(CAJON_E2E)
    file(GLOB CAJON_E2E_TESTS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.sh)
    # For the package tests: the program as the next version would be (the
    # same code; only its version differs), to install over the current one.
    cajon_next_version(${PROJECT_VERSION} siguiente)
    cajon_version_files(${CMAKE_BINARY_DIR}/version-siguiente ${siguiente})
    add_executable(cajon_version_siguiente WIN32 ui/win32/WinMain.cpp ui/win32/TerminarSinTexto.cpp
                                           resources/AbrirCajon.rc ${CAJON_EVENTOS}/Eventos.rc)
    target_include_directories(cajon_version_siguiente PRIVATE ${CMAKE_BINARY_DIR}/version-siguiente
                                                               ${CAJON_EVENTOS})
    target_link_libraries(cajon_version_siguiente PRIVATE cajon_ventanas)
    target_link_options(cajon_version_siguiente PRIVATE ${CAJON_STATIC_LINK} -municode -s)

    # For the package tests: which exe, of which version, runs a window.
    add_executable(cajon_proceso_ventana tests/package/ProcesoVentana.cpp)
    target_link_libraries(cajon_proceso_ventana PRIVATE cajon_win32 version)
    target_link_options(cajon_proceso_ventana PRIVATE ${CAJON_STATIC_LINK} -municode)

    foreach(script ${CAJON_E2E_TESTS})
        get_filename_component(nombre ${script} NAME_WE)
        add_test(NAME e2e_${nombre} COMMAND bash ${script})
        set_tests_properties(e2e_${nombre} PROPERTIES
            ENVIRONMENT "CAJON_EXE=$<TARGET_FILE:AbrirCajon>;CAJON_HELPER=$<TARGET_FILE:cajon_e2e_helper>;CAJON_KICK_DRIVER=$<TARGET_FILE:cajon_kick_driver>;CAJON_EXE_SIN_BANDEJA=$<TARGET_FILE:cajon_sin_bandeja>;CAJON_PRINT_PROBE=$<TARGET_FILE:cajon_print_probe>"
            LABELS "wine;e2e" RUN_SERIAL TRUE TIMEOUT 480)
    endforeach()
endif()
