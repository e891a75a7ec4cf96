# Shared environment of the project's scripts (sourced, not run).
LUMADEX_ROOT=${LUMADEX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export LANG=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko downloads: there is no network, and nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Which Windows build the tests and the demo run: the product is 32-bit, but some
# hosts (sandboxes without ia32 emulation) cannot start 32-bit Linux programs,
# and so cannot run 32-bit Wine. There the same sources are run as a 64-bit build.
lumadex_wine_arch() {
  if [ -n "${LUMADEX_WINE_ARCH:-}" ]; then echo "$LUMADEX_WINE_ARCH"; return; fi
  if [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}
export LUMADEX_WINE_ARCH=$(lumadex_wine_arch)
if [ "$LUMADEX_WINE_ARCH" = win32 ]; then
  export WINEARCH=win32 WINE=/usr/lib/wine/wine
  export WINEPREFIX=${LUMADEX_WINEPREFIX:-$LUMADEX_ROOT/build/wine32}
else
  export WINEARCH=win64 WINE=/usr/lib/wine/wine64
  export WINEPREFIX=${LUMADEX_WINEPREFIX:-$LUMADEX_ROOT/build/wine64}
fi
if [ -x /usr/lib/wine/wineserver64 ]; then export WINESERVER=/usr/lib/wine/wineserver64; else export WINESERVER=/usr/lib/wine/wineserver32; fi
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$LUMADEX_ROOT}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
