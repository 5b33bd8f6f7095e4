# A file whose first piece lies on diskette 2 is rebuilt with each piece once. A card whose
# \backup\single is a file gets no question and no database; the other things in \backup\
# stay. The next card gets the image whole.
#> set s id=5 a.dat=s:abc@1 late.dat=s:0123456789@2:4,3:6
#> mkdir @WORK@/c @WORK@/e/backup @WORK@/f
#> sh printf 'x' > e/backup/single && printf 'keep' > e/backup/other.txt
drive a: removable @WORK@/s/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
drive f: removable label=CF2 @WORK@/f
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/s/disk2
ok
insert a: @WORK@/s/disk3
ok
select e:
ok
state
select f:
ok
state
#> expect {"event":"log","text":"Recombining the database at C:\\Temp\\VELT_flat"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk2\\late.dat to C:\\Temp\\VELT_flat\\late.dat"}
#> expect {"event":"log","text":"append C:\\Temp\\VELT_disk3\\late.dat to C:\\Temp\\VELT_flat\\late.dat"}
#> expect {"event":"log","text":"Create C:\\Temp\\VELT_flat\\archive.dat"}
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Failed to create directory: E:\\backup\\single\\\r\nEnsure there is enough free space on Compact Flash drive E:"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed to create directory: E:\\backup\\single\\\r\nEnsure there is enough free space on Compact Flash drive E:","answer":"ok"}
#> expect-text "wizardStep":3,
#> expect {"event":"log","text":"Compact Flash drive F: was selected "}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to F:\\backup\\single\\"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> expect-text "wizardStep":4,
#> absent-text "buttons":"yesno"
#> check test "$(cat e/backup/single)" = x && test "$(cat e/backup/other.txt)" = keep
#> check test "$(cat c/Temp/VELT_flat/late.dat)" = 0123456789
#> same @WORK@/f/backup/single @WORK@/s/card
