# Back in every step: to the floppy drive from diskette #1, to diskette #1 from a later one
# without a question, from the Compact Flash step only on Yes, and from the last step with the
# card left as written. The set is then read again and written once more.
#> set site id=812 keycode.rec=s:abc@1 db/a.dat=300@1 db/b.dat=300@2 db/big.dat=900@1-3
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
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
select e:
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
#> expect {"event":"log","text":"Going back to select floppy drive\r\n"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,"currentDisk":1,
#> expect-text "buttonBack":false
#> expect {"event":"log","text":"\r\nArchive ID = 812\r\nTotal diskettes num = 3"}
#> expect {"event":"status","text":"Please insert diskette #3 and press the OK button"}
#> expect {"event":"log","text":"Going back to 1st diskette\r\n"}
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "label2":"",
#> expect-text "progress":{"min":0,"max":300,"value":0,"visible":false}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"no"}
#> expect-text "wizardStep":3,"currentDisk":3,
#> expect-text "driveList":{"index":2,"entry":"e:","visible":true,"enabled":true}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"yes"}
#> expect {"event":"log","text":"Going back to 1st diskette\r\n"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "driveList":{"index":2,"entry":"e:","visible":false,"enabled":true},"driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 62,500 Kbytes","visible":false}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 3 diskettes\r\nPress OK for another copy or Exit"}
#> expect {"event":"msgbox","title":"Restart","icon":"question","buttons":"yesno","text":"Start over reading from the first diskette?","answer":"yes"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect-text "visible":false}
#> absent-text "title":"Error!"
#> same @WORK@/e/backup/single @WORK@/site/card
