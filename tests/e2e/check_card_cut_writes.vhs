# The check finishes a write cut between its renames as the card step does, without asking:
# before the first rename (the verified database beside the old one), between the two (no
# \backup\single\ at all), and after the second (the old one not yet deleted); each card then
# holds the new database, whole. On a write-protected card a cut write cannot be finished: the
# check changes nothing and names the folders it found.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=900@1
#> mkdir @WORK@/c @WORK@/olddb/db
#> sh echo old > olddb/db/old.dat && echo olddesc > olddb/archive.dat
#> sh for n in 1 2 3 4; do mkdir -p e$n/backup; done
#> sh cp -r one/card e1/backup/single~velt-verified && cp -r olddb e1/backup/single
#> sh cp -r one/card e2/backup/single~velt-verified && cp -r olddb e2/backup/single~velt-replaced
#> sh cp -r one/card e3/backup/single && cp -r olddb e3/backup/single~velt-replaced
#> sh cp -r one/card e4/backup/single~velt-verified && cp -r olddb e4/backup/single~velt-replaced && cp -r e4 e4-before
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e1
temp C:\Temp
start
check-card e:
insert e: label=CF @WORK@/e2
check-card e:
insert e: label=CF @WORK@/e3
check-card e:
insert e: label=CF readonly @WORK@/e4
check-card e:
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"log","text":"Put the verified database of an earlier write in E:\\backup\\single\\"}
#> expect {"event":"log","text":"Removed the previous database in E:\\backup\\single~velt-replaced\\"}
#> expect-text "icon":"information","buttons":"ok","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums"
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"log","text":"Put the verified database of an earlier write in E:\\backup\\single\\"}
#> expect {"event":"log","text":"Removed the previous database in E:\\backup\\single~velt-replaced\\"}
#> expect-text "icon":"information","buttons":"ok","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums"
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"log","text":"Removed the previous database in E:\\backup\\single~velt-replaced\\"}
#> expect-text "icon":"information","buttons":"ok","text":"E:\\backup\\single\\ holds a whole database: 2 files match their checksums"
#> expect {"event":"log","text":"Checking the Compact Flash card in E:"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"An earlier write on E: was cut short and cannot be finished on this card:\r\nE:\\backup\\single~velt-verified\\\r\nE:\\backup\\single~velt-replaced\\\r\nEnsure the Compact Flash drive E: is not write protected, then check the card again","answer":"ok"}
#> absent-text Restored the previous database
#> same @WORK@/e1/backup/single @WORK@/one/card
#> same @WORK@/e2/backup/single @WORK@/one/card
#> same @WORK@/e3/backup/single @WORK@/one/card
#> check test "$(ls e1/backup e2/backup e3/backup | grep -c single)" = 3
#> same @WORK@/e4 @WORK@/e4-before
