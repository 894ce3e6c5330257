#!/usr/bin/env bash
# Signs one file in place with the certificate named in the environment; the
# installer script runs it on the installer and on its uninstaller.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/package.sh"
cajon_sign "$1"
