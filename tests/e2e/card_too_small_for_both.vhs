# A card whose free space cannot hold the new database beside the old one: the old one goes
# first, as before, with a line of its own in the log.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1
#> mkdir @WORK@/c @WORK@/e/backup/single
#> sh echo old > e/backup/single/old.dat
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=4096 @WORK@/e
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
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> same @WORK@/e/backup/single @WORK@/one/card
