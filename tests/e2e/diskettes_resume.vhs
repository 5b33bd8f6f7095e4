# A rescue resumes where it stopped: a later run with the same state folder asks the drive
# for the start of the diskette, to tell it, and then only for the sector the first run could
# not read.
#> mkdir @WORK@/c @WORK@/e
#> session diskettes_resume.first
#> check grep -q 'Diskette #1: 1 sector could not be read (40); files hit: A:\\\\db\\\\subscribers.dat' diskettes_resume.first.jsonl
#> check ls state/[Dd]iskettes/*.map state/[Dd]iskettes/*.img
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
#> absent {"event":"log","text":"Diskette #1 was read before; it is not read again"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
#> check [ "$(cat blocks.txt)" = $'0 18 ok\n18 18 ok\n40 1 ok' ]
