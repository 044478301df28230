#!/usr/bin/env bash
# Set-up, build and run every test. Exits non-zero when any test fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
