#!/usr/bin/env bash
# Prints every #include of src/ and sim/ that runs against the floors of the
# source tree, and exits 1 when there is one.
#
#   tools/check_layers.sh [SRC_DIR]      (default: the src/ beside this script)
#
# Logic floors, lowest first; a logic file includes only its own floor and the
# floors below it (the simulated unit, sim/, stands beside programmer/):
#   platform  state  device  buffer  programmer  app
# The windows wing, src/ui/, stands above all logic: ui/<floor>/ may include
# any logic, ui/controls/ and its own folder; ui/controls/ (shared widgets and
# the look) includes logic of platform/ and state/ only; ui/app/ and main.cpp
# include anything. Logic never includes the wing or a Qt header, and no
# window or shared widget lives inside a logic floor.
set -u
src=${1:-$(dirname "$0")/../src}
cd "$src" 2>/dev/null || { echo "no source folder $src"; exit 2; }
sim_dir=../sim

floors=(platform state device buffer programmer app)
rank() {
  local i
  [[ $1 == sim ]] && { echo 4; return; }
  for i in "${!floors[@]}"; do [[ ${floors[$i]} == "$1" ]] && { echo "$i"; return; }; done
  echo -1
}

bad=0
say() { echo "$1"; bad=1; }

check_file() {  # <path relative to src/ or sim/...> <kind> <own floor or ui folder>
  local f=$1 kind=$2 own=$3 path=$4 line inc top r
  while IFS=: read -r line inc; do
    top=${inc%%/*}
    case $kind in
      logic)
        if [[ $top == ui ]]; then say "$f:$line: logic includes window code \"$inc\""; continue; fi
        r=$(rank "$top")
        ((r > $(rank "$own"))) && say "$f:$line: $own includes the higher floor \"$inc\"" ;;
      controls)
        if [[ $top == ui ]]; then
          [[ $inc == ui/controls/* ]] || say "$f:$line: shared widget includes window code \"$inc\""
          continue
        fi
        r=$(rank "$top")
        ((r > 1)) && say "$f:$line: shared widget includes \"$inc\" (only platform/ and state/)" ;;
      window)
        [[ $own == app || $top != ui ]] && continue
        [[ $inc == ui/controls/* || $inc == ui/$own/* ]] ||
          say "$f:$line: window of $own includes another floor's window code \"$inc\"" ;;
    esac
  done < <(grep -n -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' "$path" |
             sed 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*"\(.*\)"/:\1/')
  if [[ $kind == logic ]] && grep -q -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$path"; then
    say "$f: logic includes a Qt header"
  fi
}

while IFS= read -r f; do
  [[ $f == */* ]] || continue  # main.cpp
  top=${f%%/*}
  if [[ $top == ui ]]; then
    sub=${f#ui/}; sub=${sub%%/*}
    if [[ $sub == controls ]]; then check_file "$f" controls controls "$f"
    elif (($(rank "$sub") >= 0)); then check_file "$f" window "$sub" "$f"
    else say "$f: window outside the floors' folders of ui/"
    fi
  elif (($(rank "$top") < 0)); then
    say "$f: outside the floors (platform, state, device, buffer, programmer, app, ui)"
  elif [[ $f == */ui/* || $f == */controls/* ]]; then
    say "$f: window code inside the logic floor $top (its place is ui/$top/ or ui/controls/)"
  else
    check_file "$f" logic "$top" "$f"
  fi
done < <(find . \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)

if [[ -d $sim_dir ]]; then
  while IFS= read -r f; do
    check_file "sim/$f" logic sim "$sim_dir/$f"
  done < <(cd "$sim_dir" && find . \( -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)
fi
exit $bad
