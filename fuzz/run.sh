#!/usr/bin/env bash
# Runs fuzz targets from a build made with -DKORVANE_FUZZ=ON, each over its
# seeds for a bounded time; fails when any of them finds a fault.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# Crash inputs are written to BUILD_DIR/fuzz/findings/. A target's corpus
# grows in BUILD_DIR/fuzz/corpus/TARGET and is reused by later runs. Inputs
# are cut at 8 KiB: a header and a hundred points reach every branch of the
# readers, and whole example files would slow each run tenfold.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(read9809 info config template commprops dataprops pipeline)
fi

work="$build/fuzz"
mkdir -p "$work/findings"

# The seed files of one target, from the example and test data.
seed() {
    local target="$1" dir="$work/seeds/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    # Every file of a kind, those of the bad-input tests too, but not the
    # findings, which go to their own target only.
    local data=("$src"/examples "$src"/tests/data)
    kind() { find "${data[@]}" -name "$1" -not -path '*/fuzz/*' -exec cp {} "$dir" \; ; }
    case "$target" in
    read9809) kind '*.dat'; kind '*.qd' ;;
    info) kind '*.info' ;;
    config) kind '*.cfg' ;;
    template) kind '*.yml' ;;
    commprops) kind 'commProps*.csv' ;;
    dataprops) kind 'dataProps*.csv' ;;
    pipeline)
        # A data file, a NUL, and its info file.
        find "${data[@]}" \( -name '*.dat' -o -name '*.qd' \) -not -path '*/fuzz/*' |
        while read -r dat; do
            local info="${dat%.*}.info"
            { cat "$dat"; printf '\0'; if [ -f "$info" ]; then cat "$info"; fi; } \
                >"$dir/$(basename "$dat")"
        done
        ;;
    esac
    # Earlier findings stay in the seeds, so that a fix is checked each run.
    find "$src/tests/data/fuzz" -maxdepth 1 -name "$target-*" -exec cp {} "$dir" \; 2>/dev/null || true
}

dict() {
    case "$1" in
    read9809 | pipeline) echo "$src/fuzz/9809.dict" ;;
    info) echo "$src/fuzz/info.dict" ;;
    config) echo "$src/fuzz/config.dict" ;;
    template) echo "$src/fuzz/template.dict" ;;
    commprops | dataprops) echo "$src/fuzz/csv.dict" ;;
    esac
}

failed=()
for target in "${targets[@]}"; do
    seed "$target"
    mkdir -p "$work/corpus/$target"
    echo "== fuzz_$target for ${seconds}s"
    if ! QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -dict="$(dict "$target")" \
        -artifact_prefix="$work/findings/$target-" \
        "$work/corpus/$target" "$work/seeds/$target" >"$work/$target.log" 2>&1; then
        failed+=("$target")
        tail -n 60 "$work/$target.log"
    fi
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss)' "$work/$target.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $work/findings)"
    exit 1
fi
