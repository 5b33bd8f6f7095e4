# A file of diskette 1 needs a sector that never reads: the copy fails naming the file, and the
# set is asked for again. The technician puts in another copy of the diskette, which fails
# elsewhere in the same file: the reader keeps what the first copy gave, asks the second only
# for the missing sector, and the two make one whole diskette. Its kept image is the diskette.
#> mkdir @WORK@/c @WORK@/e
drive a: removable badsector=40 @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
keep-images @WORK@/kept
start
select a:
ok
ok
state
insert a: badsector=45 @E2E@/../../samples/site42/images/disk1.img
ok
ok
insert a: @E2E@/../../samples/site42/images/disk2.img
ok
insert a: @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1: 1 sector could not be read (40); files hit: A:\\db\\subscribers.dat"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Can not copy file A:\\db\\subscribers.dat to C:\\Temp\\VELT_disk1\\db\\subscribers.dat\r\nDiskette sector 40 of db\\subscribers.dat cannot be read\r\nClean the drive's head, or try another drive or another copy of diskette #1;\r\nwhat was read is kept, and only the missing sectors are read again.","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> absent-text could not be read (45)
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
#> same @WORK@/kept/archive4207-disk1.img @E2E@/../../samples/site42/images/disk1.img
#> missing @WORK@/kept/archive4207-disk1.bad
