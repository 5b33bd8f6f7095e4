# Exit answered No changes nothing; closing the window answered Yes removes the temporary area
# (only the flat area before a descriptor is read) and ends.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
start
answer no
exit
state
answer yes
close
state
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"no"}
#> expect {"event":"log","text":"QUERY Database conversion is not complete! \r\nAre you sure you want to quit?"}
#> expect {"event":"msgbox","title":"warning!","icon":"exclamation","buttons":"yesno","text":"Database conversion is not complete! \r\nAre you sure you want to quit?","answer":"yes"}
#> expect {"event":"log","text":"Remove temporary directory C:\\Temp\\VELT_flat\\"}
#> expect {"event":"end"}
#> absent-text VELT_disk
