# Two cards too small for both databases in one session, each with its old database copied to
# the state folder before it leaves the card. The first card keeps neither database (it does
# not keep db\main.dat, old or new), so its old one lives on only on the computer; the second
# card's write goes well and removes its own copy, never the first card's. A copy from an
# earlier session is said at start-up.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1
#> mkdir @WORK@/c @WORK@/e1/backup/single/db @WORK@/e2/backup/single/db @WORK@/state/previous/CF9_2026-01-01_10-00-00
#> sh echo old1 > e1/backup/single/db/main.dat && echo desc1 > e1/backup/single/archive.dat && cp -r e1/backup/single old1
#> sh echo old2 > e2/backup/single/db/main.dat && echo desc2 > e2/backup/single/archive.dat
#> sh echo earlier > state/previous/CF9_2026-01-01_10-00-00/archive.dat
state-folder @WORK@/state
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF1 free=4096 corrupt=backup\single\db\main.dat @WORK@/e1
temp C:\Temp
start
select a:
ok
ok
select e:
answer yes
ok
insert e: label=CF2 free=4096 @WORK@/e2
answer yes
ok
#> expect-text CF9_2026-01-01_10-00-00"}
#> expect {"event":"log","text":"Not enough free space on E: to keep the previous database until the new one is verified"}
#> expect-text {"event":"log","text":"Copied the previous database to 
#> expect {"event":"log","text":"Removed the previous database in E:\\backup\\single\\"}
#> expect-text "text":"Verification failed: E:\\backup\\single\\db\\main.dat
#> expect-text "text":"Verification failed: E:\\backup\\single\\db\\main.dat
#> expect-text {"event":"log","text":"The previous database is kept in 
#> expect {"event":"log","text":"Not enough free space on E: to keep the previous database until the new one is verified"}
#> expect-text {"event":"log","text":"Copied the previous database to 
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> expect-text {"event":"log","text":"Removed the copy of the previous database kept in 
#> expect-text Successful database convert
#> missing @WORK@/e1/backup/single
#> same @WORK@/e2/backup/single @WORK@/one/card
#> check test "$(ls state/previous | wc -l)" = 2
#> check diff -r state/previous/CF1_* old1
#> check test "$(cat state/previous/CF9_2026-01-01_10-00-00/archive.dat)" = earlier
#> check ! ls -d state/previous/CF2_* 2>/dev/null
