#!/bin/sh
# The HTML tidier of the program's data folder: the system's tidy (Debian
# package "tidy"), started with the arguments the program gives.
exec /usr/bin/tidy "$@"
