# A card too small for both databases whose new write fails (it does not keep what is written):
# the old database was kept on the computer and verified before it was deleted from the card,
# and is written back; the card ends as it was, and the state folder keeps no copy.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1
#> mkdir @WORK@/c @WORK@/e/backup/single/db
#> sh echo old > e/backup/single/db/old.dat && echo olddesc > e/backup/single/archive.dat && cp -r e/backup/single previous
state-folder @WORK@/state
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=4096 corrupt=backup\single\db\main.dat @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
answer yes
ok
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect {"event":"log","text":"Not enough free space on E: to keep the previous database until the new one is verified"}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Verification failed: E:\\backup\\single\\db\\main.dat\r\nThe Compact Flash card does not keep what is written to it. Use another card.","answer":"ok"}
#> expect {"event":"log","text":"Restored the previous database in E:\\backup\\single\\"}
#> absent-text Successful database convert
#> same @WORK@/e/backup/single @WORK@/previous
#> missing @WORK@/e/backup/single~velt-new
#> missing @WORK@/c/Temp/VELT_previous
#> check test "$(find state -mindepth 1 | wc -l)" = 1 && test "$(find state -mindepth 2 | wc -l)" = 0
