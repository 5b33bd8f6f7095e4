// The numbers of the program's resources, shared by the resource scripts and the code.
#pragma once

#define VELT_ICON 1

// A picture's resource number is its base plus 1 for the 96 DPI drawing, 2 for the 192 DPI one.
#define VELT_PICTURE_TITLE 100
#define VELT_PICTURE_DISKETTES 110
#define VELT_PICTURE_CARD 120
#define VELT_PICTURE_OK 130
#define VELT_PICTURE_BACK 140
#define VELT_PICTURE_EXIT 150
#define VELT_PICTURE_SHOWLOG 160
#define VELT_PICTURE_HIDELOG 170
