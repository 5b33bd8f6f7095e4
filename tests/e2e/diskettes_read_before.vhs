# A session after a failure (another run of the program, with the same state folder): diskette 1
# was read whole before, so only its start is asked of the drive, to tell it is the same
# diskette; its files come from the store of attempts, and their checksums are still checked.
#> mkdir @WORK@/c @WORK@/e
#> session diskettes_read_before.first
#> check grep -q '"text":"Can not copy file A:\\\\db\\\\subscribers.dat' diskettes_read_before.first.jsonl
drive a: removable @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
state-folder @WORK@/state
start
select a:
ok
ok
insert a: @E2E@/../../samples/site42/disk2
ok
insert a: @E2E@/../../samples/site42/disk3
ok
select e:
ok
#> expect {"event":"log","text":"Diskette #1 was read before; it is not read again"}
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
# Diskette 1's start alone: the boot sector, the FATs and the root folder, two tracks.
#> check [ "$(cat blocks.txt)" = $'0 18 ok\n18 18 ok' ]
