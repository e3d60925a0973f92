#!/usr/bin/env bash
# spindrel-render picture against ImageMagick: every lossless format we read must
# decode to exactly the pixels ImageMagick decodes from the same source; hostile
# files must end with exit 1 and one line naming the file; the background
# command must paint the 100-pixel gradient's known columns.
# Usage: picture_decode_compare.sh SPINDREL_RENDER WORK_DIR
set -uo pipefail
render=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") work=$2
convert=/usr/bin/convert compare=/usr/bin/compare
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failed=0 passed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FAILED: $*"; }

# Two sources with every channel varying: one opaque, one with an alpha ramp.
$convert -size 37x23 gradient:'#ff2000-#0030ff' \( -size 37x23 gradient:'#00ff00-#ff00ff' -rotate 90 -resize 37x23! \) \
  -compose Multiply -composite -depth 8 opaque.png
$convert opaque.png \( -size 37x23 gradient:white-black -rotate 90 -resize 37x23! \) -alpha off \
  -compose CopyOpacity -composite -depth 8 alpha.png
$convert opaque.png -type TrueColor bmp3:opaque-ref.bmp
$convert opaque.png -colors 16 -depth 8 few.png

# name | how ImageMagick writes it | reference: "self" is ImageMagick's own decoding of the
# file (transparency flattened on black); its PSD reader refuses its own files here, so those
# compare with the source.
cases=(
  "24.bmp|$convert opaque.png -type TrueColor bmp3:24.bmp|self"
  "32.bmp|$convert opaque.png -define bmp:format=bmp4 -type TrueColorAlpha -alpha opaque 32.bmp|self"
  "8.bmp|$convert few.png -type Palette bmp3:8.bmp|self"
  "rle8.bmp|$convert few.png -type Palette -compress RLE bmp3:rle8.bmp|self"
  "4.bmp|$convert few.png -type Palette -depth 4 bmp3:4.bmp|self"
  "rgb.png|cp opaque.png rgb.png|self"
  "rgba.png|cp alpha.png rgba.png|self"
  "palette.png|$convert few.png -type Palette png8:palette.png|self"
  "interlaced.png|$convert opaque.png -interlace PNG interlaced.png|self"
  "16.png|$convert opaque.png -depth 16 16.png|self"
  "few.gif|$convert few.png few.gif|self"
  "none.tif|$convert opaque.png -compress None none.tif|self"
  "lzw.tif|$convert opaque.png -compress LZW lzw.tif|self"
  "zip.tif|$convert opaque.png -compress Zip zip.tif|self"
  "packbits.tif|$convert opaque.png -compress RLE packbits.tif|self"
  "lossless.webp|$convert opaque.png -define webp:lossless=true lossless.webp|self"
  "rgb.psd|$convert opaque.png -type TrueColor rgb.psd|opaque-ref.bmp"
  "rle.psd|$convert opaque.png -type TrueColor -compress RLE rle.psd|opaque-ref.bmp"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name make ref <<<"$row"
  if ! eval "$make" 2>/dev/null; then bad "$name: ImageMagick could not write it"; continue; fi
  if ! "$render" picture "$name" "$name.out.bmp"; then bad "$name: not decoded"; continue; fi
  if [ "$ref" = self ]; then
    ref=$name.ref.bmp
    $convert "$name" -background black -flatten -type TrueColor "bmp3:$ref"
  fi
  if diff=$($compare -metric AE "$name.out.bmp" "$ref" null: 2>&1) && [ "$diff" = 0 ]; then
    ok
  else
    bad "$name: $diff pixels differ from ImageMagick's"
  fi
done

# Lossy JPEG: within a few levels of ImageMagick's decoding (the same library, other settings).
$convert opaque.png -quality 95 photo.jpg
"$render" picture photo.jpg photo.out.bmp && $convert photo.jpg -type TrueColor bmp3:photo-ref.bmp
rmse=$($compare -metric RMSE photo.out.bmp photo-ref.bmp null: 2>&1 | sed 's/.*(\(.*\))/\1/')
if awk -v e="$rmse" 'BEGIN { exit !(e < 0.02) }'; then ok; else bad "photo.jpg: RMSE $rmse against ImageMagick"; fi

# A photo-album file decodes exactly as the JPEG inside it; one whose length runs past its end is refused.
len=$(stat -c %s photo.jpg)
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
{ printf 'anything'; printf "$(le32 "$len")"; cat photo.jpg; printf 'tail'; } > album.pho
{ printf 'anything'; printf "$(le32 $((len + 5)))"; cat photo.jpg; } > long.pho
if "$render" picture album.pho album.out.bmp && [ "$($compare -metric AE album.out.bmp photo.out.bmp null: 2>&1)" = 0 ]; then
  ok
else
  bad "album.pho does not decode as the JPEG inside it"
fi

# --fit gives the FitRect target.
"$render" picture opaque.png fit.bmp --fit 100x100
size=$(/usr/bin/identify -format '%wx%h' fit.bmp)
if [ "$size" = 100x62 ]; then ok; else bad "--fit 100x100 of 37x23 gave $size, not 100x62"; fi

# Hostile files: exit 1, one line naming the file.
printf 'BM\x00\x00' > cut.bmp
head -c 300 opaque.png > cut.png
printf 'GIF89a\xff\xff\xff\xff\x00\x00\x00' > huge.gif
printf 'not a jpeg' > text.jpg
for name in cut.bmp cut.png huge.gif text.jpg long.pho missing.tif notes.txt; do
  message=$("$render" picture "$name" out.bmp 2>&1); rc=$?
  if [ $rc = 1 ] && [ "$(wc -l <<<"$message")" = 1 ] && grep -qF "\"$name\"" <<<"$message"; then
    ok
  else
    bad "$name: exit $rc, message: $message"
  fi
done

# The 100-pixel gradient, white to black: columns 0, 1 and 99.
"$render" background --kind gradient --start 0xFFFFFF --end 0x000000 --size 100x4 gradient.bmp
columns=$($convert gradient.bmp -crop 100x1+0+0 -depth 8 txt:- | awk -F'[(),]' '/^0,0:|^1,0:|^99,0:/ { printf "%s ", $4 }')
if [ "$columns" = "253 250 0 " ]; then ok; else bad "gradient columns 0, 1, 99 are $columns"; fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
