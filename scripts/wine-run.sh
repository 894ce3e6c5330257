#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest, with the loader its exe needs.
# The prefix and settings come from the environment that scripts/test.sh
# prepares; the defaults keep a manual `ctest` working.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"
cajon_wine_exec "$@"
