# A badsector= value that is not a sector number, or a count that is not a number.
#> exit 2
drive a: removable badsector=3:x @E2E@/../../samples/site42/images/disk1.img
#> expect {"event":"error","line":3,"text":"drive: \"badsector=3:x\" needs a sector number, or a sector number, \":\" and a count"}
