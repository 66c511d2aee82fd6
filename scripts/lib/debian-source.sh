# Sourced by the scripts that build Debian's own source packages for mingw-w64
# (scripts/mingw-deps, scripts/mingw-qt). Needs $dir set to the work folder.
#
# Source packages come through a private apt configuration: the machine's own
# package sources, as deb-src, without touching the system's lists.
apt_dir=$dir/apt
apt_opts=(-o Dir::Etc::SourceList=$apt_dir/sources.list -o Dir::Etc::SourceParts=$apt_dir/sources.list.d
          -o Dir::State::Lists=$apt_dir/lists -o Dir::Cache=$apt_dir/cache -o APT::Sandbox::User=root
          -o Acquire::Retries=3)
apt_sources() {
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  apt-get "${apt_opts[@]}" update -qq
}

# The source version of an installed package: the one we build.
version_of() { dpkg-query -W -f='${source:Version}' "$1"; }

fetch() {  # fetch PACKAGE VERSION -> prints the unpacked source folder
  local package=$1 version=$2 work=$dir/src/$1-$2
  if [ ! -f "$work/.unpacked" ]; then
    [ -f "$apt_dir/.updated" ] || { apt_sources && touch "$apt_dir/.updated"; }
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get "${apt_opts[@]}" source -qq "$package=$version" >/dev/null)
    touch "$work/.unpacked"
  fi
  find "$work" -mindepth 1 -maxdepth 1 -type d -name "$package*" | head -n 1
}
