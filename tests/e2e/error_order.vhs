# A playing command before start is a script error at its line.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
select a:
temp C:\Temp
start
#> exit 2
#> expect {"event":"error","line":5,"text":"\"select\" plays the user and must come after start"}
#> missing @WORK@/c/Temp
