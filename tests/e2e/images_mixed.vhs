# The sample set read from diskette images and a folder mixed: diskettes 1 and 3 as images
# (the label is the volume name), diskette 2 as a folder; the card is byte for byte the one the
# folders give.
#> mkdir @WORK@/c @WORK@/e
drive a: removable @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
state
ok
ok
insert a: @E2E@/../../samples/site42/disk2
ok
insert a: @E2E@/../../samples/site42/images/disk3.img
ok
select e:
ok
state
#> expect-text "driveSize":{"caption":"Removable Drive A: - DISK1","visible":true}
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect {"event":"status","text":"Please insert diskette #3 and press the OK button"}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\"}
#> expect {"event":"log","text":"Verified E:\\backup\\single\\"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> expect-text "wizardStep":4
#> absent-text "event":"msgbox"
#> same @WORK@/e/backup/single @E2E@/../../samples/site42/expected
