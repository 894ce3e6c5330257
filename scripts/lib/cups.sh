# The CUPS server of the tests and of scripts/run.sh: their own, apart from the
# host's CUPS, which (running or not) is never used nor changed. Sourced by
# scripts/lib/services.sh.
#
#   cajon_cups_running           true when the server answers on its socket
#   cajon_start_cupsd [BACKEND]  makes its folder and starts it, the given
#                                backend programs added to the system's
#   cajon_stop_cupsd             stops the server that folder's PID file names
#
# Everything it has lives in $CAJON_CUPS_DIR, by default build/cups of this
# checkout, so that two checkouts never share one:
#   etc/       its ServerRoot: cupsd.conf, cups-files.conf, printers.conf, ppd/
#   bin/       its ServerBin: the system's backends, filters and daemons
#              linked in, plus copies of the added backends
#   spool/ spool/tmp/ cache/ state/ log/   jobs, temporary files, caches,
#              certificates, logs
#   capturas/  where added backends may keep jobs (CAJON_CAPTURAS tells them)
#   cups.sock  the one socket it listens on: no network port, no sharing
#   cupsd.pid  the PID of the server cajon_start_cupsd started
# CUPS_SERVER points lpadmin, lpstat and Wine's printing (libcups) at that
# socket, also while the server does not run: then they see no printers, never
# the host's.
#
# A ServerBin of its own rather than a backend added to the system's
# /usr/lib/cups/backend: nothing outside the folder is written, and the host's
# CUPS never learns of the added backends. cupsd needs root (it runs its
# filters as lp and a backend that others cannot read as root); lp must be able
# to reach the folder.

# A checkout where lp cannot reach build/cups (a clone in /root or in a
# mktemp -d folder: drwx------), or so deep that the socket's path would not
# fit a Unix socket address (107 bytes), keeps its server under /var/tmp
# instead, in a folder named after the checkout's path so two checkouts never
# share one; cajon_start_cupsd says so and cajon_stop_cupsd removes it.
_cajon_cups_aparte() { echo "/var/tmp/abrircajon-cups-$(printf %s "$CAJON_ROOT" | sha256sum | cut -c1-16)"; }
_cajon_cups_dir() {
    local dir=$CAJON_ROOT/build/cups alcance=$CAJON_ROOT/build
    [ -d "$alcance" ] || alcance=$CAJON_ROOT
    if [ ${#dir} -le 97 ] && { [ "$(id -u)" -ne 0 ] || runuser -u lp -- test -x "$alcance"; }; then
        echo "$dir"
    else
        _cajon_cups_aparte
    fi
}
export CAJON_CUPS_DIR=${CAJON_CUPS_DIR:-$(_cajon_cups_dir)}
export CUPS_SERVER=$CAJON_CUPS_DIR/cups.sock

cajon_cups_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

_cajon_cups_conf() {
    local dir=$CAJON_CUPS_DIR
    cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
ServerBin $dir/bin
DataDir /usr/share/cups
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/etc/printcap
User lp
Group lp
FileDevice Yes
SetEnv CAJON_CAPTURAS $dir/capturas
EOF
}

cajon_start_cupsd() {
    local dir=$CAJON_CUPS_DIR f
    if [ "$(id -u)" -ne 0 ]; then
        echo "the CUPS server needs root: it runs its filters as lp and its backends as root" >&2
        return 1
    fi
    if [ ${#CUPS_SERVER} -gt 107 ]; then
        echo "the socket path $CUPS_SERVER is longer than a Unix socket allows (107 bytes)" >&2
        return 1
    fi
    mkdir -p "$dir" || return 1
    if ! runuser -u lp -- test -x "$dir"; then
        echo "the user lp cannot reach $dir: set CAJON_CUPS_DIR to a folder it can reach" >&2
        return 1
    fi
    if [ "$dir" == "$(_cajon_cups_aparte)" ]; then
        # /var/tmp is everyone's: a folder someone else made there is not used.
        if [ -L "$dir" ] || [ ! -O "$dir" ]; then
            echo "$dir is not root's own folder: set CAJON_CUPS_DIR" >&2
            return 1
        fi
        echo "CUPS server folder: $dir (lp cannot reach this checkout's build/cups, or its socket path would be too long); removed when the scripts stop"
    fi
    install -d -m 0755 "$dir/etc" "$dir/etc/ppd" "$dir/etc/ssl" "$dir/log" "$dir/capturas" &&
        install -d -g lp -m 0775 "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state" || return 1
    _cajon_cups_conf
    # A raw queue takes any document as it is: the system's raw types.
    for f in raw.types raw.convs; do
        [ ! -f "/etc/cups/$f" ] || cp "/etc/cups/$f" "$dir/etc/"
    done
    rm -rf "${dir:?}/bin"
    install -d -m 0755 "$dir/bin" "$dir/bin/backend"
    for f in /usr/lib/cups/*; do
        [ "${f##*/}" == backend ] || ln -s "$f" "$dir/bin/"
    done
    for f in /usr/lib/cups/backend/*; do ln -s "$f" "$dir/bin/backend/"; done
    for f in "$@"; do install -o root -g root -m 0700 "$f" "$dir/bin/backend/" || return 1; done

    # A PID file left by a server that is gone must not make a later stop
    # end an unrelated process.
    rm -f "$dir/cupsd.pid"
    /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/cupsd.pid"
    for _ in $(seq 1 100); do
        cajon_cups_running && return 0
        sleep 0.1
    done
    echo "cupsd did not start (see $dir/log/error_log)" >&2
    return 1
}

cajon_stop_cupsd() {
    local pid_file=$CAJON_CUPS_DIR/cupsd.pid pid
    [ -f "$pid_file" ] || return 0
    pid=$(cat "$pid_file")
    # Only a cupsd that reads this folder's configuration is ended.
    if [ -n "$pid" ] && tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" |
        grep -qF "$CAJON_CUPS_DIR/etc/cupsd.conf"; then
        kill "$pid"
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f "$pid_file"
    # The folder made under /var/tmp goes with its server.
    [ "$CAJON_CUPS_DIR" != "$(_cajon_cups_aparte)" ] || rm -rf "${CAJON_CUPS_DIR:?}"
}
