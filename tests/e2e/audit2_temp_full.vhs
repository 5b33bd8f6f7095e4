# The drive of the temporary folder fills up while the one-diskette descriptor is written: one
# report naming the target and its drive, what fitted stays, and the image goes to no card.
#> set s id=6 a.dat=s:abc@1
#> mkdir @WORK@/c
drive a: removable @WORK@/s/disk1
drive c: fixed label=SYSTEM capacity=230 @WORK@/c
temp C:\Temp
start
select a:
ok
ok
state
#> expect {"event":"log","text":"copy C:\\Temp\\VELT_disk1\\a.dat to C:\\Temp\\VELT_flat\\a.dat"}
#> expect {"event":"log","text":"Create C:\\Temp\\VELT_flat\\archive.dat"}
#> expect {"event":"log","text":"Failed writing: C:\\Temp\\VELT_flat\\archive.dat\r\nEnsure there is enough free space available on drive C:\\"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed writing: C:\\Temp\\VELT_flat\\archive.dat\r\nEnsure there is enough free space available on drive C:\\","answer":"ok"}
#> expect {"event":"status","text":"Please select the floppy disk drive \r\nand press the OK button"}
#> expect-text "wizardStep":0,
#> absent-text Please select the Compact Flash
#> check head -c 19 c/Temp/VELT_flat/archive.dat | grep -qx 'VELT ARCHIVE ID: 6'
#> check ! grep -q 'FILE:' c/Temp/VELT_flat/archive.dat
