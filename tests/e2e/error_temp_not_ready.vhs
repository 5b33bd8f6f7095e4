# The temporary folder on a drive without a medium; the error names the temp line.
#> mkdir @WORK@/a
drive a: removable @WORK@/a
drive c: fixed -
temp C:\Temp
start
#> exit 2
#> expect {"event":"error","line":5,"text":"temp: drive c: is not ready (it has no medium)"}
#> absent-text "event":"log"
