#!/usr/bin/env bash
# Runs nls_glibc_parity (every lookup of the installed catalogues, glibc's answer against this
# library's) under environments that exercise the choice of catalogues: regional and base
# languages, LANGUAGE lists, modifiers, names outside the library's table, C.UTF-8, a non-UTF-8
# locale, LC_MESSAGES over LANG.
#
# usage: bench/glibc_parity.sh build/bench/nls_glibc_parity [ROOT]
set -uo pipefail
program=$1
shift
status=0
while read -r settings; do
  printf '%s\n  ' "$settings"
  # shellcheck disable=SC2086 # the settings are words of the form NAME=value
  env -i PATH="$PATH" $settings "$program" "$@" || status=1
done <<'ENVIRONMENTS'
LANG=de_DE.UTF-8
LANG=de_AT.UTF-8
LANG=de_CH.UTF-8
LANG=pt_BR.UTF-8
LANG=es_MX.UTF-8
LANG=fr_CA.UTF-8
LANG=en_GB.UTF-8
LANG=zh_TW.UTF-8
LANG=fr_FR.UTF-8 LANGUAGE=fr:de
LANG=en_US.UTF-8 LANGUAGE=ro_MD:es
LANG=nb_NO.UTF-8
LANG=ca_ES.UTF-8@valencia
LANG=sr_RS.UTF-8@latin
LANG=en_US.UTF-8 LANGUAGE=en@quot
LANG=zh_TW.UTF-8 LANGUAGE=zh_HK:zh_CN
LANG=C.UTF-8 LANGUAGE=de
LANG=C LANGUAGE=de
LANG=fr_FR.UTF-8 LC_MESSAGES=ja_JP.UTF-8
LC_ALL=it_IT.UTF-8 LANG=de_DE.UTF-8
LANG=de_DE@euro
LANG=de_AT.ISO-8859-1
LANG=pt_BR.ISO-8859-1
LANG=ca_ES@valencia
LANG=ja_JP.eucjp
LANG=ru_RU.koi8r
ENVIRONMENTS
exit $status
