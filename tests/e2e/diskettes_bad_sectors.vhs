# The sample set read from diskette images that fail as old diskettes do: on diskette 1 a
# sector of each FAT (not the same one), one in free space and a marginal one in a file that
# reads at its third try; diskette 3's boot sector reads at its second. Nothing is lost: one log
# line says what could not be read, the card is the folders' card, and the kept images are
# the diskettes as read, the unreadable sectors as zeros and listed beside the image.
#> mkdir @WORK@/c @WORK@/e
drive a: removable badsector=5 badsector=12 badsector=200 badsector=40:2 @E2E@/../../samples/site42/images/disk1.img
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
insert a: badsector=0:1 @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
state
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"Diskette #1: 3 sectors could not be read (5, 12, 200); 1 in free space or after the end of a file, not needed; 2 of a FAT, read from its other copy; no file hit"}
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> expect-text "wizardStep":4
#> absent-text "event":"msgbox"
#> absent-text "Diskette #2:
#> absent-text "Diskette #3:
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
#> same @WORK@/kept/archive4207-disk2.img @E2E@/../../samples/site42/images/disk2.img
#> same @WORK@/kept/archive4207-disk3.img @E2E@/../../samples/site42/images/disk3.img
#> missing @WORK@/kept/archive4207-disk2.bad
#> missing @WORK@/kept/archive4207-disk3.bad
#> check printf '5\n12\n200\n' | cmp - kept/archive4207-disk1.bad
#> check cp @E2E@/../../samples/site42/images/disk1.img zeroed.img && for s in 5 12 200; do dd if=/dev/zero of=zeroed.img bs=512 seek=$s count=1 conv=notrunc 2>/dev/null; done && cmp zeroed.img kept/archive4207-disk1.img
