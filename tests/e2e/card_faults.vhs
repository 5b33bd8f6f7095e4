# A write-protected card and a card that fills up: each failure is reported once, the wizard
# asks for a Compact Flash drive again. The half-written database does not stay on the full
# card, so the retry on it (now with room) asks no Replace question.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=500@1
#> mkdir @WORK@/c @WORK@/e @WORK@/f
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF readonly @WORK@/e
drive f: removable label=CF2 capacity=600 @WORK@/f
temp C:\Temp
start
select a:
ok
ok
select e:
ok
state
select f:
ok
state
insert f: label=CF2 @WORK@/f
ok
exit
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"log","text":"Failed to create directory: E:\\backup\\\r\nEnsure there is enough free space on Compact Flash drive E:"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed to create directory: E:\\backup\\\r\nEnsure there is enough free space on Compact Flash drive E:","answer":"ok"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,
#> expect-text "driveList":{"index":2,"entry":"e:","visible":true,"enabled":true}
#> expect-text "progress":{"min":0,"max":100,"value":100,"visible":false}
#> expect {"event":"log","text":"Compact Flash drive F: was selected "}
#> expect {"event":"status","text":"Please wait...\r\nWriting on the Compact Flash"}
#> expect-text "text":"Can not copy file C:\\Temp\\VELT_flat\\
#> expect-text \r\nEnsure that the floppy disk is readable and that \r\nthere is enough free space available on drive F:\\","answer":"ok"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,
#> expect-text "progress":{"min":0,"max":100,"value":
#> expect-text ,"visible":false},"focus"
#> expect {"event":"status","text":"Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit"}
#> expect {"event":"end"}
#> absent-text "title":"Replace"
#> missing @WORK@/e/backup
#> same @WORK@/f/backup/single @WORK@/one/card
#> check test "$(grep -c '"event":"msgbox","title":"Error!"' out.jsonl)" -eq 2
