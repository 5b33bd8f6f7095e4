# Start-up: the banner, the floppy drive prompt and the window's first state.
#> mkdir @WORK@/a @WORK@/c @WORK@/e
drive a: removable @WORK@/a
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
state
#> expect {"event":"log","text":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"log","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,"mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\n","logShown":false,"logVisible":false,"logSelection":[0,0],"driveList":{"index":1,"entry":"c: [SYSTEM]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM","visible":true},"label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"DriveList","about":null}
#> absent {"event":"end"}
#> absent-text "event":"msgbox"
#> check test -d c/Temp
