# A key pressed in the drive list runs its change handling like a new choice: in step 0 for a
# drive without and then with a diskette, and in step 3 for a drive that has lost its medium,
# which falls back to the drive chosen at start-up. The type texts of the other drive kinds
# (none for a code outside 0 to 5) and the free kilobytes rounded half up.
#> set site id=812 a.dat=100@1
#> mkdir @WORK@/c @WORK@/d @WORK@/n @WORK@/r @WORK@/x
drive a: removable -
drive c: fixed label=SYSTEM free=1536 @WORK@/c
drive d: cdrom label=DISC free=1535 @WORK@/d
drive n: network label=SHARE free=0 @WORK@/n
drive r: ramdisk free=1048576 @WORK@/r
drive x: 7 label=ODD free=2048 @WORK@/x
temp C:\Temp
start
key
state
select a:
key
state
insert a: @WORK@/site/disk1
key
state
ok
ok
select d:
state
select n:
state
select r:
state
select x:
state
eject x:
key
state
#> expect-text "driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM","visible":true}
#> expect-text "focus":"buttonOK"
#> expect-text "driveList":{"index":0,"entry":"a:","visible":true,"enabled":true},"driveSize":{"caption":"Drive A:","visible":true}
#> expect-text "driveList":{"index":0,"entry":"a:","visible":true,"enabled":true},"driveSize":{"caption":"Removable Drive A: - ","visible":true}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "driveSize":{"caption":"CD-ROM Drive D: [DISC] - DISC\r\n Free Space: 1 Kbytes","visible":true}
#> expect-text "driveSize":{"caption":"Network Drive N: [SHARE] - SHARE\r\n Free Space: 0 Kbytes","visible":true}
#> expect-text "driveSize":{"caption":"RAM Disk Drive R: - \r\n Free Space: 1,024 Kbytes","visible":true}
#> expect-text "driveList":{"index":5,"entry":"x: [ODD]","visible":true,"enabled":true},"driveSize":{"caption":"Drive X: [ODD] - ODD\r\n Free Space: 2 Kbytes","visible":true}
#> expect {"event":"log","text":"ERROR \r\nDrive X: is not ready."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive X: is not ready.","answer":"ok"}
#> expect-text "wizardStep":3,"currentDisk":1,"floppyDrive":"A:","flashDrive":"",
#> expect-text "driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM\r\n Free Space: 2 Kbytes","visible":true}
#> check test "$(grep -c '"event":"msgbox"' out.jsonl)" -eq 1
#> absent {"event":"end"}
