# The About box: loaded once, texts built once, OK closes it; it leaves the wizard alone.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
about-ok
about
about
state
about-ok
state
about
state
#> expect {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,"mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\n","logShown":false,"logVisible":false,"logSelection":[0,0],"driveList":{"index":1,"entry":"c:","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: - ","visible":true},"label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"DriveList","about":{"caption":"About VELT Database Media Converter","title":"VELT Database Media Converter","version":"Version 1.0 ( Mar 24, 2005 )","description":"This tool converts the Valdrome system database from floppy diskettes form into Compact Flash based form.\r\nTo be used when upgrading to a PENTIUM IV based Valdrome system.\r\n\r\nBy Halvex Networks."}}
#> expect {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,"mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\n","logShown":false,"logVisible":false,"logSelection":[0,0],"driveList":{"index":1,"entry":"c:","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: - ","visible":true},"label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"DriveList","about":null}
#> expect {"event":"state","wizardStep":0,"currentDisk":0,"floppyDrive":"","flashDrive":"","archiveId":0,"totalDisks":0,"fileCount":0,"keycodeRecFound":false,"caption":"VELT Database Media Converter","height":6990,"frameBottom":6240,"mainText":"Please select the floppy disk drive \r\nand press the OK button\r\n","logText":"\r\n===============================\r\nVELT Database Media Converter Version 1.0.0\r\nPlease select the floppy disk drive \r\nand press the OK button\r\n","logShown":false,"logVisible":false,"logSelection":[0,0],"driveList":{"index":1,"entry":"c:","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: - ","visible":true},"label2":"","buttonOK":true,"buttonBack":false,"buttonExit":true,"buttonLogPicture":"showLog","progress":{"min":0,"max":100,"value":0,"visible":false},"focus":"DriveList","about":{"caption":"About VELT Database Media Converter","title":"VELT Database Media Converter","version":"Version 1.0 ( Mar 24, 2005 )","description":"This tool converts the Valdrome system database from floppy diskettes form into Compact Flash based form.\r\nTo be used when upgrading to a PENTIUM IV based Valdrome system.\r\n\r\nBy Halvex Networks."}}
#> absent-text "event":"msgbox"
