#!/usr/bin/env bash
# Fails when a source file includes a layer above its own, reaches into a platform backend
# from outside src/platform/, or includes a third-party header outside a backend folder
# (src/platform/<backend>/). The compiler cannot tell: system headers are found whatever a
# library links, and every layer shares the include root src/.
#
#   check_layers.sh SOURCE_ROOT     (src/, or a tree laid out like it)
set -euo pipefail
root=${1:?usage: check_layers.sh SOURCE_ROOT}
layers=(base platform core support ui app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

# Headers every layer may use: Qt, QCoro, the C++ library (no extension) and these of C
# and POSIX.
system_header() {
  case $1 in
    Q* | QCoro/*) return 0 ;;
    */*.h | *.h) ;;
    */*) return 1 ;;
    *) return 0 ;;
  esac
  case $1 in
    sys/*.h | assert.h | ctype.h | dirent.h | errno.h | fcntl.h | limits.h | poll.h | pwd.h | \
      signal.h | stdint.h | stdio.h | stdlib.h | string.h | time.h | unistd.h) return 0 ;;
  esac
  return 1
}

problems=0
report() {
  echo "$1: $2" >&2
  problems=$((problems + 1))
}

while IFS= read -r -d '' file; do
  relative=${file#"$root"/}
  layer=${relative%%/*}
  own=$(rank "$layer")
  [ "$own" -ge 0 ] || continue
  in_backend=false
  if [ "$layer" = platform ] && [[ $relative == platform/*/* ]]; then in_backend=true; fi
  while IFS= read -r line; do
    if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      target=${BASH_REMATCH[1]}
      [ "$target" = BuildConfig.h ] && continue
      other=$(rank "${target%%/*}")
      if [ "$other" -lt 0 ]; then
        report "$relative" "includes \"$target\", which is in no layer"
      elif [ "$other" -gt "$own" ]; then
        report "$relative" "$layer includes ${target%%/*} (\"$target\"), a layer above it"
      elif [ "$layer" != platform ] && [[ $target == platform/*/* ]]; then
        report "$relative" "includes the backend header \"$target\"; only src/platform/ may"
      fi
    elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      target=${BASH_REMATCH[1]}
      if ! $in_backend && ! system_header "$target"; then
        report "$relative" "includes the third-party header <$target> outside a backend folder"
      fi
    fi
  done <"$file"
done < <(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$problems" -gt 0 ]; then
  echo "$problems include(s) against the layers (${layers[*]}, lowest first)" >&2
  exit 1
fi
echo "layers ok: ${layers[*]}"
