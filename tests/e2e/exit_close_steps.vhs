# Exit answered No while diskette #2 is asked for changes nothing; a close request answered
# No in step 3 keeps the window; once the database is written, closing ends at once.
#> set site id=812 a.dat=100@1 b.dat=200@2
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Temp
start
select a:
ok
ok
answer no
exit
state
insert a: @WORK@/site/disk2
ok
answer no
close
state
select e:
ok
close
state
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"}
#> expect-text "wizardStep":2,"currentDisk":2,
#> expect-text "mainText":"Please insert diskette #2 and press the OK button\r\n",
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"}
#> expect-text "wizardStep":3,"currentDisk":2,
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk2\\"}
#> expect {"event":"end"}
#> check test "$(grep -c '"event":"log","text":"QUERY' out.jsonl)" -eq 2
#> check test "$(grep -c '"event":"state"' out.jsonl)" -eq 2
#> same @WORK@/e/backup/single @WORK@/site/card
#> check test -z "$(ls -A c/Temp)"
