# The program's version is set once, in project() in CMakeLists.txt. These
# files carry it into the exe (version resource, manifest) and the packages.

# Writes into DIR, for VERSION (one to four numbers): Version.h for the
# resource script, the manifest, and version.txt (the version as written, for
# the packaging script).
function(cajon_version_files dir version)
    string(REPLACE "." ";" partes "${version}")
    list(LENGTH partes n)
    if(n LESS 1 OR n GREATER 4)
        message(FATAL_ERROR "not a version: ${version}")
    endif()
    while(n LESS 4)
        list(APPEND partes 0)
        math(EXPR n "${n} + 1")
    endwhile()
    list(JOIN partes "," CAJON_VERSION_NUMEROS)
    list(JOIN partes "." CAJON_VERSION_TEXTO)
    set(CAJON_VERSION_DIR "${dir}")
    configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${dir}/Version.h @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/resources/AbrirCajon.manifest.in ${dir}/AbrirCajon.manifest @ONLY)
    file(WRITE ${dir}/version.txt "${version}\n")
endfunction()

# VERSION with its last given number raised by one: 1.0.0 -> 1.0.1.
function(cajon_next_version version out)
    string(REGEX MATCH "[0-9]+$" ultimo "${version}")
    string(REGEX REPLACE "[0-9]+$" "" resto "${version}")
    math(EXPR ultimo "${ultimo} + 1")
    set(${out} "${resto}${ultimo}" PARENT_SCOPE)
endfunction()
