# A machine with a single drive: start-up chooses the only entry and goes on; the floppy step
# accepts it.
#> mkdir @WORK@/c
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
state
ok
state
#> expect-text "driveList":{"index":0,"entry":"c: [SYSTEM]","visible":true,"enabled":true},"driveSize":{"caption":"Fixed Drive C: [SYSTEM] - SYSTEM","visible":true}
#> expect-text "focus":"DriveList"
#> expect {"event":"log","text":"Floppy drive C: was selected"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect-text "wizardStep":1,"currentDisk":1,"floppyDrive":"C:"
#> absent-text "event":"msgbox"
