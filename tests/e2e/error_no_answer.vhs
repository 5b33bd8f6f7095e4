# A Yes/No question with no answer queued: the question is logged, then the script error.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
exit
#> exit 2
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"error","line":7,"text":"no answer queued for the question \"warning!\": Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> absent {"event":"end"}
