# Replacing a database on a card that fails: the previous database stays byte for byte, and
# the log says so. A card that dies halfway (fail=), one that fills up (capacity=), and one
# that does not keep what is written (corrupt=), the last reported exactly.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1 db/sub/x.dat=700@1
#> mkdir @WORK@/c @WORK@/e/backup/single/db @WORK@/e/backup/keep
#> sh echo old > e/backup/single/db/old.dat && echo olddesc > e/backup/single/archive.dat && echo keep > e/backup/keep/note.txt && cp -r e/backup/single previous
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 fail=6 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
answer yes
ok
insert e: label=CF free=64000000 capacity=3000 @WORK@/e
answer yes
ok
insert e: label=CF free=64000000 corrupt=backup\single\db\main.dat @WORK@/e
answer yes
ok
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect-text "title":"Error!"
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect-text "title":"Error!"
#> expect {"event":"log","text":"Kept the previous database in E:\\backup\\single\\"}
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Verification failed: E:\\backup\\single\\db\\main.dat\r\nThe Compact Flash card does not keep what is written to it. Use another card.","answer":"ok"}
#> expect {"event":"log","text":"Kept the previous database in E:\\backup\\single\\"}
#> absent-text Successful database convert
#> same @WORK@/e/backup/single @WORK@/previous
#> missing @WORK@/e/backup/single~velt-previous
#> check test "$(cat e/backup/keep/note.txt)" = keep
