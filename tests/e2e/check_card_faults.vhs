# The check on cards that do not hold a whole database: each missing, unreadable or changed file
# named in one critical box; a card without \backup\single\; an archive.dat that is no
# descriptor; and a drive with no card. Nothing is written on any of them.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1 db/sub/other.dat=300@1 notes.txt=40@1
#> mkdir @WORK@/c @WORK@/empty @WORK@/e2/backup
#> sh mkdir -p e1/backup && cp -r one/card e1/backup/single
#> sh cd e1/backup/single && rm keycode.rec && printf 'X' | dd of=db/main.dat bs=1 seek=100 conv=notrunc 2>/dev/null
#> sh cp -r one/card e2/backup/single && printf 'VELT ARCHIVE ID: 31\nno count here\n' > e2/backup/single/archive.dat
#> sh cp -r e1 e1-before && cp -r e2 e2-before
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF bad=backup\single\db\sub\other.dat @WORK@/e1
drive f: removable -
temp C:\Temp
start
check-card e:
insert e: label=CF @WORK@/empty
check-card e:
insert e: label=CF @WORK@/e2
check-card e:
check-card f:
state
#> expect {"event":"msgbox","title":"Check Compact Flash card","icon":"critical","buttons":"ok","text":"E:\\backup\\single\\ does not hold a whole database:\r\nMissing: E:\\backup\\single\\keycode.rec\r\nUnreadable: E:\\backup\\single\\db\\sub\\other.dat\r\nChanged: E:\\backup\\single\\db\\main.dat\r\n\r\nWrite the database to this card again, or use another card.","answer":"ok"}
#> expect {"event":"log","text":"ERROR No database: E:\\backup\\single\\ does not exist"}
#> expect {"event":"msgbox","title":"Check Compact Flash card","icon":"critical","buttons":"ok","text":"No database: E:\\backup\\single\\ does not exist","answer":"ok"}
#> expect {"event":"msgbox","title":"Check Compact Flash card","icon":"critical","buttons":"ok","text":"E:\\backup\\single\\archive.dat is damaged: the files of the database cannot be checked\r\nWrite the database to this card again, or use another card.","answer":"ok"}
#> expect {"event":"log","text":"Checking the Compact Flash card in F:"}
#> expect {"event":"log","text":"ERROR \r\nDrive F: is not ready."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive F: is not ready.","answer":"ok"}
#> expect-text {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"",
#> same @WORK@/e1 @WORK@/e1-before
#> same @WORK@/e2 @WORK@/e2-before
#> check test -z "$(ls empty)"
