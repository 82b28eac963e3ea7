#!/usr/bin/env bash
# Builds the Debian package of Tavisk and checks it.
#
#   scripts/package.sh [--no-build] [--install] [BUILD-FOLDER]   (default: build)
#
# Always: builds the programs (unless --no-build), runs `cpack -G DEB` in the build
# folder, checks the package's contents and control data, validates its desktop entry
# and AppStream data, renders its manual pages, and runs the unpacked programs: their
# --help and --version, a short game of the engine against itself under xboard (once
# spoken to in the xboard language, once through polyglot in UCI), and a start and
# orderly end of the game. Both must write only into the user's folders.
#
# --install (root; changes this machine): also installs the package with apt-get, starts
# the game as a new user under Xvfb and takes a screenshot, plays the xboard game with the
# installed engine, then removes the package and the user and checks that nothing is left.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=build
install=0
build_first=1
for arg in "$@"; do
  case "$arg" in
    --install) install=1 ;;
    --no-build) build_first=0 ;;
    -*) echo "usage: $0 [--no-build] [--install] [BUILD-FOLDER]" >&2; exit 2 ;;
    *) build=$arg ;;
  esac
done
case "$build" in /*) ;; *) build="$root/$build" ;; esac

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

for tool in cpack dpkg-deb dpkg-shlibdeps appstreamcli desktop-file-validate man xvfb-run; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
xboard=$(command -v xboard || echo /usr/games/xboard)
polyglot=$(command -v polyglot || echo /usr/games/polyglot)
[ -x "$xboard" ] && [ -x "$polyglot" ] || fail "xboard and polyglot are needed (scripts/install-deps.sh)"

if [ "$build_first" = 1 ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$(nproc)" --target tavisk tavisk-engine pictures install-options-cfg man-pages icons
fi

work=$(mktemp -d /tmp/tavisk-package-XXXXXX)
player=""
cleanup() {
  # A failed --install run keeps the package for a look, but not the throwaway user.
  [ -z "$player" ] || ! id "$player" >/dev/null 2>&1 || userdel -r "$player" 2>/dev/null || true
  [ -n "${TAVISK_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
echo "work folder: $work"

step "cpack -G DEB"
rm -f "$build"/tavisk_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/tavisk_*.deb)
echo "$deb: $(stat -c %s "$deb") bytes"

step "dpkg-deb -I"
dpkg-deb -I "$deb" | tee "$work/info.txt"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tavisk ] || fail "package name"
[ "$(field Section)" = games ] || fail "section"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
depends=$(field Depends)
names=$(echo "$depends" | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/[[:space:]]//g')
for need in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 fonts-dejavu-core fonts-noto-cjk; do
  echo "$names" | grep -qxF "$need" || fail "Depends lacks $need: $depends"
done
# Every dependency must be a package that Debian knows.
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
  found=0
  IFS='|' read -ra alternatives <<<"$group"
  for alternative in "${alternatives[@]}"; do
    name=$(echo "$alternative" | sed -E 's/\(.*\)//; s/[[:space:]]//g')
    if dpkg-query -W "$name" >/dev/null 2>&1 || apt-cache show "$name" >/dev/null 2>&1; then found=1; fi
  done
  [ "$found" = 1 ] || fail "no package known for the dependency '$group'"
done

step "dpkg-deb -c"
dpkg-deb -c "$deb" >"$work/contents.txt"
wc -l <"$work/contents.txt"
awk '{print $6}' "$work/contents.txt" | sed 's#/$##' | sort >"$work/paths.txt"
for path in \
  ./usr/games/tavisk ./usr/games/tavisk-engine \
  ./usr/lib/games/tavisk/tavisk ./usr/lib/games/tavisk/tavisk-engine \
  ./usr/lib/games/tavisk/options.cfg ./usr/lib/games/tavisk/opening.pgn ./usr/lib/games/tavisk/installed \
  ./usr/lib/games/tavisk/Toolbar.bmp ./usr/lib/games/tavisk/tavisk.svg \
  ./usr/lib/games/tavisk/Skin1 ./usr/lib/games/tavisk/Skin2 ./usr/lib/games/tavisk/Skin3 \
  ./usr/lib/games/tavisk/Splash ./usr/lib/games/tavisk/tutorial \
  ./usr/share/applications/tavisk.desktop ./usr/share/icons/hicolor/scalable/apps/tavisk.svg \
  ./usr/share/icons/hicolor/48x48/apps/tavisk.png ./usr/share/icons/hicolor/256x256/apps/tavisk.png \
  ./usr/share/metainfo/org.tavisk.Tavisk.metainfo.xml \
  ./usr/share/man/man6/tavisk.6.gz ./usr/share/man/man6/tavisk-engine.6.gz \
  ./usr/share/doc/tavisk/copyright ./usr/share/doc/tavisk/README.md ./usr/share/doc/tavisk/changelog.gz; do
  grep -qx -- "$path" "$work/paths.txt" || fail "the package lacks $path"
done
grep -E -- '-> \.\./lib/games/tavisk/tavisk$' "$work/contents.txt" | grep -q ' ./usr/games/tavisk ' ||
  fail "/usr/games/tavisk is not a link into the program folder"
grep -v '^\./usr\(/\|$\)\|^\./$' "$work/paths.txt" && fail "files outside /usr"
awk '$2 != "root/root"' "$work/contents.txt" | grep . && fail "files not owned by root"
awk '$1 ~ /^.......w/ && $1 !~ /^l/' "$work/contents.txt" | grep . && fail "files any user may write"
echo "$(grep -c '^-' "$work/contents.txt") files, $(grep -c '^d' "$work/contents.txt") folders, $(grep -c '^l' "$work/contents.txt") links"

unpacked="$work/root"
dpkg-deb -x "$deb" "$unpacked"
folder="$unpacked/usr/lib/games/tavisk"
"$build/tools/options-cfg/make-options-cfg" "$work/default-options.cfg"
cmp "$folder/options.cfg" "$work/default-options.cfg" || fail "options.cfg is not the default settings block"
file -L "$folder/tavisk" "$folder/tavisk-engine" | tee "$work/file.txt"
grep -q 'not stripped' "$work/file.txt" && fail "the programs are not stripped"
for size in 16 48 256; do
  file "$unpacked/usr/share/icons/hicolor/${size}x$size/apps/tavisk.png" |
    grep -q "PNG image data, $size x $size, 8-bit/color RGBA" || fail "the ${size}-pixel icon"
done

step "desktop-file-validate, appstreamcli validate"
desktop-file-validate "$unpacked/usr/share/applications/tavisk.desktop" || fail "desktop entry"
echo "desktop entry valid"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.tavisk.Tavisk.metainfo.xml" || fail "metainfo"

step "man -l"
for page in tavisk tavisk-engine; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$unpacked/usr/share/man/man6/$page.6.gz" 2>"$work/man.err") ||
    fail "man -l $page"
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "$page(6) renders with warnings"; }
  for section in NAME SYNOPSIS OPTIONS FILES "EXIT STATUS"; do
    echo "$text" | grep -q "^$section" || fail "$page(6) has no $section section"
  done
  echo "$page(6): $(echo "$text" | wc -l) lines"
done

step "--help and --version"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_STATE_HOME="$work/home/state"
mkdir -p "$HOME"
for program in tavisk tavisk-engine; do
  version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/games/$program" --version)
  [ "$version" = "$program $(field Version)" ] || fail "$program --version said '$version'"
  env -u DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/games/$program" --help | grep -q "^usage: $program" ||
    fail "$program --help"
  set +e
  QT_QPA_PLATFORM=offscreen "$unpacked/usr/games/$program" --no-such-option </dev/null >/dev/null 2>&1
  status=$?
  set -e
  [ "$status" = 2 ] || fail "$program with an unknown option ended with $status, not 2"
  echo "$version; --help; a wrong option ends with 2"
done

# Plays one short game of the engine against itself under xboard: the first engine in
# the xboard language, the second through polyglot in UCI. Checks the saved game and
# that the engine kept its game record in the user's state folder.
xboard_game() {
  local engine=$1 out=$2
  mkdir -p "$out"
  set +e
  timeout 300 xvfb-run -a "$xboard" -noGUI \
    -fcp "$engine" -scp "$polyglot -noini -log true -lf $out/polyglot.log -ec $engine" \
    -matchGames 1 -tc 1 -inc 0 -searchDepth 3 -adjudicateDrawMoves 30 \
    -saveGameFile "$out/game.pgn" -popupExitMessage false -saveSettingsOnExit false \
    -debugMode true -nameOfDebugFile "$out/xboard.debug" >"$out/xboard.out" 2>&1
  local status=$?
  set -e
  [ "$status" = 0 ] || { tail -20 "$out/xboard.out"; fail "xboard ended with $status"; }
  [ -s "$out/game.pgn" ] || fail "xboard saved no game"
  local result plies
  result=$(sed -n 's/^\[Result "\(.*\)"\]/\1/p' "$out/game.pgn")
  plies=$(sed '/^\[/d' "$out/game.pgn" | tr ' ' '\n' | grep -Ec '^[a-hKQRBNO][a-h1-8x=+#O-]+$')
  case "$result" in 1-0 | 0-1 | 1/2-1/2) ;; *) cat "$out/game.pgn"; fail "the game has no result ($result)" ;; esac
  [ "$plies" -ge 10 ] || { cat "$out/game.pgn"; fail "only $plies plies were played"; }
  grep -q '<first : feature myname=' "$out/xboard.debug" || fail "the first engine did not answer xboard's protover"
  grep -q 'uciok' "$out/polyglot.log" && grep -q 'bestmove' "$out/polyglot.log" ||
    fail "the second engine did not play through polyglot in UCI"
  echo "xboard game: $plies plies, result $result"
}

step "a short game under xboard (unpacked package)"
xboard_game "$unpacked/usr/games/tavisk-engine" "$work/xboard"
[ -s "$XDG_STATE_HOME/tavisk/WinboardGames.pgn" ] || fail "the engine kept no game record in the user's state folder"
[ ! -e "$folder/WinboardGames.pgn" ] || fail "the engine wrote into its program folder"
echo "game record in \$XDG_STATE_HOME/tavisk, none in the program folder"

step "the game starts and ends in order (unpacked package)"
QT_QPA_PLATFORM=offscreen "$unpacked/usr/games/tavisk" >"$work/tavisk.out" 2>&1 &
pid=$!
for _ in $(seq 50); do
  sleep 0.2
  kill -0 "$pid" 2>/dev/null || break
  [ -s "$XDG_CONFIG_HOME/tavisk/options.cfg" ] && break
done
sleep 1
kill -TERM "$pid" 2>/dev/null || true
set +e
wait "$pid"
status=$?
set -e
[ "$status" = 0 ] || { cat "$work/tavisk.out"; fail "tavisk ended with $status"; }
[ "$(stat -c %s "$XDG_CONFIG_HOME/tavisk/options.cfg")" = 36 ] || fail "no settings in the user's config folder"
[ -s "$XDG_STATE_HOME/tavisk/autosave.pgn" ] || fail "no saved game in the user's state folder"
ls "$folder" >"$work/after.txt"
dpkg-deb -c "$deb" | awk '{print $6}' | grep '^\./usr/lib/games/tavisk/[^/]*/\?$' |
  sed 's#^\./usr/lib/games/tavisk/##; s#/$##' | grep . | sort >"$work/shipped.txt"
diff <(sort "$work/after.txt") "$work/shipped.txt" || fail "the program folder changed"
cmp -s "$folder/options.cfg" <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/games/tavisk/options.cfg) ||
  fail "the installed options.cfg changed"
echo "settings and game in the user's folders; the program folder unchanged"

if [ "$install" = 0 ]; then
  echo "package checked: $deb"
  exit 0
fi

# --- On this machine: install, play as a new user, remove. ---------------------------
[ "$(id -u)" = 0 ] || fail "--install needs root"
shots=${TAVISK_SHOTS:-$root/build/package-shots}
mkdir -p "$shots"
player=tavisk-player-$$

step "apt-get install $deb"
dpkg-query -W tavisk >/dev/null 2>&1 && fail "a tavisk package is installed already"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" 2>&1 | grep -E "tavisk|newly installed"
dpkg -L tavisk >"$work/dpkg-L.txt"
echo "dpkg -L tavisk: $(wc -l <"$work/dpkg-L.txt") paths"
command -v tavisk >/dev/null || PATH="$PATH:/usr/games"
ls -l /usr/games/tavisk /usr/games/tavisk-engine

step "a new user starts the game (useradd $player; xvfb-run)"
useradd -m -s /bin/bash "$player"
home=$(getent passwd "$player" | cut -d: -f6)
su - "$player" -c "command -v tavisk && tavisk --version"
su - "$player" -c "xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
  tavisk --zoom 2 & pid=\$!
  sleep 2; import -window root \$HOME/splash.png
  sleep 7; import -window root \$HOME/first-start.png
  xdotool key Return; sleep 2; import -window root \$HOME/game.png
  kill -TERM \$pid; wait \$pid; echo tavisk ended with \$?'"
for shot in splash first-start game; do cp "$home/$shot.png" "$shots/installed-$shot.png"; done
echo "screenshots: $shots/installed-{splash,first-start,game}.png"
(cd "$home" && find .config/tavisk .local/state/tavisk -type f -printf '%p %s bytes\n')
[ "$(stat -c %s "$home/.config/tavisk/options.cfg")" = 36 ] || fail "the new user has no settings"
[ -s "$home/.local/state/tavisk/autosave.pgn" ] || fail "the new user's game was not saved"

step "XBoard finds the installed engine by itself"
su - "$player" -c "xvfb-run -a -s '-screen 0 1024x768x24' sh -c '
  xboard & pid=\$!
  sleep 6; xdotool windowfocus \$(xdotool search --onlyvisible --name xboard | head -1) key ctrl+q
  sleep 3; kill \$pid 2>/dev/null; wait \$pid'" >/dev/null 2>&1 || true
sed -n '/^-firstChessProgramNames/,/^}/p' "$home/.xboardrc" | tee "$work/engines.txt"
grep -qx 'tavisk-engine' "$work/engines.txt" || fail "XBoard did not list tavisk-engine"

step "a short game under xboard (installed engine)"
xboard_game /usr/games/tavisk-engine "$work/installed-xboard"
[ ! -e /usr/lib/games/tavisk/WinboardGames.pgn ] || fail "the engine wrote into the installed program folder"

step "apt-get remove tavisk"
userdel -r "$player" 2>/dev/null || true
player=""
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tavisk 2>&1 | grep -E "tavisk|removed"
left=0
while read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  # Shared folders of the system stay; anything of the package's own must be gone.
  if [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1; then continue; fi
  echo "left behind: $path"
  left=1
done <"$work/dpkg-L.txt"
ls -d /usr/lib/games/tavisk /usr/games/tavisk /usr/games/tavisk-engine /usr/share/doc/tavisk 2>&1 || true
[ "$left" = 0 ] || fail "the package left files behind"
status=$(dpkg-query -W -f='${db:Status-Status}' tavisk 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] || fail "the package is still known to dpkg: $status"
echo "removed; nothing of the package is left"
