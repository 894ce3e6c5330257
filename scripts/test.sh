#!/usr/bin/env bash
# Runs every test: the portable logic natively (also under AddressSanitizer and
# UBSan), the fuzz targets for a short while, the format check, and the
# Windows builds under Wine: platform tests, the import check and the
# end-to-end tests that drive the real program in an X display.
# Installs what is missing on Debian 12 and stops everything it started.
# Ends with one line "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
CAJON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$CAJON_ROOT"
source scripts/lib/deps.sh
source scripts/lib/services.sh

cajon_install_deps || { echo "0 passed, 1 failed"; exit 1; }
trap cajon_stop_services EXIT

passed=0
failed=0
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
    grep -E '^\s*[0-9]+/[0-9]+ Test|Failed|FAILED' "$logs/ctest-$preset.log" | grep -vE 'Passed' | head -40
    count_ctest "$preset" "$logs/ctest-$preset.log"
}

format_clean() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

fuzz_briefly() {
    local t
    for t in fuzz_valor_numerico fuzz_perfil; do
        mkdir -p "build/fuzz/corpus/$t"
        "build/fuzz/tests/fuzz/$t" -max_total_time="${CAJON_FUZZ_SECONDS:-15}" -max_len=8192 \
            "build/fuzz/corpus/$t" || return 1
    done
}

check format format_clean

if check build-native build native; then run_ctest native; fi
if check build-fuzz build fuzz; then check fuzz fuzz_briefly; fi

if check build-win32 build win32 -DCAJON_E2E=ON && check build-win64 build win64; then
    if check services cajon_start_display && check wine cajon_start_wine && check cups cajon_start_cups; then
        run_ctest win32
        run_ctest win64
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
