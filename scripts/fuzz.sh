#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, with clang) and runs each for SECONDS,
# starting from its seed inputs in fuzz/corpus/<target>. Inputs that reach
# new code are kept in BUILD/corpus/<target>, so later runs go on from them;
# an input that fails is kept in BUILD/artifacts/<target>/ and named in the
# report. Exits non-zero when any target failed.
#   scripts/fuzz.sh SECONDS [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}

if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j2

# The targets' scratch files go to a memory file system where there is one.
scratch_parent=/tmp
[ -w /dev/shm ] && scratch_parent=/dev/shm
scratch=$(mktemp -d "$scratch_parent/quillmere-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export QUILLMERE_FUZZ_TMP=$scratch
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
report=()
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  program=$build/fuzz_$target
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  echo "fuzz_$target: ${seconds}s"
  start=$(date +%s)
  if "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" "$seeds" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    failed=1
    grep -E 'invariant failed|ERROR:|runtime error|SUMMARY|Test unit written' "$log" | sed 's/^/    /' || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  report+=("$(printf '%-20s %-7s %9s runs %6s edges %5s inputs %4ss' "fuzz_$target" "$result" \
    "${runs:-?}" "${cov:-?}" "$(find "$corpus" -type f | wc -l)" "$(( $(date +%s) - start ))")")
done

echo
echo "Fuzz report (${seconds}s each; logs in $build/logs, failing inputs in $build/artifacts):"
printf '  %s\n' "${report[@]}"
exit $failed
