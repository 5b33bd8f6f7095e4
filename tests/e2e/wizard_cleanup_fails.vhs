# Quitting while the temporary area cannot be removed (its drive has become write-protected):
# the failure is reported in the "Error!" style and the program ends all the same.
#> set site id=812 keycode.rec=s:abc@1 db/a.dat=500@1-2
#> mkdir @WORK@/c
drive a: removable @WORK@/site/disk1
drive c: fixed label=SYSTEM @WORK@/c
temp C:\Temp
start
select a:
ok
ok
insert c: readonly label=SYSTEM @WORK@/c
answer yes
exit
#> expect {"event":"status","text":"Please insert diskette #2 and press the OK button"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"yes"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"log","text":"ERROR Failed to remove the temporary directory\r\nPermission denied"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Failed to remove the temporary directory\r\nPermission denied","answer":"ok"}
#> expect {"event":"end"}
#> check test -d @WORK@/c/Temp/VELT_disk1
