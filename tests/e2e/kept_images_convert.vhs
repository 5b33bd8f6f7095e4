# A kept image converts as its diskette did: diskette 1's first FAT sector did not read, so the
# image holds it as the second FAT gives it and its .bad lists it. Put into drive a: later, the
# image converts to the same card, and being read changes nothing in the kept folder.
#> mkdir @WORK@/c @WORK@/e @WORK@/e2
#> session kept_images_convert.first
#> check [ "$(cat kept/archive4207-disk1.bad)" = 1 ]
#> sh cp kept/archive4207-disk1.bad before.bad && cp kept/archive4207-disk1.img before.img
drive a: removable @WORK@/kept/archive4207-disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e2
temp C:\Temp
keep-images @WORK@/kept
start
select a:
ok
ok
insert a: @WORK@/kept/archive4207-disk2.img
ok
insert a: @WORK@/kept/archive4207-disk3.img
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1: 1 sector could not be read (1); 1 of a FAT, read from its other copy; no file hit"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> same @WORK@/e2/backup/single @E2E@/../../samples/site42/expected
#> same @WORK@/kept/archive4207-disk1.img @E2E@/../../samples/site42/images/disk1.img
#> same @WORK@/kept/archive4207-disk1.bad @WORK@/before.bad
#> same @WORK@/kept/archive4207-disk1.img @WORK@/before.img
#> missing @WORK@/kept/archive4207-disk1~2.img
