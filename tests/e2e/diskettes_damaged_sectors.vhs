# Sectors the diskette cannot do without: the boot sector, the same sector of both FATs, the
# root folder, a folder. Each makes the diskette damaged, reported as a damaged image is, and
# the wizard waits for diskette 1 again; a marginal boot sector that reads on a retry is no
# damage at all.
#> mkdir @WORK@/c
drive a: removable badsector=0 @E2E@/../../samples/site42/images/disk1.img
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert a: badsector=3 badsector=12 @E2E@/../../samples/site42/images/disk1.img
ok
insert a: badsector=20 @E2E@/../../samples/site42/images/disk1.img
ok
insert a: badsector=35 @E2E@/../../samples/site42/images/disk1.img
ok
state
insert a: badsector=0:4 @E2E@/../../samples/site42/images/disk1.img
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the boot sector cannot be read (error 57)","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the FAT cannot be read in any copy (sector 12) (error 57)","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the root folder cannot be read (error 57)","answer":"ok"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Diskette image damaged: the folder db cannot be read (error 57)","answer":"ok"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect {"event":"log","text":"\r\nArchive ID = 4207\r\nTotal diskettes num = 3"}
#> expect-text "wizardStep":2,"currentDisk":2,
#> absent-text Diskette #1:
