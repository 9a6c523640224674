#!/usr/bin/env bash
# Builds the programs and the generators, writes sample measurements under
# build/demo/ and runs LDASTAT and PLUMEX on them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/release"
demo="$root/build/demo"
jobs="${JOBS:-2}"

mkdir -p "$root/build"
cmake -S "$root" -B "$build" -DWT_WERROR=ON -DWT_BUILD_BENCH=ON > "$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$jobs" --target ldastat plumex lda_measurement_generator concentration_generator

rm -rf "$demo"
mkdir -p "$demo"

show() {  # show FILE LINES: the first LINES lines of a result file
  echo "----- $1 (first $2 lines of $(wc -l < "$1")) -----"
  head -n "$2" "$1"
  echo
}

echo
echo "=== LDASTAT: three series of a U/V measurement at 1:500 ==="
lda="$demo/lda"
"$build/tools/lda_measurement_generator/lda_measurement_generator" --directory "$lda" \
  --name demo_run001 --pair UV --series 3 --samples 60000 --rate 1000 --mean-1 5.0 \
  --intensity-1 0.12 --intensity-2 0.08 --time-scale 0.02 --heights 40,150,250 --outliers 3 \
  --seed 7
(cd "$lda" && "$build/ldastat/ldastat" meas_c:demo_run001 ts_nbr:3 ml_scl:500 ref_ht:0.2 \
  rel_ht:20.0 pl_min:50.0 pl_max:100.0 repro1:0.18 repro2:0.15 o_tims:1 o_tsrs:1 o_spec:1 \
  o_auto:1 o_osub:1 o_hist:1 o_fluc:1 fft_nn:4096 > ldastat_console.txt)
echo "LDASTAT ended with status 0; console protocol in $lda/ldastat_console.txt (delta lines left out here):"
grep -v '^ delta:' "$lda/ldastat_console.txt"
echo "Result files:"
(cd "$lda" && find STAT TS TS_resamp SPEC AUTOCORR OUTLIERS_deleted FLUC_direction FLUC_speed -type f | sort)
for file in "$lda"/STAT/*.stat; do show "$file" 40; done
for file in "$lda"/SPEC/*_01_Ucomp_ORVA.spec; do
  echo "----- spectrum rows of $file: measured column 4 beside the model columns 5 to 7 -----"
  sed -n '/^ZONE/,$p' "$file"
  echo
done

generator="$build/tools/concentration_generator/concentration_generator"
plumex="$build/plumex/plumex"
plumex_words=(SCALE_:300 REFLTH:0.5 Z_MEAS:50 POINT_:7 COEF_A:50 COEF_B:10)

echo
echo "=== PLUMEX: a continuous plume ==="
"$generator" --mode plume --directory "$demo/plume"
(cd "$demo/plume" && "$plumex" INPUTF:concentration_plume.txt "${plumex_words[@]}")
for file in "$demo"/plume/TS/*.dts; do show "$file" 60; done

echo
echo "=== PLUMEX: a train of puffs ==="
"$generator" --mode puff --directory "$demo/puff"
(cd "$demo/puff" && "$plumex" INPUTF:concentration_puff.txt "${plumex_words[@]}" THRHLD:50)
for file in "$demo"/puff/TS/*.dts; do show "$file" 60; done

echo "The sample measurements and all result files are in $demo."
