# shellcheck shell=bash
# Sourced by display.sh and wine-run. Debian's Wine does not load the fonts in
# its own folder (/usr/share/wine/fonts), so without a copy in the prefix Wine
# draws its title-bar buttons without Marlett and every "Tahoma" text in a
# fallback face with other widths. Each font is copied once, and again only if
# Wine's own copy changed; the copy lands under a temporary name first, so two
# runs starting at once never leave a half-written font.
copy_wine_fonts() {
  local from=/usr/share/wine/fonts to="$WINEPREFIX/drive_c/windows/Fonts" name
  [ -d "$to" ] || return 0
  for name in marlett.ttf tahoma.ttf tahomabd.ttf; do
    [ -f "$from/$name" ] || continue
    cmp -s "$from/$name" "$to/$name" && continue
    cp "$from/$name" "$to/.$name.$$" && mv -f "$to/.$name.$$" "$to/$name"
  done
}
