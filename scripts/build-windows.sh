#!/usr/bin/env bash
# Cross-builds the Windows program on Debian 12: installs the mingw-w64
# toolchain and Wine, builds the libraries Debian does not package for
# mingw from Debian's own source packages (static, cached in the build
# folder), then configures and builds the tree with Ninja.
#
#   scripts/build-windows.sh [--build-dir DIR] [--no-install] [--third-party-only]
#
# The result is DIR/ostvane.exe (DIR defaults to build-win; DIR/app/ has the
# same program with its debugging information): one file that needs only
# the DLLs every Windows has. Run as root on a fresh
# machine; a second run reuses the third-party builds and the compiler cache.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-win"
install=1
third_party_only=0
while (($#)); do
  case $1 in
    --build-dir) build=$(realpath -m "$2"); shift ;;
    --no-install) install=0 ;;
    --third-party-only) third_party_only=1 ;;
    *) echo "build-windows.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

triplet=x86_64-w64-mingw32
jobs=${OSTVANE_JOBS:-2}
# The machine is shared: the builds keep out of the way of the others.
nice=(nice -n 15)

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev mingw-w64-tools libz-mingw-w64-dev
  googletest cmake ninja-build pkg-config make gperf xz-utils dpkg-dev ccache
  wine wine64 python3
)

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
      echo "build-windows: missing packages: ${missing[*]}; run this script as root" >&2
      exit 1
    fi
    echo "build-windows: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # apt-get source needs the source lists: the same archives as the binary
  # lists, with the type changed.
  if ! grep -rqs '^Types: deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [[ $(id -u) -ne 0 ]]; then
      echo "build-windows: no deb-src entries in the apt sources; run this script as root" >&2
      exit 1
    fi
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        >/etc/apt/sources.list.d/ostvane-deb-src.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/ostvane-deb-src.list
    fi
    apt-get update -qq
  fi
}

((install)) && install_packages

third="$build/third_party"
prefix="$third/prefix"
mkdir -p "$third/src" "$third/stamps" "$prefix"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triplet/lib/pkgconfig" PKG_CONFIG_PATH=
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
export OSTVANE_THIRD_PARTY="$prefix"

# Unpacks Debian's source package of $1 into $third/src/$1 and prints the
# folder. The Debian patches are applied when the whole source package can
# be had; otherwise the upstream tarball of the same source package is used.
fetch_source() {
  local package=$1 dir="$third/src/$1"
  if [[ ! -f $dir/.unpacked ]]; then
    rm -rf "$dir" "$third/src/$package.download"
    mkdir -p "$third/src/$package.download"
    (cd "$third/src/$package.download" && apt-get source -qq --download-only "$package" >"$third/fetch-$package.log" 2>&1) || true
    local dsc orig
    dsc=$(ls "$third/src/$package.download"/*.dsc 2>/dev/null | head -1 || true)
    if [[ -n $dsc ]] && dpkg-source --no-check -x "$dsc" "$dir" >/dev/null 2>&1; then
      :
    else
      orig=$(ls "$third/src/$package.download"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -1 || true)
      if [[ -z $orig ]]; then
        echo "build-windows: could not get the Debian source package $package" >&2
        exit 1
      fi
      rm -rf "$dir"
      mkdir -p "$dir"
      tar -xf "$orig" -C "$dir" --strip-components=1
    fi
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# Runs the build of one library once; the stamp names the source version
# and this script's recipe, so a change of either builds it again.
built() { [[ -f "$third/stamps/$1" ]]; }
stamp() { touch "$third/stamps/$1"; }

cmake_library() {
  local name=$1 source=$2
  shift 2
  "${nice[@]}" cmake -S "$source" -B "$third/build/$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DOSTVANE_THIRD_PARTY="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    "$@" >"$third/build-$name.log" 2>&1
  "${nice[@]}" cmake --build "$third/build/$name" -j "$jobs" >>"$third/build-$name.log" 2>&1
  cmake --install "$third/build/$name" >>"$third/build-$name.log" 2>&1
}

# autotools_library NAME SOURCE SUBDIRS CONFIGURE-OPTIONS...: builds and
# installs only the SUBDIRS (the library, not its tests and tools) and the
# pkg-config file.
autotools_library() {
  local name=$1 source=$2 subdirs=$3 dir
  shift 3
  mkdir -p "$third/build/$name"
  (
    cd "$third/build/$name"
    CC="ccache $triplet-gcc-posix" "${nice[@]}" "$source/configure" --host=$triplet --prefix="$prefix" \
      --disable-shared --enable-static "$@" >"$third/build-$name.log" 2>&1
    for dir in $subdirs; do
      "${nice[@]}" make -C "$dir" -j "$jobs" >>"$third/build-$name.log" 2>&1
      make -C "$dir" install >>"$third/build-$name.log" 2>&1
    done
    make install-pkgconfigDATA >>"$third/build-$name.log" 2>&1
  ) || { echo "build-windows: $name failed; see $third/build-$name.log" >&2; exit 1; }
}

recipe=1
if ! built "libpng-$recipe"; then
  echo "build-windows: libpng"
  src=$(fetch_source libpng1.6)
  cmake_library libpng "$src" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  stamp "libpng-$recipe"
fi
if ! built "freetype-$recipe"; then
  echo "build-windows: freetype"
  src=$(fetch_source freetype)
  cmake_library freetype "$src" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  stamp "freetype-$recipe"
fi
if ! built "expat-$recipe"; then
  echo "build-windows: expat"
  src=$(fetch_source expat)
  [[ -f $src/CMakeLists.txt ]] || src="$src/expat"
  cmake_library expat "$src" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
    -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF
  stamp "expat-$recipe"
fi
if ! built "pixman-$recipe"; then
  echo "build-windows: pixman"
  src=$(fetch_source pixman)
  autotools_library pixman "$src" pixman --disable-gtk --disable-libpng --disable-openmp
  stamp "pixman-$recipe"
fi
if ! built "fontconfig-$recipe"; then
  echo "build-windows: fontconfig"
  src=$(fetch_source fontconfig)
  # Without a configuration file the library falls back to the Windows font
  # folder and a cache in the user's local application data.
  autotools_library fontconfig "$src" "fontconfig src" --disable-docs --disable-nls --disable-cache-build \
    --with-default-fonts=WINDOWSFONTDIR --enable-iconv=no
  stamp "fontconfig-$recipe"
fi
if ! built "googletest-$recipe"; then
  echo "build-windows: googletest"
  cmake_library googletest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  stamp "googletest-$recipe"
fi

((third_party_only)) && exit 0

# The test discovery runs the test programs under Wine during the build; Wine
# keeps its own Windows in the build folder, away from the user's.
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
mkdir -p "$WINEPREFIX"

echo "build-windows: configuring and building $build"
"${nice[@]}" cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DOSTVANE_THIRD_PARTY="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTVANE_PLATFORM=win32 \
  -DOSTVANE_BENCH=OFF -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
"${nice[@]}" cmake --build "$build" -j "$jobs"

# The program must need nothing but the system's DLLs.
exe="$build/app/ostvane.exe"
if [[ -f $exe ]]; then
  dlls=$($triplet-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
  echo "build-windows: $exe imports: $(echo $dlls)"
  foreign=$(echo "$dlls" | grep -viE '^(kernel32|user32|gdi32|shell32|imm32|iphlpapi|msvcrt|advapi32|ws2_32|ole32|comdlg32|winmm)\.dll$' || true)
  if [[ -n $foreign ]]; then
    echo "build-windows: $exe needs DLLs that Windows does not have: $(echo $foreign)" >&2
    exit 1
  fi
  $triplet-strip -o "$build/ostvane.exe" "$exe"
  echo "build-windows: $build/ostvane.exe ($(stat -c %s "$build/ostvane.exe") bytes)"
fi
