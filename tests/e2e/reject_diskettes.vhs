# Diskettes refused while #2 is asked for: the same one again, one out of order, one of another
# set (back to the floppy drive step); then the set is read again from #1.
#> set site id=812 a.dat=100@1 b.dat=200@2 c.dat=300@3
#> set other id=0999 x.dat=10@1-2
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Temp
start
select a:
ok
ok
ok
insert a: @WORK@/site/disk3
ok
insert a: @WORK@/other/disk2
ok
state
insert a: @WORK@/site/disk1
ok
ok
insert a: @WORK@/site/disk2
ok
insert a: @WORK@/site/disk3
ok
state
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect {"event":"log","text":"ERROR Wrong diskette!\r\nInsert diskette #2"}
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong diskette!\r\nInsert diskette #2","answer":"ok"}
#> expect {"event":"log","text":"ERROR Wrong diskette!\r\nInsert diskette #2"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong diskette!\r\nInsert diskette #2","answer":"ok"}
#> expect {"event":"log","text":"ERROR \r\nWrong Archive ID at diskette #2\r\nExpected 812 found 0999"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nWrong Archive ID at diskette #2\r\nExpected 812 found 0999","answer":"ok"}
#> expect {"event":"status","text":"Please press the OK button\r\nto read the set again from diskette #1"}
#> expect-text "wizardStep":0,"currentDisk":2,
#> expect {"event":"log","text":"Floppy drive A: was selected"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #3"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,"currentDisk":3,
#> check test ! -e c/Temp/VELT_disk2/x.dat
