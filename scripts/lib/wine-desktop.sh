# Sourced by the scripts that run the Windows build under wine.
#
# wine_cjk_fonts gives the
# prefix in $WINEPREFIX the fonts a Chinese Windows has, 宋体 (SimSun) and
# 微软雅黑 (Microsoft YaHei), stood in for by Debian's Noto CJK: the files in
# the prefix's Fonts folder, their faces listed under those names by wine
# (Replacements, so that programs enumerating the families find them) and
# mapped for the programs that ask for them (FontSubstitutes).
wine_cjk_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts reg
  mkdir -p "$fonts"
  cp -f /usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc \
        /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "$fonts/"
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\n'
    for key in 'HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements' \
               'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'; do
      printf '\n[%s]\n' "$key"
      printf '"%s"="Noto Serif CJK SC"\n' SimSun NSimSun 宋体
      printf '"%s"="Noto Sans CJK SC"\n' "Microsoft YaHei" 微软雅黑
    done
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  rm -f "$reg"
}

# The visual theme a Windows desktop has: wine's own "light" theme (shipped
# with wine, copied into every prefix) made active, so that the program's
# tab strip is drawn by the system's theme services as on Windows. Wine reads
# it when a program starts.
wine_light_theme() {
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\n'
    printf '"ThemeActive"="1"\n'
    printf '"DllName"="C:\\\\windows\\\\resources\\\\themes\\\\light\\\\light.msstyles"\n'
    printf '"ColorName"="Blue"\n'
    printf '"SizeName"="NormalSize"\n'
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  rm -f "$reg"
}

# Both: what a Chinese Windows desktop shows the program.
wine_desktop() {
  wine_cjk_fonts
  wine_light_theme
}
