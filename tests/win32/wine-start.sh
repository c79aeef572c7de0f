#!/bin/sh
# Prepares the Wine prefix named by WINEPREFIX for the Windows tests and leaves one
# wineserver running, so that each test program starts in a fraction of a second.
# Usage: WINEPREFIX=build/win32/wineprefix WINEARCH=win32 AVO_WINE=/usr/lib/wine/wine \
#          tests/win32/wine-start.sh   (DISPLAY set; AVO_WINE defaults to wine64)
# Stop it again with: WINEPREFIX=… /usr/lib/wine/wineserver -k
wine=${AVO_WINE:-/usr/lib/wine/wine64}
server=/usr/lib/wine/wineserver
: "${WINEPREFIX:?set WINEPREFIX to the prefix to use}"
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}"

# On a display with a window manager the windows are the manager's, as on a desktop, so
# that stacking and focus are the real ones; on a bare X server the prefix leaves window
# management to Wine, which would otherwise wait two seconds for a manager on every window
# it hides.
managed=N
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '#' && managed=Y

"$server" -p </dev/null >/dev/null 2>&1
"$wine" wineboot -i </dev/null >/dev/null 2>&1 || exit 1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f </dev/null || exit 1

# Once the prefix is set up the server is restarted: the processes of a first boot would
# otherwise slow every test program down to 15 s or more. Wine's services are started again
# here, detached from the caller's output, so that no test program starts them and leaves
# them holding its output open.
"$server" -k
"$server" -w
setsid "$server" -p </dev/null >/dev/null 2>&1
setsid "$wine" wineboot </dev/null >/dev/null 2>&1
exit 0
