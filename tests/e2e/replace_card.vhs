# A card that already holds a database: No leaves it untouched and asks for a drive again;
# Yes removes the old single folder completely and writes the new one; the rest of \backup\
# stays.
#> set one id=31 keycode.rec=s:abc@1 db/main.dat=500@1
#> mkdir @WORK@/c @WORK@/e/backup/single/old @WORK@/e/backup/keep
#> sh echo old > e/backup/single/old/gone.dat && echo keep > e/backup/keep/note.txt
drive a: removable @WORK@/one/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=2048 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
select e:
answer no
ok
state
answer yes
ok
exit
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"msgbox","title":"Replace","icon":"question","buttons":"yesno","text":"Directory E:\\backup\\single\\ already exists\r\nReplace old database?","answer":"no"}
#> expect {"event":"status","text":"Please select the Compact Flash\r\ndrive and press the OK button"}
#> expect-text "wizardStep":3,
#> expect-text "driveList":{"index":2,"entry":"e:","visible":true,"enabled":true},"driveSize":{"caption":"Removable Drive E: - CF\r\n Free Space: 2 Kbytes","visible":true}
#> expect-text "progress":{"min":0,"max":100,"value":100,"visible":false}
#> expect {"event":"log","text":"Compact Flash drive E: was selected "}
#> expect {"event":"msgbox","title":"Replace","icon":"question","buttons":"yesno","text":"Directory E:\\backup\\single\\ already exists\r\nReplace old database?","answer":"yes"}
#> expect {"event":"log","text":"Remove E:\\backup\\single\\"}
#> expect {"event":"status","text":"Please wait...\r\nWriting on the Compact Flash"}
#> expect {"event":"status","text":"Successful database convert\r\nTotal 1 diskette\r\nPress OK for another copy or Exit"}
#> expect {"event":"end"}
#> check test "$(grep -c '"event":"log","text":"Remove E:' out.jsonl)" -eq 1
#> same @WORK@/e/backup/single @WORK@/one/card
#> check test "$(cat e/backup/keep/note.txt)" = keep
