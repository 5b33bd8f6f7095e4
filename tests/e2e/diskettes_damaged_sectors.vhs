# Sectors the diskette cannot do without: the boot sector, the same sector of both FATs, the
# root folder, a folder. The first three make the diskette damaged, reported as a damaged image
# is, and the wizard waits for diskette 1 again; a folder that cannot be listed fails the copy,
# and the set is chosen again; a marginal boot sector that reads on a retry is no
# damage at all. Attempts at one diskette add up, so the damaged ones are of three diskettes,
# and the damaged root folder and FAT are met before the diskette's number is looked at.
#> mkdir @WORK@/c
drive a: removable badsector=0 @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert a: badsector=35 @E2E@/../../samples/site42/images/disk1.img
ok
ok
insert a: badsector=20 @E2E@/../../samples/site42/images/disk2.img
ok
insert a: badsector=3 badsector=12 @E2E@/../../samples/site42/images/disk3.img
ok
state
insert a: badsector=0:4 @E2E@/../../samples/site42/images/disk1.img
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the boot sector cannot be read (error 57)","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed to read directory A:\\db\\\r\nEnsure that the floppy disk is readable ","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the root folder cannot be read (error 57)","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the FAT cannot be read in any copy (sector 12) (error 57)","answer":"ok"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect-text "wizardStep":2,"currentDisk":2,
#> absent-text Diskette #1:
