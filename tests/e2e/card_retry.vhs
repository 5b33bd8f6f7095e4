# A copy that failed verification, then a second copy onto a good card in the same drive: it
# succeeds, and nothing set aside is left behind.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=5000@1
#> mkdir @WORK@/c @WORK@/e/backup/single
#> sh echo old > e/backup/single/old.dat
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 corrupt=backup\single\archive.dat @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
answer yes
ok
insert e: label=CF free=64000000 @WORK@/e
answer yes
ok
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Verification failed: E:\\backup\\single\\archive.dat\r\nThe Compact Flash card does not keep what is written to it. Use another card.","answer":"ok"}
#> expect {"event":"log","text":"Kept the previous database in E:\\backup\\single\\"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit"}
#> same @WORK@/e/backup/single @WORK@/one/card
#> missing @WORK@/e/backup/single~velt-previous
