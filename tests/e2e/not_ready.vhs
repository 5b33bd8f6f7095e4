# Drives without a medium and a drive of unknown type: in step 0 (no message), while diskettes
# #1 and #2 are asked for, and when the Compact Flash drive is picked or confirmed.
#> set site id=812 a.dat=100@1 b.dat=200@2
#> mkdir @WORK@/c @WORK@/e @WORK@/u
drive a: removable -
drive c: fixed label=SYSTEM free=1024000 @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
drive g: ramdisk -
drive u: unknown label=ODD @WORK@/u
temp C:\Temp
start
select a:
state
ok
ok
insert a: @WORK@/site/disk1
ok
eject a:
ok
insert a: @WORK@/site/disk2
ok
select g:
state
select u:
state
select e:
eject e:
ok
state
insert e: label=CF free=64000000 @WORK@/e
select e:
ok
state
#> expect-text "driveList":{"index":0,"entry":"a:","visible":true,"enabled":true},"driveSize":{"caption":"Drive A:","visible":true}
#> expect-text "focus":"buttonOK"
#> expect {"event":"log","text":"ERROR \r\nDrive A: is not ready."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive A: is not ready.","answer":"ok"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"ERROR \r\nDrive A: is not ready.\r\nPlease insert disk #2 into drive."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive A: is not ready.\r\nPlease insert disk #2 into drive.","answer":"ok"}
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect {"event":"log","text":"ERROR \r\nDrive G: is not ready."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive G: is not ready.","answer":"ok"}
#> expect-text "driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM\r\n Free Space: 1,000 Kbytes","visible":true}
#> expect {"event":"log","text":"ERROR Unknown type Drive U:"}
#> expect {"event":"msgbox","title":"VELT Database Media Converter","icon":"critical","buttons":"ok","text":"Unknown type Drive U:","answer":"ok"}
#> expect-text "driveList":{"index":4,"entry":"u: [ODD]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM\r\n Free Space: 1,000 Kbytes","visible":true}
#> expect {"event":"log","text":"ERROR \r\nDrive E: is not ready."}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"\r\nDrive E: is not ready.","answer":"ok"}
#> expect-text "wizardStep":3,"currentDisk":2,"floppyDrive":"A:","flashDrive":"",
#> expect-text "driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true}
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 2 diskettes\r\nPress OK for another copy or Exit"}
#> expect-text "wizardStep":4,"currentDisk":2,"floppyDrive":"A:","flashDrive":"E:",
#> same @WORK@/e/backup/single @WORK@/site/card
