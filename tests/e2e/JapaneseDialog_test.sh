#!/usr/bin/env bash
# A confirmation dialog in Japanese on a real X server with a window manager. The screenshot
# is read back with Tesseract: real CJK glyphs must be on screen, not empty boxes.
set -euo pipefail

source "$(dirname "$0")/lib/desktop.sh"
require_tools Xvfb openbox xmessage import convert xdpyinfo xprop tesseract
tesseract --list-langs 2>/dev/null | grep -qx jpn || { echo "skip: no Japanese Tesseract data"; exit 77; }

: "${GLINTEXT_BIN:?GLINTEXT_BIN must point at the built glintext binary}"
build="$(cd "$(dirname "$GLINTEXT_BIN")/.." && pwd)"
test_bin="$build/tests/ui_LanguageSwitch_test"
[ -x "$test_bin" ] || { echo "FAIL: $test_bin is not built"; exit 1; }

start_desktop 1024x768

shot="$work/japanese-dialog.png"
GLINTEXT_SCREENSHOT="$shot" QT_QPA_PLATFORM=xcb \
  "$test_bin" --gtest_filter=LanguageSwitch.JapaneseDialogScreenshot >"$work/test.log" 2>&1 \
  || { echo "FAIL: the dialog test failed"; cat "$work/test.log"; exit 1; }
grep -q "SKIPPED" "$work/test.log" && { echo "FAIL: the dialog test skipped"; cat "$work/test.log"; exit 1; }
[ -s "$shot" ] || { echo "FAIL: no screenshot"; exit 1; }

# Keep the picture for a person to look at.
mkdir -p "$build/e2e-artifacts"
cp "$shot" "$build/e2e-artifacts/japanese-dialog.png"

# The dialog alone, enlarged: small UI text on a black desktop reads badly otherwise.
convert "$shot" -trim +repage -resize 300% "$work/dialog.png"
text="$(OMP_THREAD_LIMIT=1 tesseract "$work/dialog.png" - -l jpn 2>/dev/null | tr -d ' ')"
found=0
for word in 履歴 消去 キャンセル 取り消せません; do
  if grep -q "$word" <<<"$text"; then found=$((found + 1)); fi
done
if [ "$found" -lt 2 ]; then
  echo "FAIL: the screenshot does not read as Japanese; OCR saw:"
  echo "$text"
  exit 1
fi
echo "ok: Japanese dialog on screen ($found of 4 phrases read back)"
