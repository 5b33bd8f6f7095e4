# The two-diskette example set (a file spread over both), written to one card, then, through
# OK in the last step, to a second card without reading any diskette again.
#> set site42 id=812 keycode.rec=s:abc@1 db/data.dat=s:abcd@1:3,2:1
#> mkdir @WORK@/c @WORK@/e @WORK@/f
drive a: removable @WORK@/site42/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
drive f: removable label=CF2 free=1536 @WORK@/f
temp C:\Temp
start
select a:
ok
ok
insert a: @WORK@/site42/disk2
ok
select e:
ok
ok
state
select f:
state
ok
exit
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"\r\nArchive ID = 812\r\nTotal diskettes num = 2"}
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."}
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\db\\data.dat to C:\\Temp\\VELT_flat\\db\\data.dat"}
#> expect {"event":"log","text":"append C:\\Temp\\VELT_disk2\\db\\data.dat to C:\\Temp\\VELT_flat\\db\\data.dat"}
#> expect {"event":"log","text":"Create C:\\Temp\\VELT_flat\\archive.dat"}
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"status","text":"Please select the Compact Flash \r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,"currentDisk":2,
#> expect-text "driveList":{"index":2,"entry":"e:","visible":true,"enabled":true},"driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes","visible":true}
#> expect-text "driveSize":{"caption":"Removable Drive F: - CF2\r\n Free Space: 2 Kbytes","visible":true}
#> expect {"event":"log","text":"Compact Flash drive F: was selected "}
#> expect {"event":"status","text":"Please wait...\r\nWriting on the Compact Flash"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk1\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk2\\"}
#> expect {"event":"end"}
#> absent-text Reading diskette #3
#> absent-text "event":"msgbox"
#> same @WORK@/e/backup/single @WORK@/site42/card
#> same @WORK@/f/backup/single @WORK@/site42/card
#> check grep -qx 'FILE: 1 0 1 1633837924 /db/data.dat std' e/backup/single/archive.dat
#> missing @WORK@/c/Temp/VELT_disk2
