# Sourced by the Windows scripts: how the build and the tests run Windows programs under Wine.
# The project's own Wine prefix, no debug channels, no offer to install .NET or a browser
# engine. QRV_UNIX_PATH hands the machine's PATH to the tests: Wine gives the programs it
# starts a Windows PATH, and the tests' shell commands need the machine's own.
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/quorvia/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export QRV_UNIX_PATH=${QRV_UNIX_PATH:-$PATH}
