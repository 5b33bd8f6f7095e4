# Kept images name each diskette and never replace another's: a diskette whose volume file does
# not read is kept by its serial number; a failing diskette is kept with its .bad; another
# diskette with the same Archive ID (another serial number) gets ~2 beside the first.
#> mkdir @WORK@/c @WORK@/e
#> sh cp @E2E@/../../samples/site42/images/disk1.img other1.img && printf '\007' | dd of=other1.img bs=1 seek=39 conv=notrunc status=none
drive a: removable badsector=67 @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
keep-images @WORK@/kept
start
select a:
ok
ok
insert a: badsector=40 @WORK@/other1.img
ok
ok
insert a: @E2E@/../../samples/site42/images/disk1.img
ok
state
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Cannot read A:\\disk0001.dat\r\nDiskette sector 67 of disk0001.dat cannot be read\r\nClean the drive's head, or try another drive or another copy of diskette #1;\r\nwhat was read is kept, and only the missing sectors are read again.","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Can not copy file A:\\db\\subscribers.dat to C:\\Temp\\VELT_disk1\\db\\subscribers.dat\r\nDiskette sector 40 of db\\subscribers.dat cannot be read\r\nClean the drive's head, or try another drive or another copy of diskette #1;\r\nwhat was read is kept, and only the missing sectors are read again.","answer":"ok"}
#> expect-text "wizardStep":2,"currentDisk":2,
#> check [ "$(cat kept/diskette-00000001.bad)" = 67 ]
#> check [ "$(cat kept/archive4207-disk1.bad)" = 40 ]
#> check cmp -n 20480 kept/archive4207-disk1.img other1.img && cmp -i 20992 kept/archive4207-disk1.img other1.img
#> same @WORK@/kept/archive4207-disk1~2.img @E2E@/../../samples/site42/images/disk1.img
#> missing @WORK@/kept/archive4207-disk1~2.bad
#> missing @WORK@/kept/archive4207-disk1~3.img
