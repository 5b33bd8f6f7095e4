# A descriptor that claims 100 diskettes describes no set the converter can read (a set has 1
# to 99): diskette 1 is refused as a wrong diskette at once, rather than after 99 diskettes.
#> set hundred id=1 disks=100 a.dat=64@1
#> mkdir @WORK@/c
drive a: removable @WORK@/hundred/disk1
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"ERROR Wrong diskette!\r\nInsert diskette #1"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong diskette!\r\nInsert diskette #1","answer":"ok"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "totalDisks":0,
#> absent-text Too many diskettes
#> absent-text Archive ID = 1
