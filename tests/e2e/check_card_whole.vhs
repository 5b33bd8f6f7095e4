# "Check Compact Flash card..." on a card that holds a whole database, at step 0 and in the
# middle of reading a set: one information box with the count of files that match their
# checksums, nothing written on the card, and the wizard goes on where it was.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1-2
#> mkdir @WORK@/c @WORK@/e/backup/keep
#> sh cp -r one/card e/backup/single && echo keep > e/backup/keep/note.txt && cp -r e before
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Temp
start
check-card e:
select a:
ok
ok
state
check-card e:
state
insert a: @WORK@/one/disk2
ok
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"log","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums"}
#> expect {"event":"msgbox","title":"Check Compact Flash card","icon":"information","buttons":"ok","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums","answer":"ok"}
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect-text {"event":"state","wizardStep":2,"currentDisk":2,"floppyDrive":"A:","flashDrive":"",
#> expect-text "mainText":"Please insert diskette #2 and press the OK button\r\n"
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"msgbox","title":"Check Compact Flash card","icon":"information","buttons":"ok","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums","answer":"ok"}
#> expect-text {"event":"state","wizardStep":2,"currentDisk":2,"floppyDrive":"A:","flashDrive":"",
#> expect-text "mainText":"Please insert diskette #2 and press the OK button\r\n"
#> expect-text "driveList":{"index":0,"entry":"a:","visible":false,"enabled":false}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> absent-text "event":"status","text":"Checking
#> same @WORK@/e @WORK@/before
