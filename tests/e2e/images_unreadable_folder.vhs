# A diskette image whose folder db\system cannot be listed (its cluster chain loops back on
# itself): the diskette's read fails naming the folder, and nothing is converted without it.
#> mkdir @WORK@/c @WORK@/e
#> sh cp @E2E@/../../samples/site42/images/disk1.img loop.img && python3 @E2E@/fat_loop.py loop.img db/system
drive a: removable @WORK@/loop.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect-text "text":"Failed to read directory A:\\db\\system\\\r\nEnsure that the floppy disk is readable "
#> expect-text "title":"Error!"
#> expect-text "wizardStep":0,
#> absent-text Please insert diskette #2
#> absent-text Successful database convert
