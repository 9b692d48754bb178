# Shared by run.sh and test.sh: install what a fresh Debian machine lacks,
# then configure and build into build/.
KELD_PACKAGES=(
  cmake ninja-build g++                       # build
  qt6-base-dev qt6-base-dev-tools libgl-dev   # Qt Core, Gui, Widgets, Network, PrintSupport, Test
  libqt6serialport6-dev                       # serial transport
  libgtest-dev                                # tests
  python3                                     # tests read exported CSV with a standard reader
  xvfb xauth                                  # a display for ./run.sh on machines without one
  fonts-ipafont-gothic                        # Japanese texts render
  dpkg-dev                                    # cpack -G DEB computes Depends with dpkg-shlibdeps
  librsvg2-bin                                # PNG sizes of the icons at build time
  desktop-file-utils libxml2-utils            # the package test validates desktop and mime entries
  qt6-translations-l10n                       # Qt's standard dialogs and buttons in Japanese
)

keld_install_deps() {
  local missing=()
  for p in "${KELD_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

keld_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)"
}
