# A one-diskette set from start to Exit: every status in order, the card byte for byte, the
# temporary area gone at the end.
#> set one id=0077 keycode.rec=s:abc@1 db/main.dat=815@1 db/sub/deep/x.dat=9@1 index.dat=100@1
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
state
ok
ok
state
select e:
state
ok
state
exit
#> expect-text "driveSize":{"caption":"Removable Drive A: - ","visible":true}
#> expect {"event":"log","text":"Floppy drive A: was selected"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"\r\nArchive ID = 77\r\nTotal diskettes num = 1"}
#> expect {"event":"status","text":"Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."}
#> expect {"event":"log","text":"Recombining the database at C:\\Temp\\VELT_flat"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\keycode.rec to C:\\Temp\\VELT_flat\\keycode.rec"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\db\\main.dat to C:\\Temp\\VELT_flat\\db\\main.dat"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\db\\sub\\deep\\x.dat to C:\\Temp\\VELT_flat\\db\\sub\\deep\\x.dat"}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\index.dat to C:\\Temp\\VELT_flat\\index.dat"}
#> expect {"event":"log","text":"Create C:\\Temp\\VELT_flat\\archive.dat"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,"currentDisk":1,"floppyDrive":"A:","flashDrive":"","archiveId":77,"totalDisks":1,"fileCount":4,"keycodeRecFound":true,
#> expect-text "label2":"\r\nArchive ID = 77\r\nTotal diskettes num = 1","buttonOK":true,"buttonBack":true,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":100,"visible":false}
#> expect-text "driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes","visible":true}
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"status","text":"Please wait...\r\nWriting on the Compact Flash"}
#> expect {"event":"log","text":"Copy directory C:\\Temp\\VELT_flat to E:\\backup\\single\\"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit"}
#> expect-text "wizardStep":4,"currentDisk":1,"floppyDrive":"A:","flashDrive":"E:",
#> expect-text "driveList":{"index":2,"entry":"e:","visible":false,"enabled":false},"driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes","visible":false}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk1\\"}
#> expect {"event":"end"}
#> absent-text "event":"msgbox"
#> same @WORK@/e/backup/single @WORK@/one/card
#> missing @WORK@/c/Temp/VELT_flat
#> missing @WORK@/c/Temp/VELT_disk1
#> check test -d c/Temp
