# Sets the converter cannot check are refused before anything reaches the card: a descriptor
# with 105 FILE lines (the file table holds 100: the rest would be copied unchecked), and two
# files on two diskettes whose names the card holds as one (they would be joined).
#> set many id=812 f1.dat=s:x1@1 f2.dat=s:x2@1 f3.dat=s:x3@1 f4.dat=s:x4@1 f5.dat=s:x5@1 f6.dat=s:x6@1 f7.dat=s:x7@1 f8.dat=s:x8@1 f9.dat=s:x9@1 f10.dat=s:x10@1 f11.dat=s:x11@1 f12.dat=s:x12@1 f13.dat=s:x13@1 f14.dat=s:x14@1 f15.dat=s:x15@1 f16.dat=s:x16@1 f17.dat=s:x17@1 f18.dat=s:x18@1 f19.dat=s:x19@1 f20.dat=s:x20@1 f21.dat=s:x21@1 f22.dat=s:x22@1 f23.dat=s:x23@1 f24.dat=s:x24@1 f25.dat=s:x25@1 f26.dat=s:x26@1 f27.dat=s:x27@1 f28.dat=s:x28@1 f29.dat=s:x29@1 f30.dat=s:x30@1 f31.dat=s:x31@1 f32.dat=s:x32@1 f33.dat=s:x33@1 f34.dat=s:x34@1 f35.dat=s:x35@1 f36.dat=s:x36@1 f37.dat=s:x37@1 f38.dat=s:x38@1 f39.dat=s:x39@1 f40.dat=s:x40@1 f41.dat=s:x41@1 f42.dat=s:x42@1 f43.dat=s:x43@1 f44.dat=s:x44@1 f45.dat=s:x45@1 f46.dat=s:x46@1 f47.dat=s:x47@1 f48.dat=s:x48@1 f49.dat=s:x49@1 f50.dat=s:x50@1 f51.dat=s:x51@1 f52.dat=s:x52@1 f53.dat=s:x53@1 f54.dat=s:x54@1 f55.dat=s:x55@1 f56.dat=s:x56@1 f57.dat=s:x57@1 f58.dat=s:x58@1 f59.dat=s:x59@1 f60.dat=s:x60@1 f61.dat=s:x61@1 f62.dat=s:x62@1 f63.dat=s:x63@1 f64.dat=s:x64@1 f65.dat=s:x65@1 f66.dat=s:x66@1 f67.dat=s:x67@1 f68.dat=s:x68@1 f69.dat=s:x69@1 f70.dat=s:x70@1 f71.dat=s:x71@1 f72.dat=s:x72@1 f73.dat=s:x73@1 f74.dat=s:x74@1 f75.dat=s:x75@1 f76.dat=s:x76@1 f77.dat=s:x77@1 f78.dat=s:x78@1 f79.dat=s:x79@1 f80.dat=s:x80@1 f81.dat=s:x81@1 f82.dat=s:x82@1 f83.dat=s:x83@1 f84.dat=s:x84@1 f85.dat=s:x85@1 f86.dat=s:x86@1 f87.dat=s:x87@1 f88.dat=s:x88@1 f89.dat=s:x89@1 f90.dat=s:x90@1 f91.dat=s:x91@1 f92.dat=s:x92@1 f93.dat=s:x93@1 f94.dat=s:x94@1 f95.dat=s:x95@1 f96.dat=s:x96@1 f97.dat=s:x97@1 f98.dat=s:x98@1 f99.dat=s:x99@1 f100.dat=s:x100@1 f101.dat=s:x101@1 f102.dat=s:x102@1 f103.dat=s:x103@1 f104.dat=s:x104@1 f105.dat=s:x105@1
#> set twins id=813 db/Main.dat=s:first@1 db/main.dat=s:second@2
#> mkdir @WORK@/c @WORK@/e
drive a: removable @WORK@/many/disk1
drive c: fixed label=SYSTEM @WORK@/c
drive e: removable label=CF free=64000000 @WORK@/e
temp C:\Temp
start
select a:
ok
ok
state
insert a: @WORK@/twins/disk1
ok
state
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"A:\\archive.dat lists 105 files; the converter can check at most 100 files of a set.\r\nThis set cannot be converted: ask support.","answer":"ok"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> expect {"event":"status","text":"Please insert diskette #1 and press the OK button"}
#> expect {"event":"msgbox","title":"Error!","icon":"critical","buttons":"ok","text":"Names differ only in letter case: \\db\\Main.dat on diskette #1 and \\db\\main.dat on diskette #2\r\nThe card would hold them as one file: this set cannot be converted. Ask support.","answer":"ok"}
#> expect-text "wizardStep":1,"currentDisk":1,
#> absent-text Recombining
#> missing @WORK@/e/backup
