# badsector= is for a diskette image: on a folder it is a script error, and so is a sector
# number that is not one.
#> mkdir @WORK@/a
#> exit 2
drive a: removable badsector=3 @WORK@/a
#> expect {"event":"error","line":5,"text":"drive: \"badsector=\" is for a diskette image, not a folder"}
