# Two copies of diskette 1, in a: and b: from the start, each with a sector the other reads:
# the copy in b: adds to what a: gave, and is asked only for the sector a: could not read.
#> mkdir @WORK@/c @WORK@/e
drive a: removable badsector=40 @E2E@/../../samples/site42/images/disk1.img
drive b: removable badsector=45 @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select b:
ok
ok
insert b: @E2E@/../../samples/site42/images/disk2.img
ok
insert b: @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1: 1 sector could not be read (40); files hit: A:\\db\\subscribers.dat"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"log","text":"Floppy drive B: was selected"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> absent-text could not be read (45)
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
