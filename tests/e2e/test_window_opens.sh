#!/usr/bin/env bash
# The program starts, shows its main window with its caption and size, and ends
# when Windows asks it to close.
source "$(dirname "$0")/lib.sh"
e2e_begin window_opens
e2e_ini "KovraTipo=0" "PrinterDeviceName=Nadie"
e2e_start
if win=$(e2e_wait_window "Apertura cajón"); then ok "main window shown"; else fail "no main window"; fi
cliente() { e2e_helper controls 'Apertura cajón' | head -1 | cut -d' ' -f1; }
check_until "client area at 96 dpi" "client=681,528" cliente
e2e_screenshot "$E2E_ARTIFACTS/window_opens.png"
# WM_QUERYENDSESSION / WM_ENDSESSION as at log-off: the program must end.
e2e_helper post "Apertura cajón" 0x0011 0 0 >/dev/null
e2e_helper post "Apertura cajón" 0x0016 1 0 >/dev/null
for i in $(seq 1 50); do e2e_running || break; sleep 0.1; done
if e2e_running; then fail "still running after the session ended"; else ok "ended at log-off"; fi
