#!/usr/bin/env bash
# Set-up, build and run every test. Exits non-zero when any test fails.
#   --sanitize  the same in build-asan/, built with AddressSanitizer and
#               UndefinedBehaviorSanitizer, the end-to-end tests included
#   --tsan      the tests of geometry, view and the document's threaded work in
#               build-tsan/, built with ThreadSanitizer
# A sanitized run also fails when any process it started, the program run by the
# end-to-end tests included, left a report; the reports stay in <build>/sanitizer-reports/.
# TVR_JOBS limits the parallel jobs of the build and of the tests (a sanitized build is
# heavy).
set -euo pipefail

REPO_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MODE="${1:-}"

# The areas whose tests ThreadSanitizer runs: drawing and sorting in threads, and the
# document's reading aside and working ahead.
TSAN_PROGRAMS="geometry_tests view_tests model_tests"
TSAN_RANGES_TESTS="ReadAside|UndoDesignAhead"
DATA_TARGETS="tvr_catalogue tvr_examples tvr_language_files tvr_model_document"

case "$MODE" in
  "")
    source "$REPO_DIR/scripts/setup.sh"
    cd "$BUILD_DIR"
    ctest --output-on-failure --parallel "${TVR_JOBS:-$(nproc)}" --timeout 600
    exit 0
    ;;
  --sanitize)
    BUILD_DIR="$REPO_DIR/build-asan"
    TVR_CMAKE_OPTIONS="-DTVR_SANITIZE=address,undefined -DTVR_BUILD_BENCH=OFF"
    TVR_BUILD_TARGETS=""
    ;;
  --tsan)
    BUILD_DIR="$REPO_DIR/build-tsan"
    TVR_CMAKE_OPTIONS="-DTVR_SANITIZE=thread -DTVR_BUILD_BENCH=OFF"
    TVR_BUILD_TARGETS="$TSAN_PROGRAMS ranges_tests $DATA_TARGETS"
    ;;
  *)
    echo "usage: $0 [--sanitize | --tsan]" >&2
    exit 2
    ;;
esac

REPORTS="$BUILD_DIR/sanitizer-reports"
rm -rf "$REPORTS"
mkdir -p "$REPORTS"
# Every process writes its report to a file of its own, so that the reports of the
# programs the tests start are kept too. Leaks are not looked for: Qt and the font
# libraries keep memory to the end on purpose.
export ASAN_OPTIONS="detect_leaks=0:log_path=$REPORTS/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$REPORTS/ubsan"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:log_path=$REPORTS/tsan"
# Sanitizer reports name source lines.
TVR_BUILD_TYPE=RelWithDebInfo
export BUILD_DIR TVR_CMAKE_OPTIONS TVR_BUILD_TARGETS TVR_BUILD_TYPE
source "$REPO_DIR/scripts/setup.sh"
cd "$BUILD_DIR"

status=0
if [ "$MODE" = --sanitize ]; then
  # The death test of mapped tables expects the bus error itself, not the sanitizer's
  # report of it.
  death="MappedFileDeathTest"
  ctest --output-on-failure --parallel "${TVR_JOBS:-$(nproc)}" --timeout 1800 -E "$death" || status=1
  ASAN_OPTIONS="$ASAN_OPTIONS:handle_sigbus=0" \
    ctest --output-on-failure --timeout 1800 -R "$death" || status=1
else
  labels="^($(echo "$TSAN_PROGRAMS" | tr ' ' '|'))$"
  ctest --output-on-failure --parallel "${TVR_JOBS:-$(nproc)}" --timeout 1800 -L "$labels" || status=1
  ctest --output-on-failure --parallel "${TVR_JOBS:-$(nproc)}" --timeout 1800 -L '^ranges_tests$' \
    -R "$TSAN_RANGES_TESTS" || status=1
fi

shopt -s nullglob
reports=("$REPORTS"/*)
if [ ${#reports[@]} -gt 0 ]; then
  echo "Sanitizer reports (${#reports[@]}), kept in $REPORTS:" >&2
  for report in "${reports[@]}"; do
    echo "=== $report" >&2
    cat "$report" >&2
  done
  status=1
fi
exit "$status"
