#!/usr/bin/env bash
# Stops the printing tests' CUPS server that start-cups.sh started, and only
# that one; its queues and captures stay for a look afterwards.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/../../../scripts/lib/services.sh"
cajon_stop_cupsd
