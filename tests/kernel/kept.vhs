# Kept images from the kernel's device: the image of a clean diskette is the diskette.
#> mkdir @WORK@/c @WORK@/e
drive a: removable @DEV@
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
keep-images @WORK@/kept
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
#> same @WORK@/kept/archive4207-disk1.img @E2E@/../../samples/site42/images/disk1.img
#> missing @WORK@/kept/archive4207-disk1.bad
