#!/usr/bin/env bash
# Set-up, build and start the program on the sample catalogue.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec "$BUILD_DIR/bin/tvr" "$@"
