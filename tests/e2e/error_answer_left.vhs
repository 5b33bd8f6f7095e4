# An answer nobody asked for: the error names the line of that answer.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
answer no
exit
answer yes
state
#> exit 2
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"}
#> expect {"event":"error","line":9,"text":"this answer is still queued at the end of the script: no question took it"}
