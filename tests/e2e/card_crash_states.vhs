# Cards left in each state a crash or a pulled card can leave, made by hand: the card step first
# finishes what the earlier write left (a whole verified or replaced database moved into
# \backup\single\ without asking, each with its own line, unfinished folders removed), and only
# then asks about a whole database. Answered No, Yes, and on a card that fills up.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=300@1
#> mkdir @WORK@/c @WORK@/olddb/db
#> sh echo old > olddb/db/old.dat && echo olddesc > olddb/archive.dat
#> sh for n in 1 2 3 4; do mkdir -p e$n/backup; done && cp -r olddb e1/backup/single~velt-verified
#> sh cp -r olddb e2/backup/single && mkdir -p e2/backup/single~velt-new/db && echo half > e2/backup/single~velt-new/db/main.dat
#> sh cp -r olddb e3/backup/single~velt-replaced && mkdir e3/backup/single~velt-deleting && echo rest > e3/backup/single~velt-deleting/x.dat
#> sh cp -r olddb e4/backup/single~velt-verified && echo keep > e4/backup/note.txt
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e1
temp C:\Temp
start
select a:
ok
ok
select e:
answer no
ok
insert e: label=CF free=64000000 @WORK@/e2
answer no
ok
insert e: label=CF free=64000000 @WORK@/e3
answer yes
ok
ok
insert e: label=CF free=64000000 capacity=100 @WORK@/e4
answer yes
ok
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Put the verified database of an earlier write in E:\\backup\\single\\"}
#> expect-text "title":"Replace"
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Removed the unfinished folder E:\\backup\\single~velt-new\\"}
#> expect-text "title":"Replace"
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Removed the unfinished folder E:\\backup\\single~velt-deleting\\"}
#> expect {"event":"log","text":"Restored the previous database in E:\\backup\\single\\"}
#> expect-text "title":"Replace"
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\"}
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> expect-text Successful database convert
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Put the verified database of an earlier write in E:\\backup\\single\\"}
#> expect-text "title":"Replace"
#> expect-text "title":"Error!"
#> expect {"event":"log","text":"Kept the previous database in E:\\backup\\single\\"}
#> same @WORK@/e1/backup/single @WORK@/olddb
#> missing @WORK@/e1/backup/single~velt-verified
#> same @WORK@/e2/backup/single @WORK@/olddb
#> missing @WORK@/e2/backup/single~velt-new
#> same @WORK@/e3/backup/single @WORK@/one/card
#> missing @WORK@/e3/backup/single~velt-replaced
#> missing @WORK@/e3/backup/single~velt-deleting
#> same @WORK@/e4/backup/single @WORK@/olddb
#> missing @WORK@/e4/backup/single~velt-new
#> missing @WORK@/e4/backup/single~velt-verified
#> check test "$(cat e4/backup/note.txt)" = keep
