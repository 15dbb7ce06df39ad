#!/usr/bin/env bash
# The main job: builds the CLI and checks a sample bridge-deck section with it, printing each
# result and the path of the written calculation report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh >/dev/null
cmake --preset default >/dev/null
cmake --build --preset default --target armocalc >/dev/null
cli="$root/build/default/armocalc"

out="${ARMOCALC_DEMO_DIR:-$root/build/demo}"
mkdir -p "$out"
report="$out/strength-report.txt"
rm -f "$report"

echo "Sample section: B = 1 m, h = 0.5 m, concrete B30, steel A-III, 2 x 10.05 cm2, a = 0.05 m"
echo
run() {
  echo "\$ armocalc $*"
  "$cli" "$@"
  echo
}
run мтБетонB КлассБетона=30 Параметр=1
run СНиП_RsB Класс_арматуры=3
run мтПрочностьB КлассАрматурнойСтали=3 КлассБетона=30 N=1.2 M=0.35 Fв=10.05 Fн=10.05 \
  ав=0.05 ан=0.05 h=0.5 B=1 --report "$report"
echo "Report written: $report"
echo

# A sample structure: ten sections of a frame under five load combinations each, exported the
# way Russian-locale Excel writes CSV (";" between cells, "," in numbers).
sample="$root/samples/frame_sections.csv"
results="$out/frame_results.csv"
echo "Sample structure: $(($(wc -l <"$sample") - 1)) force rows of ten frame sections ($sample)"
echo "\$ armocalc csv мтПрочностьB samples/frame_sections.csv --group Элемент --output $results"
"$cli" csv мтПрочностьB "$sample" --group Элемент --output "$results"
echo "Governing rows, the smallest strength margin (%) of each section:"
awk 'found { print } /^\r?$/ { found = 1 }' "$results" | tr -d '\r' | cut -d';' -f1-3,13-15
echo "All rows with their margins: $results"
