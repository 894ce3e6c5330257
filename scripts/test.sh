#!/usr/bin/env bash
# Runs every test: the portable logic natively (also under AddressSanitizer and
# UBSan), the fuzz targets for a short while, the format check, the policy
# templates' check, and the Windows builds under Wine: platform tests, the
# import check and the end-to-end tests that drive the real program in an X
# display.
# Both Windows builds are always compiled and import-checked; each runs under
# Wine where the host can run it: the 64-bit build everywhere, the 32-bit
# release only where the host runs 32-bit code (CAJON_ONLY_WIN64=1 takes the
# 64-bit-only path on any host). What cannot run here is counted as skipped.
# Installs what is missing on Debian 12 and stops everything it started.
# Ends with one line "N passed, N failed" (", N skipped" when something was);
# exits non-zero on any failure.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/services.sh

cajon_install_deps || { echo "0 passed, 1 failed"; exit 1; }
trap cajon_stop_services EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

passed=0
failed=0
skipped=0
logs="$CAJON_ROOT/build/test-logs"
mkdir -p "$logs"

# Adds the counts of a ctest run (its log in $2) under the name $1.
count_ctest() {
    local name=$1 log=$2 line total nfail
    line=$(grep -E 'tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$line" ]; then
        echo "$name: did not run (see $log)"
        failed=$((failed + 1))
        return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    nfail=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - nfail))
    failed=$((failed + nfail))
    echo "$name: $line"
}

# Runs one step that is a single check; its output goes to the log.
check() {
    local name=$1
    shift
    if "$@" >"$logs/$name.log" 2>&1; then
        passed=$((passed + 1))
        echo "$name: passed"
    else
        failed=$((failed + 1))
        echo "$name: FAILED"
        tail -40 "$logs/$name.log"
    fi
}

build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >"$logs/configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1
}

run_ctest() {
    local preset=$1
    shift
    ctest --test-dir "build/$preset" --output-on-failure "$@" </dev/null >"$logs/ctest-$preset.log" 2>&1
    grep -E '\*\*\*(Failed|Timeout|Exception)|Not Run|tests FAILED|^\s+[0-9]+ - ' "$logs/ctest-$preset.log" | head -40
    # The checks that failed, so that a log holding only this summary says why.
    grep -E '^FAIL: |: Failure$' "$logs/ctest-$preset.log" | head -20 | sed 's/^/  /'
    count_ctest "$preset" "$logs/ctest-$preset.log"
}

format_clean() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

fuzz_briefly() {
    local t
    for t in fuzz_valor_numerico fuzz_perfil fuzz_peticion_http fuzz_origenes fuzz_politica \
        fuzz_respuesta_estado; do
        mkdir -p "build/fuzz/corpus/$t"
        "build/fuzz/tests/fuzz/$t" -max_total_time="${CAJON_FUZZ_SECONDS:-15}" -max_len=8192 \
            "build/fuzz/corpus/$t" || return 1
    done
}

check format format_clean
# The policy templates against each other and against the program's keys.
check templates bash tests/package/test_plantillas.sh
# The web kit made from bridge/abrircajon.mjs, in Node and through tsc.
check kit bash tests/package/test_kit.sh
# The documents against the program: parameters, templates, events, the guide's page.
check docs bash tests/package/test_documentos.sh

if check build-native build native; then run_ctest native; fi
if check build-fuzz build fuzz; then check fuzz fuzz_briefly; fi

# The Windows tests of one build that this host cannot run: counted as skipped.
skip_wine_tests() {
    local preset=$1 why=$2 n
    n=$(ctest --test-dir "build/$preset" -N -L wine 2>/dev/null | sed -nE 's/^Total Tests: ([0-9]+)/\1/p')
    skipped=$((skipped + ${n:-0}))
    echo "$preset: ${n:-0} tests under Wine skipped: $why"
}

built_win32=0
built_win64=0
check build-win32 build win32 -DCAJON_E2E=ON && built_win32=1
check build-win64 build win64 -DCAJON_E2E=ON && built_win64=1
if [ $((built_win32 + built_win64)) -gt 0 ]; then
    if check services cajon_start_display && check cups cajon_start_cups && check wine cajon_start_wine; then
        end_to_end=()
        if [ $built_win32 -eq 1 ]; then
            if cajon_host_runs_32bit; then
                run_ctest win32
                end_to_end+=("win32 (the release)")
            else
                run_ctest win32 -LE wine
                skip_wine_tests win32 "$(cajon_no_32bit_reason)"
            fi
        fi
        if [ $built_win64 -eq 1 ]; then
            run_ctest win64
            end_to_end+=("win64")
        fi
        echo "Ran end to end under Wine: ${end_to_end[*]:-none}"
    fi
fi

# --- Release packages -------------------------------------------------------
# scripts/package.sh, then its zip and installers under Wine in a prefix of
# their own (tests/package/test_package.sh); one count per group of checks.
if [ $((built_win32 + built_win64)) -eq 2 ]; then
    bash tests/package/test_package.sh </dev/null >"$logs/package.log" 2>&1
    summary=$(sed -nE 's/^package tests: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/p' \
        "$logs/package.log" | tail -1)
    if [ -n "$summary" ]; then
        read -r p f s <<<"$summary"
        passed=$((passed + p))
        failed=$((failed + f))
        skipped=$((skipped + s))
        grep -E 'FAIL|skipped:' "$logs/package.log" | head -40
        echo "package: $p passed, $f failed, $s skipped"
    else
        failed=$((failed + 1))
        echo "package: did not run (see $logs/package.log)"
        tail -20 "$logs/package.log"
    fi
fi

if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
