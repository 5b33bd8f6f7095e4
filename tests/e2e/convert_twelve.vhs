# Twelve diskettes: two-digit diskette numbers in the volume files, the FILE lines and the
# diskette areas; a file spread over all twelve; the keycode file carried as keycode.kcd.
#> set big id=987654321 keycode=kcd keycode.rec=s:KEYCODE@1 big/table.dat=40001@1-12 d10/only10.dat=50@10 d12/z.dat=7@12 root.dat=4@5
#> mkdir @WORK@/c @WORK@/e
#> expect {"event":"log","text":"\r\nArchive ID = 987654321\r\nTotal diskettes num = 12"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #3"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #4"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #5"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #6"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #7"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #8"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #9"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #10"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #11"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #12"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\keycode.kcd to C:\\Temp\\VELT_flat\\keycode.kcd"}
#> expect {"event":"log","text":"append C:\\Temp\\VELT_disk12\\big\\table.dat to C:\\Temp\\VELT_flat\\big\\table.dat"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk10\\d10\\only10.dat to C:\\Temp\\VELT_flat\\d10\\only10.dat"}
#> expect-text "wizardStep":3,"currentDisk":12,"floppyDrive":"A:","flashDrive":"","archiveId":987654321,"totalDisks":12,"fileCount":16,"keycodeRecFound":false,
#> expect-text "progress":{"min":0,"max":1200,
#> expect {"event":"status","text":"Successful database convert\r\nTotal 12 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk12\\"}
#> expect {"event":"end"}
#> absent-text "event":"msgbox"
#> same @WORK@/e/backup/single @WORK@/big/card
#> check test -f big/disk10/disk0010.dat && grep -q "^FILE: 10 1 0 " big/disk1/archive.dat
#> check grep -qx "FILE: 1 0 1 [0-9]* /keycode.rec std" e/backup/single/archive.dat
#> missing @WORK@/c/Temp/VELT_disk10
drive a: removable @WORK@/big/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/big/disk2
ok
insert a: @WORK@/big/disk3
ok
insert a: @WORK@/big/disk4
ok
insert a: @WORK@/big/disk5
ok
insert a: @WORK@/big/disk6
ok
insert a: @WORK@/big/disk7
ok
insert a: @WORK@/big/disk8
ok
insert a: @WORK@/big/disk9
ok
insert a: @WORK@/big/disk10
ok
insert a: @WORK@/big/disk11
ok
insert a: @WORK@/big/disk12
ok
state
select e:
ok
exit
