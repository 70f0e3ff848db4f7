# Shared by scripts/run, scripts/test and the helper scripts: package set-up
# and the build. Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Prints the packages of scripts/packages.txt that serve any of the given
# purposes.
packages_for() {
    local wanted=" $* "
    while read -r pkg purposes; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        for p in $purposes; do
            if [[ "$wanted" == *" $p "* ]]; then echo "$pkg"; break; fi
        done
    done < "$ROOT/scripts/packages.txt"
}

# Installs whichever of the packages for the given purposes are missing;
# does nothing (and needs no root) when all are present.
install_packages() {
    local missing=()
    for pkg in $(packages_for "$@"); do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures and builds into build/ (or the folder given).
build_project() {
    local dir="${1:-$ROOT/build}"
    shift || true
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
    cmake --build "$dir"
}
