# Diskette 1 refused: diskette 2 in its place, no descriptor, an empty descriptor, and a
# damaged file that cannot be copied (back to the floppy drive step).
#> set site id=812 a.dat=100@1 db/b.dat=200@1 c.dat=300@2
#> sh cp -r site/disk1 nodesc && rm nodesc/archive.dat
#> sh cp -r site/disk1 emptydesc && : > emptydesc/archive.dat
#> mkdir @WORK@/c
drive a: removable @WORK@/site/disk2
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/nodesc
ok
insert a: @WORK@/emptydesc
ok
insert a: bad=db\b.dat @WORK@/site/disk1
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong diskette!\r\nInsert diskette #1","answer":"ok"}
#> expect {"event":"log","text":"ERROR A:\\archive.dat File not found\r\nInsert diskette #1"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"A:\\archive.dat File not found\r\nInsert diskette #1","answer":"ok"}
#> expect {"event":"log","text":"ERROR Wrong diskette!\r\nInsert diskette #1"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Wrong diskette!\r\nInsert diskette #1","answer":"ok"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Can not copy file A:\\db\\b.dat to C:\\Temp\\VELT_disk1\\db\\b.dat\r\nEnsure that the floppy disk is readable and that \r\nthere is enough free space available on drive C:\\","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect-text "buttonBack":false,
#> expect-text "progress":{"min":0,"max":200,"value":0,"visible":false}
#> check test -d c/Temp/VELT_flat && test -z "$(ls -A c/Temp/VELT_flat)"
