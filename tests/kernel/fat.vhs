# A dead sector of the first FAT: it is taken from the second, and nothing is lost.
#> mkdir @WORK@/c @WORK@/e
drive a: removable @DEV@
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @E2E@/../../samples/site42/images/disk2.img
ok
insert a: @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1: 1 sector could not be read (1); 1 of a FAT, read from its other copy; no file hit"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
