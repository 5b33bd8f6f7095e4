# Another instance is running: the message, then the end, before the window is set up.
#> mkdir @WORK@/a @WORK@/c
drive a: removable @WORK@/a
drive c: fixed @WORK@/c
temp C:\Temp
instance
start
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Can not run muliply instances of VELT Database\r\nMedia Converter application","answer":"ok"}
#> expect {"event":"end"}
#> absent-text "event":"log"
#> absent-text "event":"state"
