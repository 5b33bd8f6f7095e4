# A clean diskette in the kernel's block device converts as its image does.
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
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> absent-text could not be read
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
