# start needs the temporary folder.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
start
#> exit 2
#> expect {"event":"error","line":5,"text":"start: no temporary folder was given (temp PATH)"}
