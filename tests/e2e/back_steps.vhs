# Back in every step: to the floppy drive choice from steps 0 and 1, to diskette #1 from step 2
# without a question and from steps 3 and 4 after "Restart" (No changes nothing); the card
# written before going back is left alone.
#> set site id=812 a.dat=100@1 b.dat=2000@1-3
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF @WORK@/e
temp C:\Temp
start
back
select a:
ok
back
state
ok
ok
insert a: @WORK@/site/disk2
ok
back
state
insert a: @WORK@/site/disk1
ok
insert a: @WORK@/site/disk2
ok
insert a: @WORK@/site/disk3
ok
answer no
back
state
answer yes
back
state
insert a: @WORK@/site/disk1
ok
insert a: @WORK@/site/disk2
ok
insert a: @WORK@/site/disk3
ok
select e:
ok
answer yes
back
state
answer yes
exit
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"log","text":"Going back to select floppy drive\r\n"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect-text "buttonBack":false,
#> expect {"event":"status","text":"Please wait...\r\nReading diskette #2"}
#> expect {"event":"log","text":"Going back to 1st diskette\r\n"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "label2":"","buttonOK":true,"buttonBack":true,
#> expect-text "progress":{"min":0,"max":300,"value":0,"visible":false}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"no"}
#> expect-text "wizardStep":3,"currentDisk":3,
#> expect-text "driveList":{"index":0,"entry":"a:","visible":true,"enabled":true}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"yes"}
#> expect {"event":"log","text":"Going back to 1st diskette\r\n"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "driveList":{"index":0,"entry":"a:","visible":false,"enabled":true},"driveSize":{"caption":"Removable Drive A: - ","visible":false},"label2":"",
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"yes"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 
#> expect-text ,"visible":false},"label2":"",
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk1\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk2\\"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_disk3\\"}
#> expect {"event":"end"}
#> same @WORK@/e/backup/single @WORK@/site/card
#> check test -z "$(ls -A c/Temp)"
