# A dead sector in a file fails the copy; another copy of the diskette, in another device with
# another dead sector, is asked only for the missing sector, and the two make one diskette.
#> mkdir @WORK@/c @WORK@/e
drive a: removable @DEV@
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
insert a: @DEV2@
ok
ok
insert a: @E2E@/../../samples/site42/images/disk2.img
ok
insert a: @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1: 1 sector could not be read (40); files hit: A:\\db\\subscribers.dat"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> absent-text could not be read (45)
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
