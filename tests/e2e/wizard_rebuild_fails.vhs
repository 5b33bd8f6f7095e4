# The temporary drive has room for the diskette's copy but not for the image built from it:
# after the failure is reported the wizard asks for the floppy drive again and never offers
# the Compact Flash step with a half-built image.
#> set site id=812 keycode.rec=s:abc@1 db/main.dat=100000@1
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM capacity=150000 @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #1"}
#> expect {"event":"log","text":"\r\nArchive ID = 812\r\nTotal diskettes num = 1"}
#> expect {"event":"status","text":"Done reading diskettes.\r\nVerifying validity of data.\r\nPlease wait..."}
#> expect-text "title":"Error!"
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect-text "buttonBack":false
#> expect-text "progress":{"min":0,"max":100,"value":0,"visible":false}
#> absent {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
