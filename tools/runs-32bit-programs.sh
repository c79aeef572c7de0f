#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs: a static i386 program that only exits 0
# is made and started. The kernel's name says nothing (a 64-bit kernel may be built without
# IA32 emulation, or have it switched off). Needs binutils (as, ld).
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null &&
  ld -m elf_i386 -static -o "$dir/exit" "$dir/exit.o" 2>/dev/null &&
  "$dir/exit" 2>/dev/null
