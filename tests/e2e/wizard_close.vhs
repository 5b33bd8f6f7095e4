# Closing the window: in the Compact Flash step it asks, and No keeps the window open with
# nothing changed; once the database is written it ends without a question and clears the
# temporary area.
#> set site id=4711 keycode.rec=s:key@1 db/a.dat=2000@1-2
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/site/disk2
ok
answer no
close
state
select e:
ok
close
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"}
#> expect-text "wizardStep":3,"currentDisk":2,
#> expect-text "mainText":"Please select the Compact Flash\r\ndrive and press the OK button\r\n"
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk1\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk2\\"}
#> expect {"event":"end"}
#> absent-text "answer":"yes"
#> missing @WORK@/c/Temp/VELT_flat
#> missing @WORK@/c/Temp/VELT_disk1
#> missing @WORK@/c/Temp/VELT_disk2
#> same @WORK@/e/backup/single @WORK@/site/card
