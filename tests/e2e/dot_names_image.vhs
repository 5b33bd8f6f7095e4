# A listed file whose name starts with a dot (db\.cfg) on a diskette image (where FAT keeps it
# as a long name): read, verified, and written to the card with the rest.
#> set dot id=44 keycode.rec=s:abc@1 db/.cfg=s:dotted@1 db/main.dat=200@1
#> mkdir @WORK@/c @WORK@/e @WORK@/f
#> sh mkfs.fat -C -F 12 -n DOT -i 00000044 dot.img 1440 >/dev/null && MTOOLS_SKIP_CHECK=1 mcopy -s -p -m -i dot.img dot/disk1/* ::/
drive a: removable @WORK@/dot.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
ok
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> expect-text Successful database convert
#> absent-text "title":"Error!"
#> same @WORK@/e/backup/single @WORK@/dot/card
