# A drive's PATH that is not an existing folder.
#> mkdir @WORK@/a
drive a: removable @WORK@/a
drive c: fixed label=SYSTEM @WORK@/no such folder
#> exit 2
#> expect {"event":"error","line":4,"text":"drive: \"@WORK@/no such folder\" is neither an existing folder nor a diskette image file"}
