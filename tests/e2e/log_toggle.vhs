# The Log button: the window grows to 9935 twips and back; new messages are selected while the
# log is shown, the toggle itself selects nothing.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
log
state
select a:
ok
state
log
state
log
state
#> expect {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":9935,"frameBottom":9080,"mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\n","logShown":true,"logVisible":true,"logSelection":[0,0],"driveList":{"index":1,"entry":"c:","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: - ","visible":true},"label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,"buttonLogPicture":"hideLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"DriveList","about":null}
#> expect {"event":"log","text":"Floppy drive A: was selected"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"state","wizardStep":1,"currentDisk":1,"floppyDrive":"A:","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":9935,"frameBottom":9080,"mainText":"Please insert diskette #1 and press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\nFloppy drive A: was selected\r\nPlease insert diskette #1 and press the OK button\r\n","logShown":true,"logVisible":true,"logSelection":[173,49],"driveList":{"index":0,"entry":"a:","visible":false,"enabled":false},"driveSize":{"caption":"Removable Drive A: - ","visible":false},"label2":"","buttonOK":true,"buttonBack":true,"buttonExit":true,"buttonLogPicture":"hideLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"buttonOK","about":null}
#> expect {"event":"state","wizardStep":1,"currentDisk":1,"floppyDrive":"A:","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,"mainText":"Please insert diskette #1 and press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\nFloppy drive A: was selected\r\nPlease insert diskette #1 and press the OK button\r\n","logShown":false,"logVisible":false,"logSelection":[173,49],"driveList":{"index":0,"entry":"a:","visible":false,"enabled":false},"driveSize":{"caption":"Removable Drive A: - ","visible":false},"label2":"","buttonOK":true,"buttonBack":true,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"buttonOK","about":null}
#> expect {"event":"state","wizardStep":1,"currentDisk":1,"floppyDrive":"A:","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":9935,"frameBottom":9080,"mainText":"Please insert diskette #1 and press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\nFloppy drive A: was selected\r\nPlease insert diskette #1 and press the OK button\r\n","logShown":true,"logVisible":true,"logSelection":[173,49],"driveList":{"index":0,"entry":"a:","visible":false,"enabled":false},"driveSize":{"caption":"Removable Drive A: - ","visible":false},"label2":"","buttonOK":true,"buttonBack":true,"buttonExit":true,"buttonLogPicture":"hideLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"buttonOK","about":null}
