#!/bin/sh
# Strips a program as Debian's packaging helpers do: the symbols, and the compilers' notes
# in .comment and .note that no one reads at run time.
exec strip --remove-section=.comment --remove-section=.note "$@"
