; The installer of AbrirCajon, in Spanish. scripts/package.sh compiles it
; (through scripts/lib/package.sh) with:
;   makensis -WX -INPUTCHARSET UTF8 -DCAJON_VERSION=1.2.3 -DCAJON_VERSION4=1.2.3.0
;            -DCAJON_EXE=<the exe to install> -DCAJON_ARCH=x86|x64
;            -DCAJON_SALIDA=<installer to write> [-DCAJON_FIRMAR=<signing command>]
;            -DCAJON_CODIGO_MSI=<the UpgradeCode of installer/AbrirCajon.wxs>
;            -DCAJON_EXTRAS=<folder with guia.html and the web kit>
;            installer/AbrirCajon.nsi
;
; It installs for the current user only, with no administrator prompt, into
; %LOCALAPPDATA%\Programs\AbrirCajon: the program keeps its settings in INIS
; beside the exe, and a folder under Program Files is not writable without
; administrator rights (Windows would send the writes to the VirtualStore).
; Upgrading keeps INIS\PARAMETROS.INI: the installer never writes it, except
; to carry it over from the installed copy's folder into a new, empty one.
; It is meant to be run by the till's user. Run elevated (an administrator's
; prompt, or as SYSTEM) it installs into the profile of the account it runs
; as, which may not be the till user's, and it does not start the program,
; whose single-copy lock an unelevated copy could not open; nor does it end
; a running copy, which it could not start again as the till's user: that
; copy's exe is renamed aside (a running exe can be), it runs on until the
; session ends, and the next log-on starts the new one.
; Windows 7 SP1 is the oldest the program runs on; an older one is refused.
; Where the per-machine package (installer/AbrirCajon.wxs) is installed, it
; refuses too: two copies would both start at log-on, each with its own
; settings.

!ifndef CAJON_VERSION | CAJON_VERSION4 | CAJON_EXE | CAJON_ARCH | CAJON_SALIDA | CAJON_CODIGO_MSI | CAJON_EXTRAS
  !error "CAJON_VERSION, CAJON_VERSION4, CAJON_EXE, CAJON_ARCH, CAJON_SALIDA, CAJON_CODIGO_MSI and CAJON_EXTRAS must be defined"
!endif

Unicode true
!if "${CAJON_ARCH}" == "x64"
  Target amd64-unicode
!else if "${CAJON_ARCH}" == "x86"
  Target x86-unicode
!else
  !error "CAJON_ARCH must be x86 or x64"
!endif

!define PROGRAMA "AbrirCajon"
!define EDITOR "AbrirCajon"
!define EXE "AbrirCajon.exe"
!define DESINSTALADOR "Desinstalar.exe"
!define CLAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PROGRAMA}"
!define CLAVE_RUN "Software\Microsoft\Windows\CurrentVersion\Run"
; The program's main window: a running copy is found by it.
!define CLASE_VENTANA "AbrirCajon.frmAbrirCajon"
!define ACCESO "$SMPROGRAMS\${PROGRAMA}.lnk"
; The shop's guide, a page beside the exe; the program's menu opens it too.
!define GUIA "guia.html"
!define ACCESO_GUIA "$SMPROGRAMS\Guía de ${PROGRAMA}.lnk"
; The drawer assistant: finds the command that opens the drawer and saves it.
!define ACCESO_ASISTENTE "$SMPROGRAMS\Configurar el cajón.lnk"
; Where an elevated upgrade moves the exe of a copy that runs on.
!define APARTE "${EXE}.anterior"
; makensis works in this folder (it changes into it).
!define RESOURCES "../resources"

Name "${PROGRAMA}"
OutFile "${CAJON_SALIDA}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PROGRAMA}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${CLAVE_DESINSTALAR}" "InstallLocation"
SetCompressor /SOLID lzma
; A file that cannot be written (the exe still running) fails the install,
; also a silent one (exit code 2), instead of leaving the old exe behind.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PROGRAMA} ${CAJON_VERSION}"

!ifdef CAJON_FIRMAR
  ; Signed as the last step of writing each: the installer and the
  ; uninstaller it carries.
  !finalize '"${CAJON_FIRMAR}" "%1"' = 0
  !uninstfinalize '"${CAJON_FIRMAR}" "%1"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinVer.nsh

!define MUI_ICON "${RESOURCES}/abrircajon.ico"
!define MUI_UNICON "${RESOURCES}/abrircajon.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Este asistente instalará ${PROGRAMA} ${CAJON_VERSION}, el programa que abre el cajón portamonedas con la tecla F12.$\r$\n$\r$\nSe instala solo para este usuario y no necesita permisos de administrador. Si ya está instalado, se actualiza y se conserva su configuración (INIS\PARAMETROS.INI).$\r$\n$\r$\nSi el programa está abierto, se cerrará durante la instalación y se volverá a abrir al terminar.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Iniciar ${PROGRAMA} ahora"
!define MUI_FINISHPAGE_RUN_FUNCTION IniciarAlTerminar
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Configurar el cajón ahora"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION AsistenteAlTerminar
!define MUI_PAGE_CUSTOMFUNCTION_SHOW MostrarTerminar
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${CAJON_VERSION4}"
VIFileVersion "${CAJON_VERSION4}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "${PROGRAMA}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${CAJON_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${CAJON_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de ${PROGRAMA} (apertura de cajón portamonedas)"
VIAddVersionKey /LANG=${LANG_SPANISH} "CompanyName" "${EDITOR}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "© ${EDITOR}"

Var Reabrir   ; 1: a running copy was ended and must be started again
Var Iniciado  ; 1: the program was already started at the end of the install
Var Elevado   ; 1: the installer runs elevated: it ends no copy and starts none
Var Dejar     ; 1: CerrarCopia only notes a running copy in $Abierta
Var Abierta   ; 1: CerrarCopia found a copy and left it running
Var Previa    ; 1: an earlier install was there: an upgrade

; Pushes the long, full form of a path (the path itself when it does not
; exist), so that two spellings of one file compare equal.
!macro DEFINIR_RUTA_LARGA un
Function ${un}RutaLarga
  Exch $0
  Push $1
  Push $2
  System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2'
  ${If} $2 <> 0
    StrCpy $0 $1
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 <> 0
    StrCpy $0 $1
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend

; Ends the copy of the program that runs from the exe on the stack (the one
; in $INSTDIR holds that exe open). It is asked to close as the task manager
; would ask it (it then removes its notification-area icon and ends without a
; question); one that does not end within 10 s is terminated. Copies run from
; other folders are left alone. Sets $Reabrir to 1 when a copy was ended;
; with $Dejar 1 it ends nothing and sets $Abierta to 1 instead.
!macro DEFINIR_CERRAR_COPIA un
Function ${un}CerrarCopia
  Exch $4
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Call ${un}RutaLarga
  Pop $4
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${CLASE_VENTANA}" "" 0 $0
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r1) p .r2'
    ${If} $2 != 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r1'
      ${If} $1 <> 0
        Push $3
        Call ${un}RutaLarga
        Pop $3
        ${If} $3 == $4
          ${If} $Dejar == 1
            StrCpy $Abierta 1
          ${Else}
            DetailPrint "Cerrando ${PROGRAMA}, que está abierto..."
            System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
            System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r1'
            ${If} $1 <> 0
              System::Call 'kernel32::TerminateProcess(p r2, i 1)'
              System::Call 'kernel32::WaitForSingleObject(p r2, i 5000) i'
            ${EndIf}
            StrCpy $Reabrir 1
          ${EndIf}
          System::Call 'kernel32::CloseHandle(p r2)'
          ; One copy per user session: the program allows no second one.
          ${Break}
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
  Pop $4
FunctionEnd
!macroend

!insertmacro DEFINIR_RUTA_LARGA ""
!insertmacro DEFINIR_RUTA_LARGA "un."
!insertmacro DEFINIR_CERRAR_COPIA ""
!insertmacro DEFINIR_CERRAR_COPIA "un."

; An upgrade into another folder than the installed copy's (/D= or the
; folder page): the copy running from there is ended too, and its settings
; come along when the new folder has none. The old folder is left as it is.
Function DesdeOtraCarpeta
  Push $0
  Push $1
  ReadRegStr $0 HKCU "${CLAVE_DESINSTALAR}" "InstallLocation"
  StrCpy $Dejar $Elevado
  ${If} $0 != ""
    Push $0
    Call RutaLarga
    Pop $0
    Push $INSTDIR
    Call RutaLarga
    Pop $1
    ${If} $0 != $1
      Push "$0\${EXE}"
      Call CerrarCopia
      ${If} ${FileExists} "$0\INIS\PARAMETROS.INI"
      ${AndIfNot} ${FileExists} "$INSTDIR\INIS\PARAMETROS.INI"
        DetailPrint "Copiando la configuración de $0..."
        CopyFiles /SILENT "$0\INIS\PARAMETROS.INI" "$INSTDIR\INIS"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Elevated, a copy running from $INSTDIR keeps running from its exe renamed
; aside. If that cannot be done the install stops, the copy still running:
; ended, nobody could start it again as the till's user.
Function ApartarCopia
  StrCpy $Abierta 0
  StrCpy $Dejar 1
  Push "$INSTDIR\${EXE}"
  Call CerrarCopia
  StrCpy $Dejar 0
  ${If} $Abierta == 1
    ClearErrors
    Delete "$INSTDIR\${APARTE}"
    Rename "$INSTDIR\${EXE}" "$INSTDIR\${APARTE}"
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "No se puede actualizar ${PROGRAMA} mientras está abierto. Ciérrelo con $\"Salir$\" y vuelva a ejecutar el instalador." /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "${PROGRAMA} (necesario)" SecPrograma
  SectionIn RO
  ; A copy an earlier elevated upgrade left running from the renamed exe:
  ; ended here unless elevated; its file goes once it has ended.
  StrCpy $Dejar $Elevado
  Push "$INSTDIR\${APARTE}"
  Call CerrarCopia
  Delete "$INSTDIR\${APARTE}"
  ${If} $Elevado == 1
    Call ApartarCopia
  ${Else}
    Push "$INSTDIR\${EXE}"
    Call CerrarCopia
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${CAJON_EXE}"
  File "${CAJON_EXTRAS}/${GUIA}"
  ; For the shop's web developer: the kit a web page uses to open the drawer.
  File "${CAJON_EXTRAS}/abrircajon.js"
  File "${CAJON_EXTRAS}/abrircajon.mjs"
  File "${CAJON_EXTRAS}/abrircajon.d.ts"
  File "${CAJON_EXTRAS}/abrircajon.d.mts"
  File "${CAJON_EXTRAS}/demo.html"
  ; The settings folder: the program writes INIS\PARAMETROS.INI there.
  CreateDirectory "$INSTDIR\INIS"
  Call DesdeOtraCarpeta
  WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
  CreateShortcut "${ACCESO}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" \
    "Abre el cajón portamonedas con la tecla F12"
  CreateShortcut "${ACCESO_GUIA}" "$INSTDIR\${GUIA}" "" "" 0 SW_SHOWNORMAL "" \
    "Cómo instalar, configurar y usar AbrirCajon"
  CreateShortcut "${ACCESO_ASISTENTE}" "$INSTDIR\${EXE}" "/asistente" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "Busca la orden que abre el cajón y la guarda"
  ; Written again by "Iniciar con Windows" when it is chosen.
  DeleteRegValue HKCU "${CLAVE_RUN}" "${PROGRAMA}"

  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayName" "${PROGRAMA}"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayVersion" "${CAJON_VERSION}"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "Publisher" "${EDITOR}"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
  WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoModify" 1
  WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "EstimatedSize" $0
SectionEnd

Section "Iniciar con Windows" SecInicio
  WriteRegStr HKCU "${CLAVE_RUN}" "${PROGRAMA}" '"$INSTDIR\${EXE}"'
SectionEnd

; Last: a copy that was ended comes back; a silent install starts the program
; as the finish page's choice does by default. Not when elevated: that copy's
; single-copy lock would keep the till user's own copy from seeing it, and
; every F12 would open the drawer twice.
Section "-Iniciar"
  ${If} $Abierta == 1
    DetailPrint "Instalación como administrador: ${PROGRAMA} sigue abierto con la versión anterior hasta que se cierre la sesión; la nueva se usará al volver a abrirlo."
  ${ElseIf} $Elevado == 1
    DetailPrint "Instalación como administrador: ${PROGRAMA} no se abre ahora. Ábralo con el usuario de la caja desde el menú Inicio."
  ${ElseIf} $Reabrir == 1
  ${OrIf} ${Silent}
    Exec '"$INSTDIR\${EXE}"'
    StrCpy $Iniciado 1
  ${EndIf}
SectionEnd

Function IniciarAlTerminar
  ${If} $Iniciado != 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
FunctionEnd

; The assistant after the program's start, if that was chosen: it opens in
; the copy just started, or starts the program with it open.
Function AsistenteAlTerminar
  Exec '"$INSTDIR\${EXE}" /asistente'
FunctionEnd

; Elevated, the finish page offers no start. The assistant is offered ticked
; on a first install only: an upgrade keeps the drawer as it was set up.
Function MostrarTerminar
  ${If} $Elevado == 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.ShowReadme ${SW_HIDE}
  ${ElseIf} $Previa == 1
    SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} ${BST_UNCHECKED} 0
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $0 0
  ${IfNot} ${AtLeastWin7}
    StrCpy $0 1
  ${ElseIf} ${IsWin7}
  ${AndIf} ${AtMostServicePack} 0
    StrCpy $0 1
  ${EndIf}
  ${If} $0 == 1
    MessageBox MB_OK|MB_ICONSTOP "${PROGRAMA} necesita Windows 7 SP1 o posterior (Windows 8, 8.1, 10 u 11). No se puede instalar en esta versión de Windows." /SD IDOK
    SetErrorLevel 1150  ; ERROR_OLD_WIN_VERSION
    Quit
  ${EndIf}
  ReadRegStr $0 HKCU "${CLAVE_DESINSTALAR}" "InstallLocation"
  StrCpy $Previa 0
  ${If} $0 != ""
    StrCpy $Previa 1
  ${EndIf}
  ; Windows Installer knows the per-machine package by its UpgradeCode, in
  ; whichever registry view, for every user.
  System::Call 'msi::MsiEnumRelatedProductsW(w "{${CAJON_CODIGO_MSI}}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "${PROGRAMA} ya está instalado para todos los usuarios de este equipo (paquete MSI del departamento de informática): ábralo desde el menú Inicio. No se puede instalar además solo para este usuario." /SD IDOK
    SetErrorLevel 1638  ; ERROR_PRODUCT_VERSION: another version is installed
    Quit
  ${EndIf}
  ; Elevated: the full token of a split administrator ("Ejecutar como
  ; administrador", TokenElevationType 2), or SYSTEM. An administrator with
  ; UAC off has no split token (type 1) and runs as the till's user does.
  ; A token that cannot be read counts as not elevated.
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r0) i .r1'  ; TOKEN_QUERY
  ${If} $1 <> 0
    System::Call 'advapi32::GetTokenInformation(p r0, i 18, *i .r1, i 4, *i .r2) i .r2'
    ${If} $2 <> 0
    ${AndIf} $1 == 2
      StrCpy $Elevado 1
    ${EndIf}
    System::Alloc 256
    Pop $3
    System::Call 'advapi32::GetTokenInformation(p r0, i 1, p r3, i 256, *i .r2) i .r2'  ; TokenUser
    ${If} $2 <> 0
      System::Call '*$3(p .r1)'
      System::Call 'advapi32::IsWellKnownSid(p r1, i 22) i .r2'  ; WinLocalSystemSid
      ${If} $2 <> 0
        StrCpy $Elevado 1
      ${EndIf}
    ${EndIf}
    System::Free $3
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  ; An upgrade keeps the user's earlier choice: no Run value, no autostart.
  ReadRegStr $0 HKCU "${CLAVE_DESINSTALAR}" "UninstallString"
  ${If} $0 != ""
    ClearErrors
    ReadRegStr $1 HKCU "${CLAVE_RUN}" "${PROGRAMA}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecInicio}
    ${EndIf}
  ${EndIf}
FunctionEnd

; The registrations go only when they are this folder's: another copy
; installed later keeps its own.
Section "un.${PROGRAMA}" SecDesPrograma
  SectionIn RO
  Push "$INSTDIR\${EXE}"
  Call un.CerrarCopia
  Push "$INSTDIR\${APARTE}"
  Call un.CerrarCopia
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${APARTE}"
  Delete "$INSTDIR\${GUIA}"
  Delete "$INSTDIR\abrircajon.js"
  Delete "$INSTDIR\abrircajon.mjs"
  Delete "$INSTDIR\abrircajon.d.ts"
  Delete "$INSTDIR\abrircajon.d.mts"
  Delete "$INSTDIR\demo.html"
  ReadRegStr $0 HKCU "${CLAVE_DESINSTALAR}" "InstallLocation"
  ${If} $0 == ""
  ${OrIf} $0 == $INSTDIR
    Delete "${ACCESO}"
    Delete "${ACCESO_GUIA}"
    Delete "${ACCESO_ASISTENTE}"
    DeleteRegKey HKCU "${CLAVE_DESINSTALAR}"
  ${EndIf}
  ReadRegStr $0 HKCU "${CLAVE_RUN}" "${PROGRAMA}"
  ${If} $0 == '"$INSTDIR\${EXE}"'
    DeleteRegValue HKCU "${CLAVE_RUN}" "${PROGRAMA}"
  ${EndIf}
  Delete "$INSTDIR\${DESINSTALADOR}"
SectionEnd

; What the program wrote in INIS: its settings and the record of openings.
Section /o "un.Configuración y registro de aperturas (carpeta INIS)" SecDesConfiguracion
  Delete "$INSTDIR\INIS\PARAMETROS.INI"
  Delete "$INSTDIR\INIS\APERTURAS.CSV"
  Delete "$INSTDIR\INIS\APERTURAS-ANTERIOR.CSV"
SectionEnd

; Folders go only when empty: nothing the user put there is removed.
Section "-un.Carpetas"
  RMDir "$INSTDIR\INIS"
  RMDir "$INSTDIR"
SectionEnd
